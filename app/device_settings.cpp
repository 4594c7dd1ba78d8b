#include "app/device_settings.h"

#include <windows.h>
#include <commctrl.h>

#include "app/device_text.h"
#include "app/options.h"
#include "registry/tv_registry.h"

namespace {
using Field = DeviceProblem::Field;

// The hotkey control's form: a key in the low byte, HOTKEYF_* in the next.
void CheckHotkey(std::vector<DeviceProblem>& problems, Field field, std::uint32_t form, std::uint32_t other) {
  if (form == 0) return;
  const std::uint32_t flags = (form >> 8) & 0xFF;
  const UINT vk = form & 0xFF;
  if (form > 0xFFFF || (flags & ~(HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT)) != 0) {
    problems.push_back({field, std::to_string(form) + " is not a key combination."});
  } else if (vk == 0) {
    problems.push_back({field, "the hotkey has no key, only Ctrl, Shift or Alt."});
  } else if ((flags & (HOTKEYF_CONTROL | HOTKEYF_ALT)) == 0 && MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) != 0) {
    // Windows would take that key from every program, our own typing included.
    problems.push_back({field, "a key that types a character needs Ctrl or Alt with it."});
  } else if (form == other) {
    problems.push_back({field, "the prompt and the pause have the same hotkey."});
  }
}

void CheckText(std::vector<DeviceProblem>& problems, Field field, const std::string& text) {
  std::string problem;
  if (!CommandBytes(text, &problem)) problems.push_back({field, problem});
}
}  // namespace

const char* DeviceValueName(Field field) {
  switch (field) {
    case Field::Prompt: return "Prompt";
    case Field::PromptHotkey: return "PromptHotkey";
    case Field::PromptEveryMs: return "PromptEveryMs";
    case Field::AtStart: return "AtStart";
    case Field::AfterRecord: return "AfterRecord";
    case Field::PauseHotkey: return "PauseHotkey";
    case Field::RepeatWithinMs: return "RepeatWithinMs";
  }
  return "";
}

std::vector<DeviceProblem> CheckDeviceSettings(const DeviceSettings& settings) {
  std::vector<DeviceProblem> problems;
  CheckText(problems, Field::Prompt, settings.prompt);
  CheckHotkey(problems, Field::PromptHotkey, settings.promptHotkey, 0);
  const std::uint32_t every = settings.promptEveryMs;
  if (every != 0 && every < kShortestPromptEveryMs) {
    problems.push_back({Field::PromptEveryMs, std::to_string(every) + " ms is too short: at least " +
                                                  std::to_string(kShortestPromptEveryMs) + " ms, or 0 for none."});
  } else if (every > kLongestPromptEveryMs) {
    problems.push_back({Field::PromptEveryMs, std::to_string(every) + " ms is longer than a timer can count."});
  }
  CheckText(problems, Field::AtStart, settings.atStart);
  CheckText(problems, Field::AfterRecord, settings.afterRecord);
  CheckHotkey(problems, Field::PauseHotkey, settings.pauseHotkey, settings.promptHotkey);
  return problems;
}

DeviceSettings DeviceSettingsLoad() {
  DeviceSettings settings;
  settings.prompt = TVRegGetString(kDeviceKey, "Prompt");
  settings.promptHotkey = TVRegGetDWord(kDeviceKey, "PromptHotkey");
  settings.promptEveryMs = TVRegGetDWord(kDeviceKey, "PromptEveryMs");
  settings.atStart = TVRegGetString(kDeviceKey, "AtStart");
  settings.afterRecord = TVRegGetString(kDeviceKey, "AfterRecord");
  settings.pauseHotkey = TVRegGetDWord(kDeviceKey, "PauseHotkey");
  settings.repeatWithinMs = TVRegGetDWord(kOptionsKey, "RepeatWithinMs");
  return settings;
}

bool DeviceSettingsSave(const DeviceSettings& settings) {
  bool saved = TVRegWriteString(kDeviceKey, "Prompt", settings.prompt) == ERROR_SUCCESS;
  saved = TVRegWriteDWord(kDeviceKey, "PromptHotkey", settings.promptHotkey) == ERROR_SUCCESS && saved;
  saved = TVRegWriteDWord(kDeviceKey, "PromptEveryMs", settings.promptEveryMs) == ERROR_SUCCESS && saved;
  saved = TVRegWriteString(kDeviceKey, "AtStart", settings.atStart) == ERROR_SUCCESS && saved;
  saved = TVRegWriteString(kDeviceKey, "AfterRecord", settings.afterRecord) == ERROR_SUCCESS && saved;
  saved = TVRegWriteDWord(kDeviceKey, "PauseHotkey", settings.pauseHotkey) == ERROR_SUCCESS && saved;
  return TVRegWriteDWord(kOptionsKey, "RepeatWithinMs", settings.repeatWithinMs) == ERROR_SUCCESS && saved;
}

UsableDeviceSettings DeviceSettingsForStart() {
  UsableDeviceSettings usable{DeviceSettingsLoad(), {}};
  usable.problems = CheckDeviceSettings(usable.settings);
  DeviceSettings& s = usable.settings;
  for (const DeviceProblem& problem : usable.problems) {
    switch (problem.field) {
      case Field::Prompt: s.prompt.clear(); break;
      case Field::PromptHotkey: s.promptHotkey = 0; break;
      case Field::PromptEveryMs: s.promptEveryMs = 0; break;
      case Field::AtStart: s.atStart.clear(); break;
      case Field::AfterRecord: s.afterRecord.clear(); break;
      case Field::PauseHotkey: s.pauseHotkey = 0; break;
      case Field::RepeatWithinMs: s.repeatWithinMs = 0; break;
    }
  }
  return usable;
}

std::string SkippedDeviceText(const std::vector<DeviceProblem>& problems) {
  std::string text;
  for (const DeviceProblem& problem : problems) {
    if (!text.empty()) text += "\r\n";
    text += std::string("Device value ") + DeviceValueName(problem.field) + " skipped: " + problem.what;
  }
  return text;
}
