// Serial: reading, writing and the input queue count.
#include "errors/callstack.h"
#include "platform/handles.h"
#include "serial/overlapped_write.h"
#include "serial/serial.h"

std::string Serial::Read(std::uint32_t count) {
  CALLSTACK_ENTER("Serial:Read", kPortModule);
  std::string buffer(count, '\0');
  CALLSTACK_LINE();
  KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!event) {
    RecordFailure("CreateEvent failed in Read.", GetLastError());
    return {};
  }
  OVERLAPPED overlapped{};
  overlapped.hEvent = event.Get();
  DWORD length = 0;
  if (count > 0) {
    CALLSTACK_LINE();
    if (!ReadFile(portHandle_, buffer.data(), count, &length, &overlapped)) {
      const DWORD error = GetLastError();
      DWORD errors = 0;
      if (error == ERROR_IO_PENDING) {
        // The driver's time-outs end the read; nothing here adds a limit.
        for (;;) {
          CALLSTACK_LINE();
          if (GetOverlappedResult(portHandle_, &overlapped, &length, TRUE)) break;
          const DWORD waitError = GetLastError();
          if (waitError == ERROR_IO_INCOMPLETE) continue;
          RecordFailure("ReadFile failed in Serial:ReadCommBlock(1).", waitError);
          ClearCommError(portHandle_, &errors, nullptr);
          return {};
        }
      } else {
        length = 0;
        RecordFailure("ReadFile failed in Serial:ReadCommBlock(2).", error);
        ClearCommError(portHandle_, &errors, nullptr);
      }
    }
  }
  buffer.resize(length);
  return buffer;
}

std::uint32_t Serial::Write(const std::string& data) {
  CALLSTACK_ENTER("Serial:Write", kPortModule);
  CALLSTACK_LINE();
  const OverlappedWriteResult result =
      OverlappedWrite(portHandle_, data, {"CreateEvent failed in Serial:Write.", "WriteFile failed in Serial:Write."});
  if (result.failure != nullptr) RecordFailure(result.failure, result.lastError);
  return result.written;
}

std::uint32_t Serial::ReceiverPending() {
  CALLSTACK_ENTER("Serial:ReceiverPending", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return 0;
  DWORD errors = 0;
  COMSTAT status{};
  ClearCommError(portHandle_, &errors, &status);
  return status.cbInQue;
}
