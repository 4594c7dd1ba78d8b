#pragma once
// Call-stack register: every routine that wants to appear in error texts
// enters itself on entry with CALLSTACK_ENTER and keeps its line current
// with CALLSTACK_LINE where a failure may follow. Each thread has its own
// chain, so the comm watcher never mixes its frames into the window thread's.
#include <cstdint>
#include <string>

class CallFrame {
 public:
  CallFrame(const char* routine, const char* module, std::uint32_t line);
  ~CallFrame();
  CallFrame(const CallFrame&) = delete;
  CallFrame& operator=(const CallFrame&) = delete;

  void Line(std::uint32_t line) { line_ = line; }

  const char* Routine() const { return routine_; }
  const char* Module() const { return module_; }
  std::uint32_t CurrentLine() const { return line_; }
  const CallFrame* Outer() const { return outer_; }

 private:
  const char* routine_;
  const char* module_;
  std::uint32_t line_;
  CallFrame* outer_;
};

#define CALLSTACK_ENTER(routine, module) CallFrame callFrame_((routine), (module), __LINE__)
#define CALLSTACK_LINE() callFrame_.Line(__LINE__)

// The calling thread's innermost routine, and a way for a helper thread to
// report for a thread that is stopped (its frames stay where they are): the
// helper's own routines then stand above the borrowed chain. Borrow before
// the helper enters any routine; null gives the helper an empty chain again.
CallFrame* CallStackChain();
void CallStackBorrow(CallFrame* chain);

// One level of the register: level 0 is the innermost active routine.
// A level beyond the outermost routine answers an empty name and line 0.
struct CallStackEntry {
  std::string routine;
  std::string module;
  std::uint32_t line = 0;
};
CallStackEntry CallStackLevel(unsigned level);

// Text block appended to error messages: heading, up to 15 "Line:" rows
// starting at the caller of CallStackEx shifted by `level`, then Ret_Build().
std::string CallStackEx(std::uint16_t level);

// CallStackEx(level) counted from here (level 0 is CallStack itself, 1 its
// caller), also put on the clipboard so the user can paste it into a report.
std::string CallStack(std::uint16_t level);
