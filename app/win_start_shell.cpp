// What the system tells the main window: devices that change, a new
// notification area, another resolution; and the icon's way back when the
// notification area refused it.
#include "app/globals.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/dpi.h"
#include "platform/tray_icon.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr UINT_PTR kTrayRetryTimer = 0x7C20;
constexpr UINT kTrayRetryMs = 1000;
constexpr const char* kStatusFace = "Microsoft Sans Serif";
constexpr int kStatusPoints = 8;
}  // namespace

bool WinStart::SystemNotice(const Event& event) {
  if (event.message == WM_TIMER && event.wParam == kTrayRetryTimer) {
    RetryTrayIcon();
    return true;
  }
  if (event.message == WM_DEVICECHANGE) {
    DeviceChanged(event.wParam, event.lParam);
  } else if (event.message == WM_DPICHANGED) {
    StatusFieldsFont(HIWORD(event.wParam));
  } else if (event.message == TaskbarCreatedMessage() && event.message != 0 && trayIconWanted_) {
    // The shell started again (or late): its notification area has no icon of ours.
    trayIconShown_ = false;
    AddTrayIconNow();
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
// fails: without a retry a hidden, running program could not be reached.
void WinStart::AddTrayIconNow() {
  if (trayIconShown_) return;
  trayIconShown_ = AddTrayIcon(Handle(), icon_.Handle(), kTrayIconId, Ret_Build());
  if (!trayIconShown_) SetTimer(Handle(), kTrayRetryTimer, kTrayRetryMs, nullptr);
}

void WinStart::RetryTrayIcon() {
  CALLSTACK_ENTER("WinStart:RetryTrayIcon", kModule);
  if (trayIconWanted_) AddTrayIconNow();
  if (!trayIconWanted_ || trayIconShown_) KillTimer(Handle(), kTrayRetryTimer);
}

void WinStart::StopTrayIconRetry() { KillTimer(Handle(), kTrayRetryTimer); }
