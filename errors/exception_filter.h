#pragma once
// An adapter that lets MyErrorHandler take over exceptions nobody handled
// (an access violation, a division by zero ...). Start-up does not install
// it; a program that wants the error report for such crashes calls
// InstallErrorExceptionFilter() once.
#include <windows.h>

#include "errors/error_record.h"

// The error record for an exception: SubSystem "EXCEPTION", SubCode and
// SubCodeText the exception code and its name, GenCode kGenException,
// OsCode the matching Win32 error, Description a plain text (with the
// address accessed, for access violations), FuncPtr the faulting address.
Error ErrorFromException(const EXCEPTION_RECORD& exception);

// The unhandled-exception filter: hands the record to MyErrorHandler, which
// ends the application; a stack overflow is reported from the parked
// thread, with the faulting thread's call-stack listing. Should the handler
// return, the exception goes on to the system's own handling.
LONG WINAPI ErrorExceptionFilter(EXCEPTION_POINTERS* pointers);

// Installs ErrorExceptionFilter as the process's unhandled-exception filter,
// and a first-chance hook that reports a stack overflow before the search
// for a handler uses up the rest of the stack; keeps a stack reserve on the
// calling thread and parks the thread that reports an overflow (see
// overflow_report.h), which may stand still for `overflowPatienceMs` before
// the process is ended. Returns the filter it replaces.
LPTOP_LEVEL_EXCEPTION_FILTER InstallErrorExceptionFilter(DWORD overflowPatienceMs = 30000);
