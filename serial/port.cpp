#include "serial/port.h"

#include <cctype>

#include "errors/callstack.h"

bool Port::Open(const std::string&) {
  CALLSTACK_ENTER("Port:Open", kPortModule);
  return true;
}

bool Port::Close() {
  CALLSTACK_ENTER("Port:Close", kPortModule);
  return true;
}

bool Port::SetProtocol() {
  CALLSTACK_ENTER("Port:SetProtocol", kPortModule);
  return true;
}

std::uint32_t Port::Write(const std::string&) {
  CALLSTACK_ENTER("Port:Write", kPortModule);
  return 0;
}

std::string Port::ErrorCode() const { return std::to_string(errorCode_); }

void Port::ErrorCode(std::int32_t code) { errorCode_ = code; }

void Port::RecordFailure(const char* text, DWORD lastError) {
  ErrorDesc(text);
  ErrorCode(static_cast<std::int32_t>(lastError));
}

std::string DeviceNamespaceName(const std::string& portName, const char* prefix) {
  const std::string head(prefix);
  if (portName.size() <= head.size()) return portName;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(portName[i])) != head[i]) return portName;
  }
  for (std::size_t i = head.size(); i < portName.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(portName[i]))) return portName;
  }
  return "\\\\.\\" + portName;
}
