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

// The unhandled-exception filter: hands the record to MyErrorHandler on a
// thread of its own (a stack overflow leaves the faulting thread no stack),
// with the faulting thread's call-stack listing; the handler ends the
// application. Should it return, the exception goes on to the system's own
// handling.
LONG WINAPI ErrorExceptionFilter(EXCEPTION_POINTERS* pointers);

// Installs ErrorExceptionFilter as the process's unhandled-exception filter
// and keeps a stack reserve for it on the calling thread; returns the filter
// it replaces.
LPTOP_LEVEL_EXCEPTION_FILTER InstallErrorExceptionFilter();
