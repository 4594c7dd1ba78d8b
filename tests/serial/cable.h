#pragma once
// The virtual null-modem as the serial tests see it (wired by
// scripts/nullmodem.sh): the port under test on one end, the device played
// by the test on the other, with plain Win32 calls.
#include <windows.h>

#include <functional>
#include <string>

#include "serial/serial.h"

namespace cable {

// Port under test -> its far end.
inline constexpr const char* kPort = "COM5";     // <-> COM6
inline constexpr const char* kPeer = "COM6";
inline constexpr const char* kSpare = "COM7";    // <-> COM8, for jams
inline constexpr const char* kSparePeer = "COM8";
inline constexpr const char* kPullable = "COM3";  // <-> COM4, for Unplug
inline constexpr const char* kPullablePeer = "COM4";

// The device end: synchronous handle, short time-outs, queues purged.
class Device {
 public:
  explicit Device(const char* port);
  ~Device();
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Send(const std::string& bytes);
  // Collects until `count` bytes came or `timeoutMs` passed.
  std::string Receive(std::size_t count, DWORD timeoutMs = 5000);
  // Everything that comes until the line has been quiet for `quietMs`.
  std::string Drain(DWORD quietMs = 300);

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Opens `port` on `serial` and swaps the long default time-outs for short ones.
bool OpenShort(Serial& serial, const char* port);
// Reads from `serial` until `count` bytes came or `timeoutMs` passed.
std::string ReadAll(Serial& serial, std::size_t count, DWORD timeoutMs = 5000);

// A window of the test that records the notifications it is sent.
class Sink {
 public:
  Sink();
  ~Sink();
  HWND Handle() const { return hwnd_; }
  // Runs this thread's messages for `ms`; the count of notifications so far.
  int Pump(DWORD ms);
  bool WaitFor(int count, DWORD timeoutMs = 5000);
  void Reset() { count_ = 0; }
  int Count() const { return count_; }
  WPARAM LastWParam() const { return lastWParam_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  int count_ = 0;
  WPARAM lastWParam_ = 0;
};

// Handles of this process right now.
int HandleCount();
// Running threads of this process that started in CommWatchProc.
int WatcherCount();
// Waits (up to a few seconds) for the watcher count to drop to `count`.
bool WatchersSettleAt(int count);

// Pulls the plug of a cable: its socat ends and the far end is gone.
bool Unplug(const char* port);

// Runs `work` on a thread of its own; false when it has not returned within
// `timeoutMs` (it is then left running, and the program ends at exit).
bool ReturnsWithin(DWORD timeoutMs, const std::function<void()>& work);

}  // namespace cable
