#pragma once
// What the program says to the device, in HKCU\Software\Talvik\<application
// name>\Device: the REG_SZ texts "Prompt", "AtStart" and "AfterRecord" (in
// the notation of app/device_text.h) and the REG_DWORD values
// "PromptHotkey", "PromptEveryMs" and "PauseHotkey"; and "RepeatWithinMs"
// under Options, since it shapes what is typed, not what is sent.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kDeviceKey = "Device";

// Shortest prompt interval: a device asked more often than this cannot
// answer one prompt before the next.
inline constexpr std::uint32_t kShortestPromptEveryMs = 100;
// Longest: what a window timer can count to.
inline constexpr std::uint32_t kLongestPromptEveryMs = 0x7FFFFFFF;

struct DeviceSettings {
  std::string prompt;       // what "ask the device" sends
  std::uint32_t promptHotkey = 0;   // hotkey control form; 0: none
  std::uint32_t promptEveryMs = 0;  // 0: no timer
  std::string atStart;      // sent each time the port starts
  std::string afterRecord;  // sent after each record
  std::uint32_t pauseHotkey = 0;     // toggles typing; 0: none
  std::uint32_t repeatWithinMs = 0;  // a repeated record this soon is dropped; 0: never
  bool operator==(const DeviceSettings&) const = default;
};

// One value that cannot be used.
struct DeviceProblem {
  enum class Field { Prompt, PromptHotkey, PromptEveryMs, AtStart, AfterRecord, PauseHotkey, RepeatWithinMs };
  Field field;
  std::string what;  // why, as the end of a sentence about the field
};

// The registry value a field is stored as ("PromptEveryMs").
const char* DeviceValueName(DeviceProblem::Field field);

// Every value that cannot be used, in the order of the fields.
std::vector<DeviceProblem> CheckDeviceSettings(const DeviceSettings& settings);

// The settings as stored; a missing value is empty or 0.
DeviceSettings DeviceSettingsLoad();
// False when the registry refused a value.
bool DeviceSettingsSave(const DeviceSettings& settings);

// The stored settings as a start uses them: each value that cannot be used
// is left out (empty or 0) and named in `problems`.
struct UsableDeviceSettings {
  DeviceSettings settings;
  std::vector<DeviceProblem> problems;
};
UsableDeviceSettings DeviceSettingsForStart();
// One line per value left out, for the balloon ("Device value PromptEveryMs
// skipped: ..."); empty when none was.
std::string SkippedDeviceText(const std::vector<DeviceProblem>& problems);
