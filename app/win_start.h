#pragma once
// The program's one window: port settings, Start/Stop, status fields, and
// the notification icon that stands for the running port.
#include <windows.h>

#include <memory>

#include "app/app_icon.h"
#include "platform/control.h"
#include "platform/data_window.h"
#include "platform/font.h"
#include "serial/serial.h"

class App;

class WinStart : public DataWindow {
 public:
  explicit WinStart(App* owner);
  ~WinStart() override;

  // Start when stopped, stop when running.
  void ButtonStartStop();
  // One batch of received bytes typed as keys into the focused window.
  void ReadSerial();
  bool IsRunning() const { return oSerial != nullptr; }
  // The running port, or null while stopped.
  Serial* SerialPort() const { return oSerial.get(); }

  LRESULT Dispatch(const Event& event) override;

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
  LRESULT Close(const Event& event) override;
  void OnCommand(int id, int notifyCode) override;
  HBRUSH OnControlColor(HDC dc, HWND control) override;
  void TrayIconClicked();

 private:
  void FillLists();
  void LoadSettings();
  void SaveSettings();
  void Start();
  void Stop();
  // A start whose port refused: the error box, then the stopped state.
  void FailedStart();
  void EnableLists(bool enable);

  std::unique_ptr<Serial> oSerial;
  bool lReading = false;
  App_Icon icon_;
  Font statusFont_{"Microsoft Sans Serif", 8, true};
  GdiObject statusBrush_{CreateSolidBrush(RGB(0, 0, 0))};
};
