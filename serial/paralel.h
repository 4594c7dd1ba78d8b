#pragma once
// Paralel: a parallel port (or any device) opened by name and written to in
// byte strings. No line settings, no queues, no watcher; one thread.
#include <windows.h>

#include <cstdint>
#include <string>

#include "serial/port.h"

class Paralel : public Port {
 public:
  Paralel() = default;
  // Like Serial, the owner closes the device; the destructor closes a handle
  // still open so that it cannot leak.
  ~Paralel() override;

  // Opens the device for exclusive overlapped use. On failure records
  // "Failed to open <name> port !" and shows it in an unowned error box.
  bool Open(const std::string& portName) override;
  // False when nothing is open; a failed close keeps the handle for a retry.
  bool Close() override;
  // SetProtocol: the base default (true, does nothing).
  // Sends all of `data` in one write; the number of bytes written.
  std::uint32_t Write(const std::string& data) override;

  bool IsOpen() const { return portHandle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE portHandle_ = INVALID_HANDLE_VALUE;
};
