#include "errors/screen_capture.h"

#include <cctype>
#include <cstdio>

#include "app/globals.h"
#include "errors/callstack.h"
#include "errors/report_folder.h"
#include "platform/handles.h"
#include "platform/jpeg_image.h"
#include "platform/save_as_dialog.h"
#include "util/files.h"

namespace {
constexpr const char* kModule = "Func  System";

// A DC of our own making, deleted (not released) at the end of its scope.
class CreatedDC {
 public:
  explicit CreatedDC(HDC dc) : dc_(dc) {}
  ~CreatedDC() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  CreatedDC(const CreatedDC&) = delete;
  CreatedDC& operator=(const CreatedDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

std::string TodayJpgName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[32];
  std::snprintf(name, sizeof name, "%04u%02u%02u.JPG", static_cast<unsigned>(now.wYear),
                static_cast<unsigned>(now.wMonth), static_cast<unsigned>(now.wDay));
  return name;
}

bool EndsInJpg(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == ".JPG";
}
}  // namespace

RECT ScreenCaptureRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                       std::int32_t screenWidth, std::int32_t screenHeight) {
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (right == 0 || right > screenWidth) right = screenWidth;
  if (bottom == 0 || bottom > screenHeight) bottom = screenHeight;
  return RECT{left, top, right, bottom};
}

HBITMAP CopyScreenToBitmap(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  CALLSTACK_ENTER("CopyScreenToBitmap", kModule);
  CreatedDC screen(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (screen.Get() == nullptr) return nullptr;
  CreatedDC memory(CreateCompatibleDC(screen.Get()));
  if (memory.Get() == nullptr) return nullptr;
  const RECT r = ScreenCaptureRect(left, top, right, bottom, GetDeviceCaps(screen.Get(), HORZRES),
                                   GetDeviceCaps(screen.Get(), VERTRES));
  // A rectangle turned inside out by the clamping gives no picture.
  if (r.right <= r.left || r.bottom <= r.top) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), r.right - r.left, r.bottom - r.top);
  if (bitmap == nullptr) return nullptr;
  {
    SelectedObject selected(memory.Get(), bitmap);
    BitBlt(memory.Get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.Get(), r.left, r.top, SRCCOPY);
  }
  return bitmap;
}

std::string JpgFileName(const std::string& chosen) {
  if (EndsInJpg(chosen)) return chosen;
  // Only the file-name part decides: a dot in a folder's name is no extension.
  const size_t nameStart = chosen.find_last_of("\\/:") == std::string::npos ? 0 : chosen.find_last_of("\\/:") + 1;
  const size_t dot = chosen.find('.', nameStart);
  if (dot == std::string::npos) return chosen + ".JPG";
  return chosen.substr(0, dot + 1) + "JPG";
}

bool SaveScreenToJpg(BoxOwner owner, HBITMAP bitmap) {
  CALLSTACK_ENTER("SaveScreenToJpg", kModule);
  const bool english = LanguageGet() == 2;
  // Away from an unwritable program folder the picture is offered beside the
  // report; otherwise the dialog's own choice of folder stands.
  const std::string folder = ReportFolder();
  SaveAsDialog dialog(owner.Handle(), (folder != ReportProgramFolder() ? folder : std::string()) + TodayJpgName());
  dialog.SetStyle(OFN_NONETWORKBUTTON | OFN_ENABLESIZING);
  dialog.Caption(english ? "Fillup file name" : "Isikan nama file");
  dialog.Show();
  if (dialog.FileName().empty()) return true;
  CALLSTACK_LINE();
  const std::string name = JpgFileName(dialog.FileName());
  VOFErase(owner, name);  // a failure shows its own box; the save goes on
  CALLSTACK_LINE();
  GdiObject taken;
  if (bitmap == nullptr) {
    taken.Reset(CopyScreenToBitmap(0, 0, 0, 0));
    bitmap = static_cast<HBITMAP>(taken.Get());
  }
  bool saved = false;
  {
    GdiplusSession gdiplus;
    FabDIBOwner dib(FabDIBCreateFromHBitmap(bitmap));
    saved = gdiplus.Started() && FabDIBSaveAsJPEG(dib.Get(), name);
  }
  CALLSTACK_LINE();
  // A picture that could not be written is never announced as created.
  if (!saved) {
    BoxError(owner, english ? "File: " + name + " cannot be created !" : "File: " + name + " gagal dibuat !");
  } else if (english) {
    BoxInfo(owner, "Successfully", "File: " + name + " created !");
  } else {
    BoxInfo(owner, "Berhasil", "File: " + name + " berhasil dibuat !");
  }
  return true;
}
