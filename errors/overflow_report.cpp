#include "errors/overflow_report.h"

#include "errors/callstack.h"
#include "errors/error_handler.h"
#include "errors/exception_filter.h"
#include "platform/handles.h"

namespace {
constexpr UINT kBeatMs = 1000;

// Made once, before any fault, and never freed: at the fault nothing may
// need the heap. `fault` and `chain` are written by the faulting thread
// before `wanted` is set, and read by the reporter after it wakes.
struct Reporter {
  KernelHandle wanted;  // auto-reset: a report is needed
  KernelHandle done;    // manual-reset: the report returned
  KernelHandle thread;
  const EXCEPTION_RECORD* fault = nullptr;
  CallFrame* chain = nullptr;
  volatile LONG claimed = 0;
  volatile LONG beats = 0;
  volatile LONG patienceMs = 30000;
};
Reporter* reporter = nullptr;

void Report(const EXCEPTION_RECORD& exception, CallFrame* chain) {
  // The listing is the faulting thread's, as if the report ran there.
  CallStackBorrow(chain);
  Error error = ErrorFromException(exception);
  MyErrorHandler(error);
  CallStackBorrow(nullptr);
}

// Ticks in every message loop of the reporter (the error window, the save
// dialog, the boxes after it): a user reading the window is no hang.
void CALLBACK Beat(HWND, UINT, UINT_PTR, DWORD) { InterlockedIncrement(&reporter->beats); }

DWORD WINAPI Parked(void*) {
  // This thread's own call-stack slot is made now, not after the fault.
  CallStackBorrow(nullptr);
  // Parked for the life of the process; a fault is the only way on.
  WaitForSingleObject(reporter->wanted.Get(), INFINITE);
  const UINT_PTR beat = SetTimer(nullptr, 0, kBeatMs, Beat);
  Report(*reporter->fault, reporter->chain);
  if (beat != 0) KillTimer(nullptr, beat);
  SetEvent(reporter->done.Get());
  return 0;
}
}  // namespace

bool OverflowReporterStart(DWORD patienceMs) {
  if (reporter == nullptr) {
    auto* made = new Reporter;
    made->wanted.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    made->done.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!made->wanted || !made->done) {
      delete made;
      return false;
    }
    reporter = made;
    reporter->thread.Reset(CreateThread(nullptr, 0, Parked, nullptr, 0, nullptr));
  }
  InterlockedExchange(&reporter->patienceMs, static_cast<LONG>(patienceMs));
  return reporter->thread.Valid();
}

void OverflowReport(const EXCEPTION_RECORD& exception) {
  if (reporter == nullptr || !reporter->thread) {
    Report(exception, CallStackChain());  // no reporter parked: try here
    return;
  }
  // A second faulting thread finds the report under way and only waits.
  if (InterlockedExchange(&reporter->claimed, 1) == 0) {
    reporter->fault = &exception;
    reporter->chain = CallStackChain();
    SetEvent(reporter->wanted.Get());
  }
  // Nothing here allocates or takes a lock: only the wait and the end.
  const DWORD patience = static_cast<DWORD>(reporter->patienceMs);
  LONG seen = reporter->beats;
  while (WaitForSingleObject(reporter->done.Get(), patience) == WAIT_TIMEOUT) {
    const LONG now = reporter->beats;
    if (now == seen) TerminateProcess(GetCurrentProcess(), exception.ExceptionCode);
    seen = now;
  }
}
