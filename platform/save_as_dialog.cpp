#include "platform/save_as_dialog.h"

#include <vector>

DWORD SaveAsDialog::Flags() const {
  return OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | extraFlags_;
}

bool SaveAsDialog::Show() {
  // Room for a long path; the default name is the buffer's first content.
  std::vector<char> buffer(32768, '\0');
  fileName_.copy(buffer.data(), buffer.size() - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
  ofn.lpstrFilter = "JPEG (*.JPG)\0*.JPG;*.JPEG\0All files (*.*)\0*.*\0";
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = caption_.empty() ? nullptr : caption_.c_str();
  ofn.Flags = Flags();
  const bool chosen = GetSaveFileNameA(&ofn) != FALSE;
  fileName_ = chosen ? std::string(buffer.data()) : std::string();
  return chosen;
}
