#pragma once
// The program's one window: port settings, Start/Stop, status fields, and
// the notification icon that stands for the running port.
#include <windows.h>

#include <memory>
#include <string>

#include "app/app_icon.h"
#include "app/device_commands.h"
#include "app/device_dialog.h"
#include "app/key_targets.h"
#include "app/port_seat.h"
#include "app/running_port.h"
#include "app/typing_queue.h"
#include "controls/menus.h"
#include "platform/control.h"
#include "platform/data_window.h"
#include "platform/font.h"

class App;

class WinStart : public DataWindow, private PortSeat, private DeviceLink {
 public:
  explicit WinStart(App* owner);
  ~WinStart() override;

  // Start when stopped, stop when running.
  void ButtonStartStop();
  // One batch of received bytes typed as keys into the focused window.
  void ReadSerial();
  // Running: the port is open, or it was lost and is waited for.
  bool IsRunning() const { return port_ != nullptr; }
  // The port stopped working while running; it is tried again every 2 s.
  bool IsWaitingForPort() const { return port_ && port_->WaitingForPort(); }
  // The running port's Serial, or null while stopped or waiting for it.
  Serial* SerialPort() const { return port_ ? port_->oSerial.get() : nullptr; }

  LRESULT Dispatch(const Event& event) override;

  // "Type as text": saved at once and used from the next batch on.
  bool TypeAsText() const { return lTypeText; }
  void TypeAsText(bool on);
  // "Pause between keys" in ms: saved at once and used from the next key on.
  unsigned KeyPauseMs() const { return keyPauseMs_; }
  void KeyPauseMs(unsigned ms);
  // What decides whether keys may go out now: the window in front is asked
  // unless this replaces it (before the first key).
  void TypingCheck(TypingQueue::Check check);
  // "Data rules...": the dialog; on OK its rules are used from the next byte on.
  void ShowDataRules();
  // "Device...": what is sent to the device, used from the next start on.
  void ShowDevice();
  // "Pause typing": while on, what the device sends is read and dropped.
  bool TypingPaused() const { return typingPaused_; }
  void TypingPaused(bool on);
  // "Start with Windows": the user's Run value for this executable.
  bool StartWithWindows() const;
  void StartWithWindows(bool on);

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
  // The notification icon's context menu, at the cursor.
  void ShowTrayMenu();
  // Both menus: built once with the window; check marks follow the options.
  void BuildMenus();
  void UpdateMenus();
  // "Ports on this computer" in `menu`, filled each time it opens.
  void AppendPortsMenu(Menu& menu);
  // The "Pause between keys" items, into one menu's submenu.
  void AppendKeyPauses(Menu* popup);

 private:
  static constexpr UINT kTrayIconId = 1;

  // What the running port asks of its window (PortSeat).
  void TypeKeys(std::vector<TextKey> keys) override;
  void BatchRead(const std::string& bytes) override;
  void KeysQueued() override;
  void PortLost(const std::string& name) override;
  void PortBack(const std::string& name) override;

  // What is said to the device (win_start_device.cpp): prepared with the
  // port, started once it is open; the Device dialog's way to the port.
  void PrepareDeviceCommands();
  void StartDeviceCommands();
  bool DeviceDispatch(const Event& event);
  std::string DeviceStatus() const;
  bool Send(const std::string& bytes, std::string& error) override;
  void Listen(std::function<void(const std::string&)> listener) override;

  // The stored rules and gap, used by the port from this start on; a
  // warning balloon names the rules that were skipped.
  void LoadDataRules();
  // The menu item is greyed in key mode, saying why.
  void UpdateDataRulesItem(Menu& menu);

  void FillLists();
  void LoadSettings();
  void SaveSettings();
  void Start();
  void Stop();
  void EndPort();
  // A start whose port refused: the error box, then the stopped state.
  void FailedStart();
  void EnableLists(bool enable);
  // The line settings of the lists, where they have a selection.
  LineSettings ListedLineSettings();
  // The notification icon: there while running, and while the window is
  // hidden and stopped, so that the program can always be reached.
  void ShowTrayIcon();
  void RemoveTrayIcon();
  void WindowShownOrHidden(bool shown);
  // The keys still to type (win_start_typing.cpp).
  static constexpr UINT_PTR kBacklogTimer = 0x7C31;
  static constexpr UINT_PTR kCloseTimer = 0x7C32;
  bool TypingDispatch(const Event& event);
  void ShowReadStatus();
  std::size_t DropBacklog();
  void ReportDropped(std::size_t dropped);
  bool CloseAfterDropReport();

  // The ports on this computer, the system's notices and the icon's retry
  // (win_start_ports.cpp, win_start_shell.cpp).
  void FillPortsMenu(Menu& popup);
  void ChoosePort(const std::string& name);
  void ShowPortNote();
  void DeviceChanged(WPARAM wParam, LPARAM lParam);
  // True when the message is done with; false passes it on.
  bool SystemNotice(const Event& event);
  void StatusFieldsFont(UINT dpi);
  void AddTrayIconNow();

  // The running port (its Serial is the one `oSerial` names); null while stopped.
  std::unique_ptr<RunningPort> port_;
  // What is said to the device while the port runs; null while stopped.
  std::unique_ptr<DeviceCommands> commands_;
  std::function<void(const std::string&)> deviceListener_;
  bool typingPaused_ = false;
  std::size_t droppedWhilePaused_ = 0;
  bool lTypeText = false;
  // Wanted: the state calls for the icon; shown: the notification area has it.
  bool trayIconWanted_ = false;
  // The typing thread asks keyTargets_, so it goes first.
  KeyTargets keyTargets_{nullptr};
  TypingQueue typing_;
  unsigned keyPauseMs_ = 0;
  bool backlogShown_ = false;
  std::string lastBatch_;
  bool trayIconShown_ = false;  // asked for; the platform keeps trying
  bool closing_ = false;
  _ContextMenu trayMenu_;
  __Menu systemMenu_;
  App_Icon icon_;
  Font statusFont_{"Microsoft Sans Serif", 8, true};  // remade at the window's DPI
  GdiObject statusBrush_{CreateSolidBrush(RGB(0, 0, 0))};
};
