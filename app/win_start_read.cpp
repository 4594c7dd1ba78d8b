// Received bytes to keystrokes.
#include <string>
#include <vector>

#include "app/keystrokes.h"
#include "app/win_start.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr std::size_t kBatchBytes = 30;

// A caption that already reads `text` is left as it is: setting it again
// shows nothing new but costs a trip to the window system, ahead of the
// batch's keys (under Wine about 0.4 ms of each single byte's way).
void ShowCaption(Control& control, const std::string& text) {
  if (control.Caption() != text) control.Caption(text);
}
}  // namespace

void WinStart::ReadSerial() {
  CALLSTACK_ENTER("WinStart:ReadSerial", kModule);
  if (!oSerial || lReading) return;
  lReading = true;
  // Take only what is already waiting: a read for more than that would wait
  // out the port's read time-out with the window frozen.
  const std::size_t count = BatchSize(oSerial->ReceiverPending(), kBatchBytes);
  const std::string data = count > 0 ? oSerial->Read(static_cast<DWORD>(count)) : std::string();
  // Text mode translates every batch, typed or not, so that a CR whose LF
  // comes in the next batch is still one Enter. The keys go first: the
  // captions can wait, the window in front should not.
  typing_.Push(lTypeText ? TextKeysFor(data) : BytesAsKeys(data));
  lastBatch_ = data;
  ShowCaption(oDCStatusByte, std::to_string(data.size()));
  ShowReadStatus();
  lReading = false;
  // A read that came back short of what was waiting may have met a pulled
  // adapter: look at the port now rather than at the next check.
  if (data.size() < count) CheckPort();
  // Notifications queued while this batch ran announce bytes it already
  // took. Where the driver reports EV_RXCHAR for as long as bytes wait (Wine
  // does), they come by the thousand and would each show an empty batch.
  MSG stale;
  while (PeekMessageA(&stale, Handle(), WM_COMMNOTIFY, WM_COMMNOTIFY, PM_REMOVE)) {
  }
  // Bytes left behind get their own batch at once, with the message loop
  // running in between, instead of waiting for the device's next byte. Not
  // after a batch that took nothing (a failing read with bytes still
  // counted): that would post itself for good and starve the window.
  if (oSerial && AnotherBatchDue(data.size(), oSerial->ReceiverPending())) {
    PostMessageA(Handle(), WM_COMMNOTIFY, 1, 0);
  }
}

// While paced keys wait, the field counts them down (every 100 ms by the
// backlog timer); then it shows the last batch again. A lost port's
// "Waiting for" stays while its keys are typed.
void WinStart::ShowReadStatus() {
  const std::size_t pending = keyPauseMs_ > 0 && oSerial ? typing_.Pending() : 0;
  if (pending > 0) {
    ShowCaption(oDCStatusText, std::to_string(pending) + (pending == 1 ? " key to type" : " keys to type"));
    if (!backlogShown_) SetTimer(Handle(), kBacklogTimer, 100, nullptr);
    backlogShown_ = true;
    return;
  }
  if (backlogShown_) KillTimer(Handle(), kBacklogTimer);
  backlogShown_ = false;
  if (oSerial) ShowCaption(oDCStatusText, "Read: " + lastBatch_);
}
