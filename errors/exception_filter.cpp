#include "errors/exception_filter.h"

#include <cstdio>
#include <string>

#include "errors/callstack.h"
#include "errors/error_handler.h"
#include "errors/error_texts.h"
#include "errors/overflow_report.h"
#include "platform/handles.h"

namespace {
struct ExceptionName {
  DWORD code;
  const char* name;
  const char* description;
};

const ExceptionName kExceptions[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION", "Access violation"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED", "Array bounds exceeded"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "EXCEPTION_DATATYPE_MISALIGNMENT", "Data type misalignment"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EXCEPTION_FLT_DIVIDE_BY_ZERO", "Floating-point division by zero"},
    {EXCEPTION_FLT_OVERFLOW, "EXCEPTION_FLT_OVERFLOW", "Floating-point overflow"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EXCEPTION_FLT_INVALID_OPERATION", "Floating-point invalid operation"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION", "Illegal instruction"},
    // The text MyErrorHandler recognises as a page lost with its network drive.
    {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR", "In page error"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO", "Integer division by zero"},
    {EXCEPTION_INT_OVERFLOW, "EXCEPTION_INT_OVERFLOW", "Integer overflow"},
    {EXCEPTION_PRIV_INSTRUCTION, "EXCEPTION_PRIV_INSTRUCTION", "Privileged instruction"},
    {EXCEPTION_STACK_OVERFLOW, "EXCEPTION_STACK_OVERFLOW", "Stack overflow"},
};

// NTSTATUS to Win32 error, looked up at run time: ntdll is always loaded.
std::uint32_t Win32ErrorOf(DWORD status) {
  using Convert = ULONG(WINAPI*)(LONG);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr) return 0;
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")));
  return convert != nullptr ? convert(static_cast<LONG>(status)) : 0;
}

// Stack kept back on the installing thread for the filter itself, where
// Windows leaves little more than a page after an overflow.
constexpr ULONG kFilterReserve = 64 * 1024;
}  // namespace

Error ErrorFromException(const EXCEPTION_RECORD& exception) {
  Error error;
  error.SubSystem = "EXCEPTION";
  error.SubCode = exception.ExceptionCode;
  error.GenCode = kGenException;
  error.OsCode = Win32ErrorOf(exception.ExceptionCode);
  error.FuncPtr = reinterpret_cast<std::uintptr_t>(exception.ExceptionAddress);
  error.Operation = "run-time exception";
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(exception.ExceptionCode));
  error.SubCodeText = code;
  error.Description = std::string("Exception ") + code;
  for (const ExceptionName& known : kExceptions) {
    if (known.code == exception.ExceptionCode) {
      error.SubCodeText = known.name;
      error.Description = known.description;
    }
  }
  if (exception.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && exception.NumberParameters >= 2) {
    const ULONG_PTR kind = exception.ExceptionInformation[0];
    const char* verb = kind == 0 ? " reading " : kind == 8 ? " executing " : " writing ";
    error.Description += verb + ErrorAddressText(exception.ExceptionInformation[1]);
  }
  return error;
}

namespace {
// A stack overflow is reported as soon as it is raised: by the time the
// system has searched the stack for a handler and reached the filter, what
// was left of the stack is gone (under Wine the search itself faults again
// and the process dies unreported). Nothing recovers from an overflow here.
LONG WINAPI StackOverflowFirst(EXCEPTION_POINTERS* pointers) {
  if (pointers != nullptr && pointers->ExceptionRecord != nullptr &&
      pointers->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
    OverflowReport(*pointers->ExceptionRecord);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

LONG WINAPI ErrorExceptionFilter(EXCEPTION_POINTERS* pointers) {
  if (pointers == nullptr || pointers->ExceptionRecord == nullptr) return EXCEPTION_CONTINUE_SEARCH;
  const EXCEPTION_RECORD& exception = *pointers->ExceptionRecord;
  if (exception.ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
    OverflowReport(exception);
  } else {
    // Here, on the faulting thread: its windows stay drawn, and disabled
    // behind the error window.
    Error error = ErrorFromException(exception);
    MyErrorHandler(error);
  }
  // A retry cannot re-run a faulting instruction: let the system end it.
  return EXCEPTION_CONTINUE_SEARCH;
}

LPTOP_LEVEL_EXCEPTION_FILTER InstallErrorExceptionFilter(DWORD overflowPatienceMs) {
  ULONG reserve = kFilterReserve;
  SetThreadStackGuarantee(&reserve);  // without it the report still tries
  OverflowReporterStart(overflowPatienceMs);  // without it the report is tried on the faulting thread
  static const bool overflowHook = AddVectoredExceptionHandler(1, StackOverflowFirst) != nullptr;
  (void)overflowHook;
  return SetUnhandledExceptionFilter(ErrorExceptionFilter);
}
