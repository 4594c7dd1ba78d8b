#pragma once
// The pieces of an end-to-end run: the saved settings in the registry, the
// program under test as its own process, the typing target that receives its
// keys, and the simulated device on the far end of the virtual null-modem.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/harness/process.h"

namespace e2e {

// The program's port and the device's end of the same null-modem cable.
extern const char* const kProgramPort;
extern const char* const kDevicePort;

// HKCU\Software\Talvik\TV-SERKEY\Setting, read and written with plain Win32.
namespace settings {
void Remove();
bool KeyExists();
DWORD ValueCount();
void Write(const std::string& port, DWORD baud, DWORD dataBits, DWORD parity, DWORD stopBits);
void WriteString(const char* name, const std::string& value);
void WriteDWord(const char* name, DWORD value);
std::optional<std::string> ReadString(const char* name);
std::optional<DWORD> ReadDWord(const char* name);
}  // namespace settings

struct KeyArrival {
  std::uint8_t vk;
  long long counter;  // QueryPerformanceCounter when the edit got the key
};

// Our own window with a multi-line edit; it logs every key press it gets.
class TypingTarget {
 public:
  // keysOnly: keys are logged, not typed into the edit (see the program).
  explicit TypingTarget(bool keysOnly = false);
  ~TypingTarget();
  bool Started() const { return frame_ != nullptr; }
  // Brings the target to the foreground with the focus in its edit.
  void Focus();
  std::string Text() const;
  // Virtual-key codes received so far, in order.
  std::vector<std::uint8_t> Keys() const;
  std::vector<KeyArrival> Arrivals() const;
  // Waits until at least `count` keys arrived; false on time-out.
  bool WaitForKeys(size_t count, DWORD timeoutMs) const;
  HWND Frame() const { return frame_; }

 private:
  testing_process::ChildProcess process_;
  std::string logPath_;
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
};

// The program under test.
class Program {
 public:
  // `arguments` follow the quoted program path on the command line.
  bool Start(const std::string& arguments = {});
  // Waits for the main window (visible or not); null on time-out.
  HWND WaitForMainWindow(DWORD timeoutMs = 20000);
  HWND Main() const { return main_; }
  // Waits until a start has gone all the way: button "Stop", window hidden.
  bool WaitUntilRunning(DWORD timeoutMs = 20000);
  HWND Control(int id) const;
  std::string ControlText(int id) const;
  DWORD Pid() const { return process_.Pid(); }
  // Notification-area icons the program shows now.
  int TrayIconCount() const;
  HWND TrayIcon() const;
  int ThreadCount() const;
  // Clicks Start/Stop the way a user does.
  void ClickStartStop();
  // Closes the main window and waits for the program to end.
  bool CloseAndWait(DWORD timeoutMs = 20000);
  testing_process::ChildProcess& Process() { return process_; }

 private:
  testing_process::ChildProcess process_;
  HWND main_ = nullptr;
};

// The simulated device: the other end of the program's port.
class Device {
 public:
  // `port` is the far end, as CreateFileA names it.
  explicit Device(const char* port = kDevicePort);
  ~Device();
  bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Send(const std::string& bytes);

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::string Bytes(const std::vector<std::uint8_t>& keys);

// The cable of `port` (either end's name) pulled out, as a USB adapter is,
// and plugged back in; each waits until the cable has done it.
bool UnplugCable(const char* port);
bool ReplugCable(const char* port);

// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value "TV-SERKEY".
std::optional<std::string> RunValue();
void RemoveRunValue();

}  // namespace e2e
