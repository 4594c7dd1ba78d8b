#pragma once
// The program's one window: port settings, Start/Stop, status fields.
#include <windows.h>

#include <memory>

#include "app/app_icon.h"
#include "platform/control.h"
#include "platform/data_window.h"
#include "platform/font.h"

class App;

class WinStart : public DataWindow {
 public:
  explicit WinStart(App* owner);
  ~WinStart() override;

  // Start when stopped, stop when running.
  void ButtonStartStop();

  GroupBox oDCGroupBox1;
  FixedText oDCPortText;
  FixedText oDCBaudRateText;
  FixedText oDCDataBitsText;
  FixedText oDCParityText;
  FixedText oDCStopBitsText;
  FixedText oDCStatusByte;
  FixedText oDCStatusText;
  ComboBox oDCPort;
  ComboBox oDCBaudRate;
  ComboBox oDCDataBits;
  ComboBox oDCParity;
  ComboBox oDCStopBits;
  PushButton oCCButtonStartStop;

 protected:
  void PostInit();
  void OnCommand(int id, int notifyCode) override;
  HBRUSH OnControlColor(HDC dc, HWND control) override;

 private:
  App_Icon icon_;
  Font statusFont_{"Microsoft Sans Serif", 8, true};
  GdiObject statusBrush_{CreateSolidBrush(RGB(0, 0, 0))};
};
