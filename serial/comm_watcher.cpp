// Serial: the comm event watcher thread and its start and stop.
#include "errors/callstack.h"
#include "platform/handles.h"
#include "serial/serial.h"

namespace {

// A normal stop ends within a few ms of SetCommMask(0): yield for that long,
// then more gently until the watcher is given up on.
constexpr ULONGLONG kYieldOnlyMs = 100;
constexpr ULONGLONG kStopLimitMs = 3000;

}  // namespace

DWORD WINAPI CommWatchProc(LPVOID parameter) {
  auto* block = static_cast<WatchBlock*>(parameter);
  DWORD result = 0;
  {
    CALLSTACK_ENTER("CommWatchProc", kPortModule);
    KernelHandle event;
    CALLSTACK_LINE();
    if (!SetCommMask(block->PortHandle, block->EventMask)) {
      MessageBoxA(nullptr, "SetCommMask failed!", "CommWatchProc Error", MB_OK);
    } else {
      CALLSTACK_LINE();
      event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
      if (!event) MessageBoxA(nullptr, "CreateEvent failed in CommWatchProc", "CommWatchProc Error", MB_OK);
    }
    if (event) {
      OVERLAPPED overlapped{};
      overlapped.hEvent = event.Get();
      DWORD transferred = 0;
      DWORD events = 0;  // written by the driver when a pending wait completes
      block->Ended.store(0);
      result = 1;
      while (!block->Stop.load()) {
        events = 0;
        CALLSTACK_LINE();
        if (!WaitCommEvent(block->PortHandle, &events, &overlapped)) {
          if (GetLastError() != ERROR_IO_PENDING) {
            result = 0;
            break;
          }
          // A stop that came between the loop test and this wait cleared the
          // mask before the wait began, so nothing would end it (Wine leaves
          // a wait with mask 0 pending for good): clear it again here.
          if (block->Stop.load()) SetCommMask(block->PortHandle, 0);
          // No time limit: the line may stay idle for hours. DisableEvents
          // ends the wait by clearing the port's event mask.
          if (WaitForSingleObject(event.Get(), INFINITE) != WAIT_OBJECT_0 ||
              !GetOverlappedResult(block->PortHandle, &overlapped, &transferred, TRUE)) {
            result = 0;
            break;
          }
        }
        if (events & EV_RXCHAR) {
          PostMessageA(block->OwnerWindow, kCommNotifyMessage, kCommNotifyWParam, static_cast<LPARAM>(transferred));
        }
      }
    }
  }
  // The very last touch of the block: from here on its owner may free it.
  block->Ended.store(1);
  return result;
}

bool Serial::EventsEnabled() const {
  // A watcher that was asked to stop counts until it has really ended, even
  // when DisableEvents gave up waiting for it.
  return eventsEnabled_ && !(watchBlock_->Stop.load() && watchBlock_->Ended.load());
}

bool Serial::EnableEvents(DWORD eventMask) {
  CALLSTACK_ENTER("Serial:EnableEvents", kPortModule);
  // Never a second watcher on the same block while the first still runs.
  if (EventsEnabled()) return false;
  eventsEnabled_ = false;
  watchBlock_->PortHandle = portHandle_;
  watchBlock_->OwnerWindow = ownerWindow_;
  watchBlock_->EventMask = eventMask;
  watchBlock_->Stop.store(0);
  watchBlock_->Ended.store(0);
  CALLSTACK_LINE();
  // The handshake goes through the block alone, so the thread's handle is
  // released at once.
  KernelHandle thread(CreateThread(nullptr, 0, CommWatchProc, watchBlock_.get(), 0, nullptr));
  if (!thread) {
    const DWORD error = GetLastError();
    watchBlock_->Ended.store(1);
    RecordFailure("CreateThread failed in EnableEvent.", error);
    return false;
  }
  eventsEnabled_ = true;
  return true;
}

bool Serial::DisableEvents() {
  CALLSTACK_ENTER("Serial:DisableEvents", kPortModule);
  if (!EventsEnabled()) {
    eventsEnabled_ = false;
    return true;
  }
  watchBlock_->Stop.store(1);
  CALLSTACK_LINE();
  // Clearing the mask completes the pending wait; the watcher then finds Stop.
  if (!SetCommMask(portHandle_, 0)) {
    RecordFailure("SetCommMask failed in DisableEvents.", GetLastError());
    // A watcher that has ended by itself (its own SetCommMask failed) is
    // not reported as still running.
    if (watchBlock_->Ended.load()) eventsEnabled_ = false;
    return false;
  }
  const ULONGLONG start = GetTickCount64();
  while (!watchBlock_->Ended.load()) {
    const ULONGLONG waited = GetTickCount64() - start;
    if (waited >= kStopLimitMs) {
      // A driver that never completes the wait: give up rather than hang the
      // window. The watcher still counts as running.
      CALLSTACK_LINE();
      RecordFailure("CommWatchProc did not end in DisableEvents.", WAIT_TIMEOUT);
      return false;
    }
    Sleep(waited < kYieldOnlyMs ? 0 : 1);
  }
  eventsEnabled_ = false;
  return true;
}
