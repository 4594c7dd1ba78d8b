#pragma once
// The report of a stack overflow, made on a thread of its own that is
// started in advance and parked: after an overflow the faulting thread has
// no stack for the report, and starting a thread then would need the loader
// lock, which the overflow may have left held (as it may the heap's lock,
// which the report needs). So the faulting thread only wakes the parked one
// and waits, for a limited time.
#include <windows.h>

// Parks the reporting thread (once per process; later calls only change the
// patience). False when no thread could be made: an overflow is then
// reported on the faulting thread, as well as it goes.
bool OverflowReporterStart(DWORD patienceMs);

// On the faulting thread: hands the exception to the parked reporter, whose
// report ends the application, and waits. When the report stands still for
// the patience (no message loop of the reporter's ticks), the process is
// ended with the exception's code. Returns only if the report returns.
void OverflowReport(const EXCEPTION_RECORD& exception);
