#include "errors/callstack.h"

#include <cstdio>

#include "app/globals.h"
#include "util/system.h"

namespace {
thread_local CallFrame* innermost = nullptr;
}

CallFrame::CallFrame(const char* routine, const char* module, std::uint32_t line)
    : routine_(routine), module_(module), line_(line == 0 ? 1 : line), outer_(innermost) {
  innermost = this;
}

CallFrame::~CallFrame() { innermost = outer_; }

CallFrame* CallStackChain() { return innermost; }

void CallStackBorrow(CallFrame* chain) { innermost = chain; }

CallStackEntry CallStackLevel(unsigned level) {
  const CallFrame* frame = innermost;
  for (unsigned i = 0; frame != nullptr && i < level; ++i) frame = frame->Outer();
  if (frame == nullptr) return {};
  return {frame->Routine(), frame->Module(), frame->CurrentLine()};
}

std::string CallStackEx(std::uint16_t level) {
  CALLSTACK_ENTER("CallStackEx", "Func  Error");
  const std::string rule(35, '_');
  std::string text = "\r\n\r\n" + rule + "\r\n\r\n PROGRAMMER INFORMATION :\r\n" + rule + "\r\n";
  unsigned at = static_cast<unsigned>(level) + 1;
  for (int listed = 0; listed < 15; ++listed, ++at) {
    const CallStackEntry entry = CallStackLevel(at);
    if (entry.line == 0) break;
    char number[16];
    std::snprintf(number, sizeof number, "%05u", static_cast<unsigned>(entry.line));
    text += "\r\nLine: ";
    text += number;
    text += "   " + entry.routine;
  }
  text += "\r\n\r\n" + Ret_Build();
  return text;
}

std::string CallStack(std::uint16_t level) {
  CALLSTACK_ENTER("CallStack", "Func  Error");
  const std::string text = CallStackEx(level);
  VOClipboardCopy(text);
  return text;
}
