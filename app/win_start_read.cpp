// Received bytes to keystrokes: the running port reads and translates, the
// window types the keys and shows what came.
#include <string>
#include <vector>

#include "app/win_start.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A00  Start Window";

// A caption that already reads `text` is left as it is: setting it again
// shows nothing new but costs a trip to the window system, ahead of the
// batch's keys (under Wine about 0.4 ms of each single byte's way).
void ShowCaption(Control& control, const std::string& text) {
  if (control.Caption() != text) control.Caption(text);
}
}  // namespace

void WinStart::ReadSerial() {
  CALLSTACK_ENTER("WinStart:ReadSerial", kModule);
  if (port_) port_->ReadBatch();
}

void WinStart::TypeKeys(std::vector<TextKey> keys) {
  if (typingPaused_) {
    droppedWhilePaused_ += keys.size();
    return;
  }
  typing_.Push(std::move(keys));
}

void WinStart::BatchRead(const std::string& bytes) {
  lastBatch_ = bytes;
  if (deviceListener_ && !bytes.empty()) deviceListener_(bytes);
  ShowCaption(oDCStatusByte, std::to_string(bytes.size()));
  ShowReadStatus();
}

void WinStart::KeysQueued() { ShowReadStatus(); }

// While paced keys wait, the field counts them down (every 100 ms by the
// backlog timer); then it shows the last batch again. A lost port's
// "Waiting for" stays while its keys are typed.
void WinStart::ShowReadStatus() {
  const bool portOpen = SerialPort() != nullptr;
  const std::size_t pending = keyPauseMs_ > 0 && portOpen ? typing_.Pending() : 0;
  if (pending > 0) {
    ShowCaption(oDCStatusText, std::to_string(pending) + (pending == 1 ? " key to type" : " keys to type"));
    if (!backlogShown_) SetTimer(Handle(), kBacklogTimer, 100, nullptr);
    backlogShown_ = true;
    return;
  }
  if (backlogShown_) KillTimer(Handle(), kBacklogTimer);
  backlogShown_ = false;
  if (portOpen) ShowCaption(oDCStatusText, "Read: " + lastBatch_ + DeviceStatus());
}
