#include "app/win_start.h"

#include "app/globals.h"
#include "errors/callstack.h"
#include "resources/resource_ids.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr COLORREF kStatusGreen = RGB(0, 255, 0);
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
  oDCStatusByte.Font(statusFont_.Get());
  oDCStatusText.Font(statusFont_.Get());
  SetIcons(icon_.Handle(), icon_.Small());
  QuitOnClose(true);
  PostInit();
}

WinStart::~WinStart() = default;

void WinStart::PostInit() {
  CALLSTACK_ENTER("WinStart:PostInit", kModule);
  Caption(Ret_Build());
  EnableStatusBarClock();
  oDCStatusByte.Caption("");
  oDCStatusText.Caption("");
}

void WinStart::ButtonStartStop() { CALLSTACK_ENTER("WinStart:ButtonStartStop", kModule); }

void WinStart::OnCommand(int id, int notifyCode) {
  if (id == IDC_BUTTON_STARTSTOP && notifyCode == BN_CLICKED) ButtonStartStop();
}

HBRUSH WinStart::OnControlColor(HDC dc, HWND control) {
  if (control == oDCStatusByte.Handle() || control == oDCStatusText.Handle()) {
    SetTextColor(dc, kStatusGreen);
    SetBkColor(dc, RGB(0, 0, 0));
    return static_cast<HBRUSH>(statusBrush_.Get());
  }
  return nullptr;
}
