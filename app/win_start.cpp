#include "app/win_start.h"

#include <string>

#include "app/globals.h"
#include "app/options.h"
#include "app/port_settings.h"
#include "errors/callstack.h"
#include "platform/device_change.h"
#include "platform/dpi.h"
#include "platform/tray_icon.h"
#include "registry/tv_registry.h"
#include "resources/resource_ids.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr COLORREF kStatusGreen = RGB(0, 255, 0);
constexpr COLORREF kStatusBlack = RGB(0, 0, 0);
}  // namespace

WinStart::WinStart(App*) {
  CALLSTACK_ENTER("WinStart:Init", kModule);
  if (!Create("WinStart")) return;
  HWND form = Form();
  oDCGroupBox1.Attach(form, IDC_GROUPBOX1);
  oDCPortText.Attach(form, IDC_PORT_TEXT);
  oDCBaudRateText.Attach(form, IDC_BAUDRATE_TEXT);
  oDCDataBitsText.Attach(form, IDC_DATABITS_TEXT);
  oDCParityText.Attach(form, IDC_PARITY_TEXT);
  oDCStopBitsText.Attach(form, IDC_STOPBITS_TEXT);
  oDCStatusByte.Attach(form, IDC_STATUS_BYTE);
  oDCStatusText.Attach(form, IDC_STATUS_TEXT);
  oDCPort.Attach(form, IDC_PORT);
  oDCBaudRate.Attach(form, IDC_BAUDRATE);
  oDCDataBits.Attach(form, IDC_DATABITS);
  oDCParity.Attach(form, IDC_PARITY);
  oDCStopBits.Attach(form, IDC_STOPBITS);
  oCCButtonStartStop.Attach(form, IDC_BUTTON_STARTSTOP);
  StatusFieldsFont(WindowDpi(Handle()));
  SetIcons(icon_.Handle(), icon_.Small());
  lTypeText = TypeTextOptionGet();
  keyPauseMs_ = KeyPauseOptionGet();
  typing_.PauseMs(keyPauseMs_);
  keyTargets_ = KeyTargets(Handle());
  TypingCheck([this] { return keyTargets_.Check(); });
  BuildMenus();
  AcceptTaskbarCreated(Handle());
  QuitOnClose(true);
  PostInit();
}

// The owner closes the port before the window goes (Close); this only covers
// a window destroyed some other way, so no port handle outlives it.
WinStart::~WinStart() {
  closing_ = true;
  port_.reset();
  RemoveTrayIcon();
}

void WinStart::PostInit() {
  CALLSTACK_ENTER("WinStart:PostInit", kModule);
  Caption(Ret_Build());
  CALLSTACK_LINE();
  TVRegCreateKey(kSettingsKey);
  EnableStatusBarClock();
  FillLists();
  LoadSettings();
  // Listing the ports loads the device libraries (about 25 ms): after the
  // window is up, as if the devices had just changed.
  PostDevicesChanged(Handle());
  oDCStatusByte.Caption("");
  oDCStatusText.Caption("");
}

void WinStart::FillLists() {
  CALLSTACK_ENTER("WinStart:FillLists", kModule);
  for (int number = 1; number <= 20; ++number) {
    const std::string name = "COM" + std::to_string(number);
    oDCPort.AddItem(name, name);
  }
  for (const ListItem& item : kBaudRateItems) oDCBaudRate.AddItem(item.text, item.value);
  for (const ListItem& item : kDataBitsItems) oDCDataBits.AddItem(item.text, item.value);
  for (const ListItem& item : kParityItems) oDCParity.AddItem(item.text, item.value);
  for (const ListItem& item : kStopBitsItems) oDCStopBits.AddItem(item.text, item.value);
}

void WinStart::LoadSettings() {
  CALLSTACK_ENTER("WinStart:LoadSettings", kModule);
  oDCPort.SelectValue(TVRegGetStringEx(kSettingsKey, "Port", ""));
  oDCBaudRate.SelectValue(static_cast<long>(TVRegGetDWordEx(kSettingsKey, "BaudRate", kDefaultBaud)));
  oDCDataBits.SelectValue(static_cast<long>(TVRegGetDWordEx(kSettingsKey, "DataBits", kDefaultDataBits)));
  oDCParity.SelectValue(static_cast<long>(TVRegGetDWordEx(kSettingsKey, "Parity", kDefaultParity)));
  oDCStopBits.SelectValue(static_cast<long>(TVRegGetDWordEx(kSettingsKey, "StopBits", kDefaultStopBits)));
  // Only the port falls back (to COM1); a number that matches no item shows no selection.
  if (oDCPort.SelectedIndex() < 0) oDCPort.SelectIndex(0);
}

void WinStart::OnCommand(int id, int notifyCode) {
  if (id == IDC_BUTTON_STARTSTOP && notifyCode == BN_CLICKED) ButtonStartStop();
  if (id == IDC_PORT && notifyCode == CBN_SELCHANGE) ShowPortNote();
}

HBRUSH WinStart::OnControlColor(HDC dc, HWND control) {
  if (control == oDCStatusByte.Handle() || control == oDCStatusText.Handle()) {
    SetTextColor(dc, kStatusGreen);
    SetBkColor(dc, kStatusBlack);
    return static_cast<HBRUSH>(statusBrush_.Get());
  }
  return nullptr;
}
