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
  ShowCaption(oDCStatusByte, std::to_string(data.size()));
  ShowCaption(oDCStatusText, "Read: " + data);
  // Keys meant for another program would press our own button or move our
  // lists while this window is in front (after a click on the icon, say).
  // Text mode translates every batch, typed or not, so that a CR whose LF
  // comes in the next batch is still one Enter.
  if (lTypeText) {
    const std::vector<TextKey> keys = TextKeysFor(data);
    if (!IsForeground()) TypeText(keys);
  } else if (!IsForeground()) {
    TypeBytes(data);
  }
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
