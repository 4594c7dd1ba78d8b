// What the running port sends to its device (running_port.h: Send).
#include "app/running_port.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A01  Running Port";
}  // namespace

bool RunningPort::Send(const std::string& bytes, std::string* error) {
  CALLSTACK_ENTER("RunningPort:Send", kModule);
  auto fail = [&](std::string text) {
    if (error != nullptr) *error = std::move(text);
    return false;
  };
  if (!oSerial) return fail("The port is away: " + name_ + " is waited for.");
  if (lReading || sending_) return fail("The port is busy with another command.");
  if (bytes.empty()) return true;
  sending_ = true;
  const std::uint32_t written = oSerial->Write(bytes);
  sending_ = false;
  if (written == bytes.size()) return true;
  const std::string desc = oSerial->ErrorDesc();
  PortLost();
  return fail(name_ + " did not take what was sent (" + desc + ")");
}
