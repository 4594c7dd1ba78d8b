#include "serial/serial.h"

#include <algorithm>
#include <array>

#include "errors/callstack.h"

namespace {

constexpr std::array<DWORD, 13> kBaudRates = {110,   300,   600,   1200,  2400,   4800,  9600,
                                              14400, 19200, 38400, 56000, 128000, 256000};

}  // namespace

Serial::Serial(HWND ownerWindow)
    : watchBlock_(std::make_unique<WatchBlock>()),
      dcb_(std::make_unique<DCB>()),
      timeouts_(std::make_unique<COMMTIMEOUTS>()),
      ownerWindow_(ownerWindow) {
  CALLSTACK_ENTER("Serial:Init", kPortModule);
  // Until the first Open these are only what the getters answer: 9600 8N1
  // and the time-outs Open would set.
  dcb_->DCBlength = sizeof(DCB);
  dcb_->fBinary = TRUE;
  dcb_->BaudRate = CBR_9600;
  dcb_->ByteSize = 8;
  dcb_->Parity = NOPARITY;
  dcb_->StopBits = ONESTOPBIT;
  *timeouts_ = {MAXDWORD, 500, 1000, 0, 1000};
}

Serial::~Serial() {
  CALLSTACK_ENTER("Serial:Axit", kPortModule);
  // The owner closes the port first; one left open would stay locked to this
  // process, so it is closed here (which also stops the watcher).
  if (portHandle_ != INVALID_HANDLE_VALUE) Close();
  // A watcher that has not ended (one still showing its message box, say)
  // holds the block's address: ask it to stop and leave the block alive
  // rather than free it under the thread.
  if (eventsEnabled_ && !watchBlock_->Ended.load()) {
    watchBlock_->Stop.store(1);
    watchBlock_.release();
  }
  // Close kept the port open for that watcher; with the object gone it must
  // not stay locked to this process. Closing it ends a wait still pending.
  if (portHandle_ != INVALID_HANDLE_VALUE) CloseHandle(portHandle_);
}

bool Serial::Open(const std::string& portName) {
  CALLSTACK_ENTER("Serial:Open", kPortModule);
  // An object opened twice would lose its first handle: close that one first
  // (it stays, and so does Close's failure, while a watcher still waits on it).
  if (portHandle_ != INVALID_HANDLE_VALUE && !Close() && portHandle_ != INVALID_HANDLE_VALUE) return false;
  CALLSTACK_LINE();
  portHandle_ = CreateFileA(DeviceNamespaceName(portName, "COM").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  bool result = false;
  if (portHandle_ == INVALID_HANDLE_VALUE) {
    RecordFailure("CreateFile failed in Open.", GetLastError());
  } else {
    CALLSTACK_LINE();
    result = SetupComm(portHandle_, receiveBufferSize_, transmitBufferSize_) != FALSE;
    if (!result) {
      RecordFailure("SetupComm failed in Open.", GetLastError());
    } else if (Flush()) {
      // The rest only stops at a failing step; Open has succeeded already.
      ReadIntervalTimeout(MAXDWORD);
      ReadTimeoutMultiplier(500);
      ReadTimeoutConstant(1000);
      WriteTimeoutMultiplier(0);
      WriteTimeoutConstant(1000);
      if (SetTimeOut() && GetProtocol()) {
        Baud(9600);
        Parity(0);
        ByteSize(8);
        StopBits(0);
        SetProtocol();
      }
    }
  }
  opened_ = result;
  return result;
}

bool Serial::Close() {
  CALLSTACK_ENTER("Serial:Close", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return false;
  // The watcher must be gone before the handle it waits on is purged and
  // closed; one that will not stop keeps the port open (DisableEvents has
  // left its failure behind).
  if (EventsEnabled() && !DisableEvents() && EventsEnabled()) return false;
  Flush();
  CALLSTACK_LINE();
  if (!CloseHandle(portHandle_)) {
    RecordFailure("CloseHandle failed.", GetLastError());
    return false;
  }
  opened_ = false;
  portHandle_ = INVALID_HANDLE_VALUE;
  return true;
}

bool Serial::SetProtocol() {
  CALLSTACK_ENTER("Serial:SetProtocol", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return false;
  CALLSTACK_LINE();
  dcb_->DCBlength = sizeof(DCB);
  if (!SetCommState(portHandle_, dcb_.get())) {
    RecordFailure("SetCommState failed in SetProtocol.", GetLastError());
    return false;
  }
  return true;
}

bool Serial::GetProtocol() {
  CALLSTACK_ENTER("Serial:GetProtocol", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return false;
  CALLSTACK_LINE();
  dcb_->DCBlength = sizeof(DCB);
  if (!GetCommState(portHandle_, dcb_.get())) {
    RecordFailure("GetCommState failed in GetProtocol.", GetLastError());
    return false;
  }
  return true;
}

bool Serial::SetTimeOut() {
  CALLSTACK_ENTER("Serial:SetTimeOut", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return false;
  CALLSTACK_LINE();
  if (!SetCommTimeouts(portHandle_, timeouts_.get())) {
    RecordFailure("SetCommTimeouts failed in SetTimeOut.", GetLastError());
    return false;
  }
  return true;
}

bool Serial::GetTimeOut() {
  CALLSTACK_ENTER("Serial:GetTimeOut", kPortModule);
  if (portHandle_ == INVALID_HANDLE_VALUE) return false;
  CALLSTACK_LINE();
  if (!GetCommTimeouts(portHandle_, timeouts_.get())) {
    RecordFailure("GetCommTimeouts failed in GetTimeOut.", GetLastError());
    return false;
  }
  return true;
}

bool Serial::Flush() {
  CALLSTACK_ENTER("Serial:Flush", kPortModule);
  CALLSTACK_LINE();
  if (!PurgeComm(portHandle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
    RecordFailure("PurgeComm failed.", GetLastError());
    return false;
  }
  return true;
}

DWORD Serial::Baud() const { return dcb_->BaudRate; }

void Serial::Baud(DWORD value) {
  if (std::find(kBaudRates.begin(), kBaudRates.end(), value) != kBaudRates.end()) dcb_->BaudRate = value;
}

std::uint8_t Serial::ByteSize() const { return dcb_->ByteSize; }

void Serial::ByteSize(std::uint32_t value) {
  if (value == 7 || value == 8) dcb_->ByteSize = static_cast<BYTE>(value);
}

std::uint8_t Serial::Parity() const { return dcb_->Parity; }

void Serial::Parity(std::uint32_t value) {
  if (value <= SPACEPARITY) dcb_->Parity = static_cast<BYTE>(value);
}

std::uint8_t Serial::StopBits() const { return dcb_->StopBits; }

void Serial::StopBits(std::uint32_t value) {
  if (value <= TWOSTOPBITS) dcb_->StopBits = static_cast<BYTE>(value);
}

DWORD Serial::ReadIntervalTimeout() const { return timeouts_->ReadIntervalTimeout; }
void Serial::ReadIntervalTimeout(DWORD value) { timeouts_->ReadIntervalTimeout = value; }
DWORD Serial::ReadTimeoutMultiplier() const { return timeouts_->ReadTotalTimeoutMultiplier; }
void Serial::ReadTimeoutMultiplier(DWORD value) { timeouts_->ReadTotalTimeoutMultiplier = value; }
DWORD Serial::ReadTimeoutConstant() const { return timeouts_->ReadTotalTimeoutConstant; }
void Serial::ReadTimeoutConstant(DWORD value) { timeouts_->ReadTotalTimeoutConstant = value; }
DWORD Serial::WriteTimeoutMultiplier() const { return timeouts_->WriteTotalTimeoutMultiplier; }
void Serial::WriteTimeoutMultiplier(DWORD value) { timeouts_->WriteTotalTimeoutMultiplier = value; }
DWORD Serial::WriteTimeoutConstant() const { return timeouts_->WriteTotalTimeoutConstant; }
void Serial::WriteTimeoutConstant(DWORD value) { timeouts_->WriteTotalTimeoutConstant = value; }

void Serial::ReceiveBufferSize(std::uint32_t value) {
  if (value <= 0xFFFF) receiveBufferSize_ = static_cast<std::uint16_t>(value);
}

void Serial::TransmitBufferSize(std::uint32_t value) {
  if (value <= 0xFFFF) transmitBufferSize_ = static_cast<std::uint16_t>(value);
}
