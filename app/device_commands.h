#pragma once
// What a running port says to its device: the start text, the prompt on
// its timer and hotkey, the text after each record; and which records are
// repeats to drop. Made at each start from the stored settings, gone with
// the port (its timer and hotkeys with it).
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "app/device_settings.h"
#include "platform/hotkey.h"

// A record equal to the one before, within the time of it, is a repeat;
// the time counts from the last repeat, so a card left on a reader stays
// silent for as long as it lies there.
class RepeatFilter {
 public:
  explicit RepeatFilter(std::uint32_t withinMs = 0) : withinMs_(withinMs) {}
  bool Repeated(const std::string& record, std::uint64_t nowMs);

 private:
  std::uint32_t withinMs_;
  bool any_ = false;
  std::string last_;
  std::uint64_t lastMs_ = 0;
};

class DeviceCommands {
 public:
  // Ids of the port's timer and hotkeys, and the message that sends what
  // is due outside the batch that made it due.
  static constexpr UINT_PTR kPromptTimer = 0x7C40;
  static constexpr int kPromptHotkeyId = 0x7C41;
  static constexpr int kPauseHotkeyId = 0x7C42;
  static constexpr UINT kSendDueMessage = WM_APP + 0x70;

  // Writes on the running port; false when it is not open or did not take all.
  using Writer = std::function<bool(const std::string&)>;
  // Takes the stored settings, leaving out what cannot be used.
  DeviceCommands(HWND window, Writer write);
  ~DeviceCommands();
  DeviceCommands(const DeviceCommands&) = delete;
  DeviceCommands& operator=(const DeviceCommands&) = delete;

  // Records must be cut also without data rules: something looks at each.
  bool LooksAtRecords() const { return !afterRecord_.empty() || settings_.repeatWithinMs > 0; }
  // The port is open: hotkeys, the prompt timer, the start text. Returns
  // one line per value left out or refused (for the one balloon).
  std::string Started();
  // A lost port is open again: the start text once more.
  void PortBack();
  // The timer, the prompt's hotkey and what is due; false for anything else.
  bool Dispatch(UINT message, WPARAM wParam);
  // A whole record came (text mode): the text after it is due; false when
  // it is a repeat, not to be typed.
  bool RecordArrived(const std::string& record);
  std::size_t RepeatsDropped() const { return repeatsDropped_; }
  std::uint32_t PauseHotkey() const { return pauseKey_.Registered() ? settings_.pauseHotkey : 0; }

 private:
  void Due(const std::string& bytes);
  // In order, each whole: what is due first, then `bytes`.
  void Send(const std::string& bytes);

  HWND window_;
  Writer write_;
  DeviceSettings settings_;
  std::string problems_;
  std::string prompt_, atStart_, afterRecord_;
  SystemHotkey promptKey_, pauseKey_;
  RepeatFilter repeats_;
  std::size_t repeatsDropped_ = 0;
  std::deque<std::string> due_;
  bool duePosted_ = false;
};
