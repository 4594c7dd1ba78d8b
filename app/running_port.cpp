#include "app/running_port.h"

#include <utility>

#include "app/keystrokes.h"
#include "errors/callstack.h"
#include "platform/posted_messages.h"

namespace {
constexpr const char* kModule = "A01  Running Port";
constexpr std::size_t kBatchBytes = 30;
}  // namespace

RunningPort::RunningPort(HWND window, PortSeat& seat, std::string name, LineSettings line)
    : oSerial(std::make_unique<Serial>(window)), window_(window), seat_(seat), name_(std::move(name)), line_(line) {}

// No check, retry or record gap outlives the port.
RunningPort::~RunningPort() {
  KillTimer(window_, kPortCheckTimer);
  KillTimer(window_, kPortRetryTimer);
  KillTimer(window_, kRecordGapTimer);
  if (oSerial) oSerial->Close();
}

bool RunningPort::Open() {
  CALLSTACK_ENTER("RunningPort:Open", kModule);
  if (!oSerial->Open(name_)) return false;
  ApplyLineSettings(*oSerial);
  CALLSTACK_LINE();
  if (!oSerial->SetProtocol()) return false;
  oSerial->EnableEvents(EV_RXCHAR);
  ReadWhatWaits();
  SetTimer(window_, kPortCheckTimer, kPortCheckMs, nullptr);
  return true;
}

std::string RunningPort::ErrorDesc() const { return oSerial ? oSerial->ErrorDesc() : std::string(); }

void RunningPort::ApplyLineSettings(Serial& port) const {
  if (line_.baud) port.Baud(*line_.baud);
  if (line_.byteSize) port.ByteSize(*line_.byteSize);
  if (line_.parity) port.Parity(*line_.parity);
  if (line_.stopBits) port.StopBits(*line_.stopBits);
}

void RunningPort::Rules(RuleSet rules) {
  KillTimer(window_, kRecordGapTimer);
  keys_.Rules(std::move(rules));
}

void RunningPort::ReadBatch() {
  CALLSTACK_ENTER("RunningPort:ReadBatch", kModule);
  if (!oSerial || lReading) return;
  lReading = true;
  // Take only what is already waiting: a read for more than that would wait
  // out the port's read time-out with the window frozen.
  const std::size_t count = BatchSize(oSerial->ReceiverPending(), kBatchBytes);
  const std::string data = count > 0 ? oSerial->Read(static_cast<DWORD>(count)) : std::string();
  // Text mode translates every batch, typed or not, so that a CR whose LF
  // comes in the next batch is still one Enter. The keys go first: the
  // captions can wait, the window in front should not.
  seat_.TypeKeys(keys_.Translate(data));
  // The gap counts from the last byte: a batch that brought none moves nothing.
  if (keys_.TypeAsText() && !data.empty()) {
    if (keys_.RecordOpen() && recordGapMs_ > 0) {
      SetTimer(window_, kRecordGapTimer, recordGapMs_, nullptr);
    } else {
      KillTimer(window_, kRecordGapTimer);
    }
  }
  seat_.BatchRead(data);
  lReading = false;
  // A read that came back short of what was waiting may have met a pulled
  // adapter: look at the port now rather than at the next check.
  if (data.size() < count) CheckPort();
  // Notifications queued while this batch ran announce bytes it already
  // took. Where the driver reports EV_RXCHAR for as long as bytes wait (Wine
  // does), they come by the thousand and would each show an empty batch.
  DropPosted(window_, kCommNotifyMessage);
  // Bytes left behind get their own batch at once, with the message loop
  // running in between, instead of waiting for the device's next byte.
  if (oSerial && AnotherBatchDue(count, data.size(), oSerial->ReceiverPending())) {
    PostMessageA(window_, kCommNotifyMessage, kCommNotifyWParam, 0);
  }
}

// Where EV_RXCHAR is an edge (Windows), bytes that came between the purge of
// opening and the arming of the watcher are never announced.
void RunningPort::ReadWhatWaits() {
  if (oSerial && oSerial->ReceiverPending() > 0) PostMessageA(window_, kCommNotifyMessage, kCommNotifyWParam, 0);
}

bool RunningPort::Dispatch(UINT message, WPARAM wParam) {
  if (message != WM_TIMER) return false;
  switch (wParam) {
    case kPortCheckTimer:
      CheckPort();
      return true;
    case kPortRetryTimer:
      RetryPort();
      return true;
    case kRecordGapTimer:
      RecordGapEnded();
      return true;
    default:
      return false;
  }
}

void RunningPort::RecordGapEnded() {
  CALLSTACK_ENTER("RunningPort:RecordGapEnded", kModule);
  KillTimer(window_, kRecordGapTimer);
  std::vector<TextKey> keys = keys_.EndOfGap();
  if (keys.empty()) return;
  seat_.TypeKeys(std::move(keys));
  seat_.KeysQueued();
}
