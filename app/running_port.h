#pragma once
// One running port: the open Serial, the batches read from its
// notifications, the way from their bytes to keys (text mode, records and
// data rules), the health check, and the wait for a lost port with its
// retries. The window that owns it keeps the lists, the status fields, the
// menus and the icon, and hears from it through a PortSeat.
//
// Its notifications and timers arrive at the window it was given (the
// window hands them over: ReadBatch, Dispatch); a second port beside it
// would be given a window of its own.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/port_seat.h"
#include "app/received_keys.h"
#include "platform/device_change.h"
#include "serial/serial.h"

// The line settings a start asks for; an empty one leaves the port at what
// opening gave it.
struct LineSettings {
  std::optional<DWORD> baud;
  std::optional<BYTE> byteSize;
  std::optional<BYTE> parity;
  std::optional<BYTE> stopBits;
};

class RunningPort {
 public:
  RunningPort(HWND window, PortSeat& seat, std::string name, LineSettings line);
  ~RunningPort();
  RunningPort(const RunningPort&) = delete;
  RunningPort& operator=(const RunningPort&) = delete;

  // Opens the port with its line settings and starts watching it; false
  // with the port's ErrorDesc when it refused.
  bool Open();
  std::string ErrorDesc() const;
  const std::string& Name() const { return name_; }

  // One batch of what is waiting, translated and handed to the seat.
  void ReadBatch();
  // The port's own timers; false for any other message.
  bool Dispatch(UINT message, WPARAM wParam);
  // A device notice about this port: gone now, or back sooner than the retry.
  void DeviceChanged(const DeviceChange& change);

  // The port stopped working and is waited for.
  bool WaitingForPort() const { return lWaitingForPort; }
  // The way from bytes to keys.
  ReceivedKeys& Keys() { return keys_; }
  // New rules, from the next byte on.
  void Rules(RuleSet rules);
  // How long the device may be silent before its record counts as ended.
  void RecordGapMs(UINT ms) { recordGapMs_ = ms; }
  // Sends `bytes` to the device with the port's own Write, whole, never in
  // the middle of another command or batch. A write the port does not take
  // counts as a failed health check: the port is lost and waited for. False
  // with `error` (may be null) set when nothing or not all was sent.
  bool Send(const std::string& bytes, std::string* error);

  // The open port; null while it is waited for.
  std::unique_ptr<Serial> oSerial;
  // A batch is being read (re-entry through a message loop is refused).
  bool lReading = false;

 private:
  static constexpr UINT_PTR kPortCheckTimer = 0x7C11;
  static constexpr UINT_PTR kPortRetryTimer = 0x7C12;
  static constexpr UINT_PTR kRecordGapTimer = 0x7C21;
  // How often a running port is looked at: a pulled adapter is noticed
  // within this time.
  static constexpr UINT kPortCheckMs = 1000;

  void ApplyLineSettings(Serial& port) const;
  void ReadWhatWaits();
  void CheckPort();
  void PortLost();
  void RetryPort();
  void RecordGapEnded();

  HWND window_;
  PortSeat& seat_;
  std::string name_;
  LineSettings line_;
  bool lWaitingForPort = false;
  bool sending_ = false;
  ReceivedKeys keys_;
  UINT recordGapMs_ = 0;
};
