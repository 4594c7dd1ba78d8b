#include "platform/folder_dialog.h"

#include <objbase.h>
#include <shlobj.h>

namespace {
// The new dialog style hosts shell views, which need COM on this thread.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool ok_;
};
}  // namespace

StandardFolderDialog::StandardFolderDialog(HWND owner, const std::string& caption, const std::string& startFolder,
                                           UINT flags)
    : owner_(owner), caption_(caption), start_(startFolder), flags_(flags) {}

int CALLBACK StandardFolderDialog::Callback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  const auto* self = reinterpret_cast<const StandardFolderDialog*>(data);
  if (message == BFFM_INITIALIZED && !self->start_.empty()) {
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->start_.c_str()));
  }
  return 0;
}

bool StandardFolderDialog::Show() {
  ComScope com;
  folder_.clear();
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = owner_;
  info.pszDisplayName = display;
  info.lpszTitle = caption_.c_str();
  info.ulFlags = flags_;
  info.lpfn = &StandardFolderDialog::Callback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) return false;
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  if (ok) folder_ = path;
  return ok;
}
