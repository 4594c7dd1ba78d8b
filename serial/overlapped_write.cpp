#include "serial/overlapped_write.h"

#include <memory>

#include "platform/handles.h"

namespace {

constexpr DWORD kWriteWaitMs = 1000;
// How long a cancelled write may take to report its cancellation.
constexpr DWORD kCancelWaitMs = 5000;

// Everything the driver may touch while the write is in flight.
struct WriteCall {
  explicit WriteCall(const std::string& data) : buffer(data) {}
  std::string buffer;
  OVERLAPPED overlapped{};
  KernelHandle event;
};

}  // namespace

OverlappedWriteResult OverlappedWrite(HANDLE port, const std::string& data, const OverlappedWriteTexts& texts) {
  OverlappedWriteResult result;
  auto call = std::make_unique<WriteCall>(data);
  call->event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!call->event) {
    result.failure = texts.createEventFailed;
    result.lastError = GetLastError();
    return result;
  }
  call->overlapped.hEvent = call->event.Get();

  DWORD written = 0;
  const DWORD length = static_cast<DWORD>(call->buffer.size());
  if (!WriteFile(port, call->buffer.data(), length, &written, &call->overlapped)) {
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING) {
      result.failure = texts.writeFileFailed;
      result.lastError = error;
      return result;
    }
    if (WaitForSingleObject(call->event.Get(), kWriteWaitMs) == WAIT_OBJECT_0) {
      GetOverlappedResult(port, &call->overlapped, &written, TRUE);
    } else {
      written = 0;
      // The code of the failure is the write's own, not the cancellation's.
      const DWORD pendingError = GetLastError();
      CancelIoEx(port, &call->overlapped);
      if (WaitForSingleObject(call->event.Get(), kCancelWaitMs) == WAIT_OBJECT_0) {
        DWORD ignored = 0;
        GetOverlappedResult(port, &call->overlapped, &ignored, FALSE);
      } else {
        call.release();  // still in the driver's hands: never freed
      }
      SetLastError(pendingError);
    }
  }
  if (written != length) {
    result.failure = "Error writing to device.";
    result.lastError = GetLastError();
  }
  result.written = written;
  return result;
}
