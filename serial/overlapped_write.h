#pragma once
// The one overlapped write that Serial and Paralel share: all of a byte
// string in one WriteFile, waited for at most a second.
#include <windows.h>

#include <cstdint>
#include <string>

struct OverlappedWriteTexts {
  const char* createEventFailed;
  const char* writeFileFailed;
};

struct OverlappedWriteResult {
  std::uint32_t written = 0;
  const char* failure = nullptr;  // text to record, null when none
  DWORD lastError = 0;            // taken right after the failing step
};

// A write still pending after its wait is cancelled and the cancellation is
// awaited before the buffer, OVERLAPPED record and event are released. Should
// the driver never complete it, those three are deliberately never released,
// so that the driver cannot write into freed memory.
OverlappedWriteResult OverlappedWrite(HANDLE port, const std::string& data, const OverlappedWriteTexts& texts);
