#pragma once
// Serial: one COM port opened for exclusive overlapped I/O, its line settings
// and time-outs, reading and writing, and the comm event watcher thread that
// tells the owner window when characters have arrived.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "serial/port.h"

// The watcher's notification: posted to the owner window with wParam 1 each
// time a wait reports EV_RXCHAR. lParam carries the transfer count of the
// last completed overlapped wait; receivers ignore it.
inline constexpr UINT kCommNotifyMessage = 0x0044;  // WM_COMMNOTIFY
inline constexpr WPARAM kCommNotifyWParam = 1;

// The record shared by a Serial object and its watcher thread. The first
// three fields are written only while no watcher runs; the two flags are the
// whole handshake between the threads (no lock):
//   Stop  - written by the window thread, read by the watcher before each wait;
//   Ended - written by the watcher (its very last act) and by EnableEvents
//           only while no watcher runs; polled by DisableEvents.
struct WatchBlock {
  HANDLE PortHandle = INVALID_HANDLE_VALUE;
  HWND OwnerWindow = nullptr;
  DWORD EventMask = 0;
  std::atomic<std::int32_t> Stop{0};
  std::atomic<std::int32_t> Ended{1};
};
static_assert(std::atomic<std::int32_t>::is_always_lock_free);

// The watcher thread: `block` is the address of a WatchBlock. Exit code 1
// after a requested stop, 0 after a failure.
DWORD WINAPI CommWatchProc(LPVOID block);

class Serial : public Port {
 public:
  // `ownerWindow` receives the watcher's notifications; none posts to 0.
  explicit Serial(HWND ownerWindow = nullptr);
  // The owner closes the port first; a port still open is closed here so
  // that it cannot stay locked. A watcher that has not ended (one showing
  // its message box, say) is asked to stop and its record left alive rather
  // than freed under it.
  ~Serial() override;

  // Opens the port (a bare "COM<n>" through the device namespace), sizes the
  // queues, purges them, applies the default time-outs and 9600 8N1. True as
  // soon as the queues are sized; a later failing step only stops the rest
  // and leaves its error behind.
  bool Open(const std::string& portName) override;
  // Stops the watcher, purges, closes. False when nothing was open, and
  // false with the port left open while a watcher that will not stop still
  // waits on it (a later Close tries again).
  bool Close() override;
  bool SetProtocol() override;  // Dcb -> driver (SetCommState)
  bool GetProtocol();           // driver -> Dcb (GetCommState)
  bool SetTimeOut();            // Timeouts -> driver (SetCommTimeouts)
  bool GetTimeOut();            // driver -> Timeouts (GetCommTimeouts)
  bool Flush();                 // PurgeComm, both queues, pending I/O aborted

  // Up to `count` bytes waiting in (or arriving at) the port, as a byte
  // string (0 bytes included); empty on failure or time-out.
  std::string Read(std::uint32_t count = 1);
  // Sends all of `data` in one write; the number of bytes written.
  std::uint32_t Write(const std::string& data) override;
  // Bytes in the driver's input queue (0 when closed). Also clears the
  // port's error state.
  std::uint32_t ReceiverPending();

  // Starts the watcher with a comm event mask (the system passes EV_RXCHAR).
  // False when already enabled or the thread cannot be made.
  bool EnableEvents(DWORD eventMask);
  // Stops the watcher and waits for it to end; true at once when not enabled.
  // Gives up after a few seconds if the watcher never ends: false, with
  // "CommWatchProc did not end in DisableEvents." and code 258 (WAIT_TIMEOUT);
  // the watcher then counts as running until it has ended, and a later
  // EnableEvents is refused until then.
  bool DisableEvents();

  // Line settings (in memory until SetProtocol). A setter given a value
  // outside its accepted set changes nothing and records nothing.
  DWORD Baud() const;                  // 110 ... 256000, 13 rates
  void Baud(DWORD value);
  std::uint8_t ByteSize() const;       // 7 or 8
  void ByteSize(std::uint32_t value);
  std::uint8_t Parity() const;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
  void Parity(std::uint32_t value);
  std::uint8_t StopBits() const;       // 0 one, 1 one and a half, 2 two
  void StopBits(std::uint32_t value);

  // Time-outs in ms (in memory until SetTimeOut); any value is taken.
  DWORD ReadIntervalTimeout() const;
  void ReadIntervalTimeout(DWORD value);
  DWORD ReadTimeoutMultiplier() const;
  void ReadTimeoutMultiplier(DWORD value);
  DWORD ReadTimeoutConstant() const;
  void ReadTimeoutConstant(DWORD value);
  DWORD WriteTimeoutMultiplier() const;
  void WriteTimeoutMultiplier(DWORD value);
  DWORD WriteTimeoutConstant() const;
  void WriteTimeoutConstant(DWORD value);

  // Driver queue sizes asked for at the next Open (default 4096). Values
  // above 65535 are refused like any other value outside the accepted set.
  std::uint16_t ReceiveBufferSize() const { return receiveBufferSize_; }
  void ReceiveBufferSize(std::uint32_t value);
  std::uint16_t TransmitBufferSize() const { return transmitBufferSize_; }
  void TransmitBufferSize(std::uint32_t value);

  // The result of the last Open; cleared by a successful Close.
  bool IsOpen() const { return opened_; }
  // Where the watcher posts its notifications.
  HWND OwnerWindow() const { return ownerWindow_; }
  // True from a successful EnableEvents to a successful DisableEvents, or,
  // when DisableEvents gave up, until the watcher has ended.
  bool EventsEnabled() const;
  // Events are enabled but the watcher has ended on its own, unasked: its
  // wait failed (the device went away) and nothing will be reported any more.
  bool WatcherEnded() const {
    return eventsEnabled_ && !watchBlock_->Stop.load() && watchBlock_->Ended.load() != 0;
  }

 private:
  HANDLE portHandle_ = INVALID_HANDLE_VALUE;
  bool eventsEnabled_ = false;
  // The three records live in blocks of their own so that their addresses
  // stay fixed for the object's whole life (the watcher holds the block's).
  std::unique_ptr<WatchBlock> watchBlock_;
  std::unique_ptr<DCB> dcb_;
  std::unique_ptr<COMMTIMEOUTS> timeouts_;
  HWND ownerWindow_ = nullptr;
  std::uint16_t transmitBufferSize_ = 4096;
  std::uint16_t receiveBufferSize_ = 4096;
  bool opened_ = false;
};
