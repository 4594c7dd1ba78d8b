#include "serial/paralel.h"

#include "app/boxes.h"
#include "errors/callstack.h"
#include "serial/overlapped_write.h"

Paralel::~Paralel() {
  if (portHandle_ != INVALID_HANDLE_VALUE) CloseHandle(portHandle_);
}

bool Paralel::Open(const std::string& portName) {
  CALLSTACK_ENTER("Paralel:Open", kPortModule);
  if (portHandle_ != INVALID_HANDLE_VALUE) Close();  // never lose an open handle
  CALLSTACK_LINE();
  portHandle_ = CreateFileA(DeviceNamespaceName(portName, "LPT").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (portHandle_ == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    ErrorDesc("Failed to open " + portName + " port !");
    ErrorCode(static_cast<std::int32_t>(error));
    BoxError(nullptr, ErrorDesc());
    return false;
  }
  return true;
}

bool Paralel::Close() {
  CALLSTACK_ENTER("Paralel:Close", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return false;
  CALLSTACK_LINE();
  if (!CloseHandle(portHandle_)) {
    RecordFailure("CloseHandle failed.", GetLastError());
    return false;
  }
  portHandle_ = INVALID_HANDLE_VALUE;
  return true;
}

std::uint32_t Paralel::Write(const std::string& data) {
  CALLSTACK_ENTER("Paralel:Write", kPortModule);
  CALLSTACK_LINE();
  const OverlappedWriteResult result =
      OverlappedWrite(portHandle_, data, {"CreateEvent failed in Paralel:Write.", "WriteFile failed in Paralel:Write."});
  if (result.failure != nullptr) RecordFailure(result.failure, result.lastError);
  return result.written;
}
