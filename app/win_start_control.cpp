// Start/Stop, closing, the message filter and the notification icon of the main window.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/boxes.h"
#include "app/globals.h"
#include "app/port_settings.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/tray_icon.h"
#include "registry/tv_registry.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr WPARAM kToggleTimerId = 9999;
constexpr WPARAM kCommNotifyReceived = 1;
constexpr const char* kBalloonSecondLine = "Port running. Click the icon to show it.";

// The low four bits carry how the command was given (a caption double-click
// sends SC_MAXIMIZE | HTCAPTION), so only the rest names the command.
bool IsMinimiseOrMaximise(WPARAM command) {
  const WPARAM kind = command & 0xFFF0;
  return kind == SC_MAXIMIZE || kind == SC_MINIMIZE;
}
}  // namespace

void WinStart::ButtonStartStop() {
  CALLSTACK_ENTER("WinStart:ButtonStartStop", kModule);
  if (IsRunning()) {
    Stop();
  } else {
    Start();
  }
}

// The port and its watching end together: no check or retry may outlive it.
void WinStart::EndPort() {
  commands_.reset();
  port_.reset();
  typingPaused_ = false;
}

void WinStart::Stop() {
  CALLSTACK_ENTER("WinStart:Stop", kModule);
  const std::size_t dropped = DropBacklog();
  oCCButtonStartStop.Caption("Start");
  oDCStatusByte.Caption("");
  oDCStatusText.Caption("");
  EnableLists(true);
  EndPort();
  // A window that is hidden keeps the icon: it is the only way back to it.
  if (IsVisible()) RemoveTrayIcon();
  ReportDropped(dropped);
}

void WinStart::Start() {
  CALLSTACK_ENTER("WinStart:Start", kModule);
  if (oDCPort.TextValue().empty()) {
    BoxError(this, "No Port set yet !");
    oDCPort.SetFocus();
    return;
  }
  CALLSTACK_LINE();
  ShowTrayIcon();
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(),
                     Ret_Build() + "\r\n" + kBalloonSecondLine, 0, NIIF_INFO);
  // Saved before the port is touched, so a failed start still keeps the choice.
  SaveSettings();
  oCCButtonStartStop.Caption("Stop");
  oDCStatusByte.Caption("");
  oDCStatusText.Caption("Running...");
  EnableLists(false);
  port_ = std::make_unique<RunningPort>(Handle(), static_cast<PortSeat&>(*this), oDCPort.TextValue(), ListedLineSettings());
  port_->Keys().TypeAsText(lTypeText);
  LoadDataRules();
  PrepareDeviceCommands();
  CALLSTACK_LINE();
  if (!port_->Open()) {
    FailedStart();
    return;
  }
  StartDeviceCommands();
  Hide();
}

// A list without a selection leaves the port at what opening gave it.
LineSettings WinStart::ListedLineSettings() {
  LineSettings line;
  if (auto baud = oDCBaudRate.NumberValue()) line.baud = static_cast<DWORD>(*baud);
  if (auto bits = oDCDataBits.NumberValue()) line.byteSize = static_cast<BYTE>(*bits);
  if (auto parity = oDCParity.NumberValue()) line.parity = static_cast<BYTE>(*parity);
  if (auto stop = oDCStopBits.NumberValue()) line.stopBits = static_cast<BYTE>(*stop);
  return line;
}

// The box runs its own message loop, and a timer 9999 there may already have
// stopped this attempt (or toggled another one in): whatever happened, the
// attempt ends stopped, and never by starting again.
void WinStart::FailedStart() {
  CALLSTACK_ENTER("WinStart:FailedStart", kModule);
  BoxError(this, port_->ErrorDesc());
  if (IsRunning()) Stop();
}

void WinStart::SaveSettings() {
  CALLSTACK_ENTER("WinStart:SaveSettings", kModule);
  TVRegWriteString(kSettingsKey, "Port", oDCPort.TextValue());
  TVRegWriteDWord(kSettingsKey, "BaudRate", SettingInUse(oDCBaudRate.NumberValue(), kDefaultBaud));
  TVRegWriteDWord(kSettingsKey, "DataBits", SettingInUse(oDCDataBits.NumberValue(), kDefaultDataBits));
  TVRegWriteDWord(kSettingsKey, "Parity", SettingInUse(oDCParity.NumberValue(), kDefaultParity));
  TVRegWriteDWord(kSettingsKey, "StopBits", SettingInUse(oDCStopBits.NumberValue(), kDefaultStopBits));
}

void WinStart::EnableLists(bool enable) {
  for (ComboBox* list : {&oDCPort, &oDCBaudRate, &oDCDataBits, &oDCParity, &oDCStopBits}) {
    if (enable) {
      list->Enable();
    } else {
      list->Disable();
    }
  }
}

LRESULT WinStart::Close(const Event& event) {
  CALLSTACK_ENTER("WinStart:Close", kModule);
  if (CloseAfterDropReport()) return 0;
  // From here on hiding the window must not bring an icon back.
  closing_ = true;
  EndPort();
  RemoveTrayIcon();
  return DataWindow::Close(event);
}

LRESULT WinStart::Dispatch(const Event& event) {
  CALLSTACK_ENTER("WinStart:Dispatch", kModule);
  if (SystemNotice(event)) return 0;
  if (TypingDispatch(event)) return 0;
  if (port_ && port_->Dispatch(event.message, event.wParam)) return 0;
  if (DeviceDispatch(event)) return 0;
  if (event.message == WM_TIMER && event.wParam == kToggleTimerId) {
    ButtonStartStop();
  } else if (event.message == WM_COMMNOTIFY && event.wParam == kCommNotifyReceived) {
    ReadSerial();
  } else if (event.message == WM_SYSCOMMAND && IsMinimiseOrMaximise(event.wParam)) {
    Hide();
    return 0;
  } else if (event.message == WM_WINDOWPOSCHANGED) {
    const auto* position = reinterpret_cast<const WINDOWPOS*>(event.lParam);
    if (position->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) WindowShownOrHidden(position->flags & SWP_SHOWWINDOW);
  } else if (event.message == kTrayCallbackMessage && event.wParam == kTrayIconId) {
    if (IsTrayClick(event.lParam)) {
      TrayIconClicked();
    } else if (IsTrayMenuRequest(event.lParam)) {
      ShowTrayMenu();
    }
  }
  return DataWindow::Dispatch(event);
}

void WinStart::ShowTrayIcon() {
  trayIconWanted_ = true;
  AddTrayIconNow();
}

void WinStart::RemoveTrayIcon() {
  trayIconWanted_ = false;
  if (!trayIconShown_) return;
  DeleteTrayIcon(Handle(), kTrayIconId);
  trayIconShown_ = false;
}

// Hidden and stopped, the window could otherwise never be brought back.
void WinStart::WindowShownOrHidden(bool shown) {
  if (closing_ || IsRunning()) return;
  if (shown) {
    RemoveTrayIcon();
  } else {
    ShowTrayIcon();
  }
}

void WinStart::TrayIconClicked() {
  CALLSTACK_ENTER("WinStart:TrayIconClicked", kModule);
  ShowCentered();
  SetForegroundWindow(Handle());
}
