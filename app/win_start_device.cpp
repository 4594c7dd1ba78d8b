// What the main window says to the device: the commands of the running
// port, the pause of typing, and the "Device..." dialog.
#include <windows.h>
#include <shellapi.h>

#include "app/device_dialog.h"
#include "app/globals.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/hotkey.h"
#include "platform/tray_icon.h"

namespace {
constexpr const char* kModule = "A00  Start Window";

std::string Keys(std::size_t count) { return std::to_string(count) + (count == 1 ? " key" : " keys"); }
}  // namespace

void WinStart::ShowDevice() {
  CALLSTACK_ENTER("WinStart:ShowDevice", kModule);
  DeviceSettings settings = DeviceSettingsLoad();
  EditDeviceSettings(Handle(), settings, this);
}

// Made before the port opens, so that its records are looked at from the
// first byte on.
void WinStart::PrepareDeviceCommands() {
  commands_ = std::make_unique<DeviceCommands>(Handle(), [this](const std::string& bytes) {
    return port_ != nullptr && port_->Send(bytes, nullptr);
  });
  if (commands_->LooksAtRecords()) {
    port_->Keys().OnRecord([this](const std::string& record) { return !commands_ || commands_->RecordArrived(record); });
  }
}

void WinStart::StartDeviceCommands() {
  CALLSTACK_ENTER("WinStart:StartDeviceCommands", kModule);
  const std::string problems = commands_->Started();
  if (!problems.empty()) {
    ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), problems, 0, NIIF_WARNING);
  }
}

bool WinStart::DeviceDispatch(const Event& event) {
  if (!commands_) return false;
  if (event.message == WM_HOTKEY && event.wParam == static_cast<WPARAM>(DeviceCommands::kPauseHotkeyId)) {
    TypingPaused(!typingPaused_);
    return true;
  }
  return commands_->Dispatch(event.message, event.wParam);
}

// Keys already waiting still go out: the pause is for what comes from now on.
void WinStart::TypingPaused(bool on) {
  CALLSTACK_ENTER("WinStart:TypingPaused", kModule);
  if (!IsRunning() || on == typingPaused_) return;
  typingPaused_ = on;
  const std::uint32_t hotkey = commands_ ? commands_->PauseHotkey() : 0;
  const std::string how = hotkey != 0 ? "Press " + HotkeyName(hotkey) + " or choose" : "Choose";
  std::string text;
  if (on) {
    droppedWhilePaused_ = 0;
    text = "Typing is paused: what the device sends is read and dropped. " + how +
           " \"Pause typing\" in this icon's menu to type again.";
  } else {
    text = "Typing resumed; " + Keys(droppedWhilePaused_) + (droppedWhilePaused_ == 1 ? " was" : " were") +
           " dropped while it was paused.";
  }
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), text, 0, NIIF_INFO);
  UpdateMenus();
  ShowReadStatus();
}

std::string WinStart::DeviceStatus() const {
  std::string status;
  if (typingPaused_) status += "  (paused: " + Keys(droppedWhilePaused_) + " dropped)";
  const std::size_t repeats = commands_ ? commands_->RepeatsDropped() : 0;
  if (repeats > 0) status += "  (" + std::to_string(repeats) + (repeats == 1 ? " repeat" : " repeats") + " dropped)";
  return status;
}

bool WinStart::Send(const std::string& bytes, std::string& error) {
  if (!port_) {
    error = "The port is not running: start it, then send the prompt.";
    return false;
  }
  return port_->Send(bytes, &error);
}

void WinStart::Listen(std::function<void(const std::string&)> listener) { deviceListener_ = std::move(listener); }
