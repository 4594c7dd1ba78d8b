#include "app/device_commands.h"

#include <utility>

#include "app/device_text.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A02  Device";

std::string Bytes(const std::string& text) { return CommandBytes(text, nullptr).value_or(std::string()); }
}  // namespace

bool RepeatFilter::Repeated(const std::string& record, std::uint64_t nowMs) {
  const bool repeated = withinMs_ > 0 && any_ && record == last_ && nowMs - lastMs_ <= withinMs_;
  any_ = true;
  last_ = record;
  lastMs_ = nowMs;
  return repeated;
}

DeviceCommands::DeviceCommands(HWND window, Writer write) : window_(window), write_(std::move(write)) {
  const UsableDeviceSettings usable = DeviceSettingsForStart();
  settings_ = usable.settings;
  problems_ = SkippedDeviceText(usable.problems);
  prompt_ = Bytes(settings_.prompt);
  atStart_ = Bytes(settings_.atStart);
  afterRecord_ = Bytes(settings_.afterRecord);
  repeats_ = RepeatFilter(settings_.repeatWithinMs);
}

DeviceCommands::~DeviceCommands() { KillTimer(window_, kPromptTimer); }

std::string DeviceCommands::Started() {
  CALLSTACK_ENTER("DeviceCommands:Started", kModule);
  std::string text = problems_;
  auto refused = [&](const char* name, const SystemHotkey& key) {
    if (!text.empty()) text += "\r\n";
    text += std::string("Device value ") + name + " not used: " + key.ErrorDesc();
  };
  // Without a prompt the prompt's hotkey would ask nothing: it is not taken
  // from other programs either.
  if (settings_.promptHotkey != 0 && !prompt_.empty() &&
      !promptKey_.Register(window_, kPromptHotkeyId, settings_.promptHotkey)) {
    refused("PromptHotkey", promptKey_);
  }
  if (settings_.pauseHotkey != 0 && !pauseKey_.Register(window_, kPauseHotkeyId, settings_.pauseHotkey)) {
    refused("PauseHotkey", pauseKey_);
  }
  if (settings_.promptEveryMs != 0 && !prompt_.empty()) SetTimer(window_, kPromptTimer, settings_.promptEveryMs, nullptr);
  PortBack();
  return text;
}

void DeviceCommands::PortBack() {
  if (!atStart_.empty()) Due(atStart_);
}

bool DeviceCommands::Dispatch(UINT message, WPARAM wParam) {
  if (message == WM_TIMER && wParam == kPromptTimer) {
    Send(prompt_);
  } else if (message == WM_HOTKEY && wParam == static_cast<WPARAM>(kPromptHotkeyId)) {
    Send(prompt_);
  } else if (message == kSendDueMessage) {
    duePosted_ = false;
    Send({});
  } else {
    return false;
  }
  return true;
}

bool DeviceCommands::RecordArrived(const std::string& record) {
  if (!afterRecord_.empty()) Due(afterRecord_);
  if (!repeats_.Repeated(record, GetTickCount64())) return true;
  ++repeatsDropped_;
  return false;
}

// Records end inside the port's batch: what they make due is sent from the
// message loop, after the batch.
void DeviceCommands::Due(const std::string& bytes) {
  due_.push_back(bytes);
  if (!duePosted_) duePosted_ = PostMessageA(window_, kSendDueMessage, 0, 0) != FALSE;
}

void DeviceCommands::Send(const std::string& bytes) {
  CALLSTACK_ENTER("DeviceCommands:Send", kModule);
  // A port that takes nothing (not open, or lost by this very write) gets
  // nothing more of what was due: it is sent again when the port is back.
  while (!due_.empty()) {
    const bool sent = write_(due_.front());
    due_.pop_front();
    if (!sent) {
      due_.clear();
      return;
    }
  }
  if (!bytes.empty()) write_(bytes);
}
