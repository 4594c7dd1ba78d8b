// What the system tells the main window: devices that change, a new
// notification area, another resolution.
#include "app/globals.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/dpi.h"
#include "platform/tray_icon.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr const char* kStatusFace = "Microsoft Sans Serif";
constexpr int kStatusPoints = 8;
}  // namespace

bool WinStart::SystemNotice(const Event& event) {
  if (event.message == WM_DEVICECHANGE) {
    DeviceChanged(event.wParam, event.lParam);
  } else if (event.message == WM_DPICHANGED) {
    // The form itself is laid out again by the base window.
    const UINT dpi = HIWORD(event.wParam);
    StatusFieldsFont(dpi);
    icon_.LoadForWindow(dpi);
    SetIcons(icon_.Large(), icon_.Small());
  } else if (event.message == TaskbarCreatedMessage() && event.message != 0) {
    // The shell started again (or late), perhaps at another resolution:
    // its notification area has no icon of ours.
    icon_.LoadNotification();
    trayIconShown_ = false;
    if (trayIconWanted_) AddTrayIconNow();
  }
  return false;
}

// The new font is in place before the old one goes.
void WinStart::StatusFieldsFont(UINT dpi) {
  Font font(kStatusFace, kStatusPoints, true, dpi);
  oDCStatusByte.Font(font.Get());
  oDCStatusText.Font(font.Get());
  statusFont_ = std::move(font);
}

// Started with Windows before the notification area is there, the add
// fails: the platform tries it again until it is through, away from this
// thread, which reads the port.
void WinStart::AddTrayIconNow() {
  if (trayIconShown_) return;
  trayIconShown_ = AddTrayIcon(Handle(), icon_.Handle(), kTrayIconId, Ret_Build());
}
