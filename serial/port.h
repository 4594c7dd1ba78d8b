#pragma once
// Port: the common base of the port classes. It carries the error pair that
// every port operation leaves behind on failure, and do-nothing defaults for
// the operations every port offers.
#include <windows.h>

#include <cstdint>
#include <string>

// Module name under which the port classes enter the call-stack register.
inline constexpr const char* kPortModule = "Class  Serial";

class Port {
 public:
  Port() = default;
  virtual ~Port() = default;
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;

  // Defaults for a port that has nothing to do: true, true, true, 0.
  virtual bool Open(const std::string& portName);
  virtual bool Close();
  virtual bool SetProtocol();
  virtual std::uint32_t Write(const std::string& data);

  // System error code (GetLastError) of the most recent failure; the getter
  // answers it as decimal text ("0" until something failed).
  std::string ErrorCode() const;
  void ErrorCode(std::int32_t code);
  // Fixed text naming the most recent failure; empty until something failed.
  // Neither is cleared by later successes.
  const std::string& ErrorDesc() const { return errorDesc_; }
  void ErrorDesc(const std::string& text) { errorDesc_ = text; }

 protected:
  // The one way a failure is recorded: the text first, then the code.
  void RecordFailure(const char* text, DWORD lastError);

 private:
  std::int32_t errorCode_ = 0;
  std::string errorDesc_;
};

// The name CreateFileA is given for a port name. A bare `prefix` + decimal
// number ("COM15", "lpt2") goes into the device namespace ("\\.\COM15"),
// because Windows resolves only COM1-COM9 and LPT1-LPT9 by their bare names.
// Any other name, one that already carries a prefix included, is unchanged.
std::string DeviceNamespaceName(const std::string& portName, const char* prefix);
