#include "app/options.h"

#include <windows.h>

#include "registry/registry_roots.h"
#include "registry/tv_registry.h"

unsigned KeyPauseOptionGet() {
  const DWORD stored = TVRegGetDWordEx(kOptionsKey, "KeyPauseMs", 0);
  for (const unsigned ms : kKeyPauses) {
    if (stored == ms) return ms;
  }
  return 0;
}

bool KeyPauseOptionSet(unsigned ms) { return TVRegWriteDWord(kOptionsKey, "KeyPauseMs", ms) == ERROR_SUCCESS; }

bool TypeTextOptionGet() { return TVRegGetDWordEx(kOptionsKey, "TypeText", 0) == 1; }

bool TypeTextOptionSet(bool on) { return TVRegWriteDWord(kOptionsKey, "TypeText", on ? 1 : 0) == ERROR_SUCCESS; }

std::uint32_t RecordGapMsGet() { return TVRegGetDWordEx(kOptionsKey, "RecordGapMs", kDefaultRecordGapMs); }

namespace {
std::string ExecutablePath() {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}
}  // namespace

std::string StartWithWindowsCommand() {
  // Built by appending: GCC 12 warns falsely on "\"" + path + ... here.
  std::string command(1, '"');
  command += ExecutablePath();
  command += "\" /START";
  return command;
}

bool RunCommandNames(const std::string& command, const std::string& exePath) {
  std::string named;
  if (!command.empty() && command.front() == '"') {
    const size_t end = command.find('"', 1);
    if (end == std::string::npos) return false;
    named = command.substr(1, end - 1);
  } else {
    named = command.substr(0, command.find(' '));
  }
  return !exePath.empty() && lstrcmpiA(named.c_str(), exePath.c_str()) == 0;
}

bool StartWithWindowsGet() {
  Class_HKCU registry;
  const std::string command = registry.GetString(kRunKeyPath, kRunValueName);
  return registry.LastError() == ERROR_SUCCESS && RunCommandNames(command, ExecutablePath());
}

bool StartWithWindowsSet(bool on) {
  Class_HKCU registry;
  if (on) return registry.WriteString(kRunKeyPath, kRunValueName, StartWithWindowsCommand()) == ERROR_SUCCESS;
  const std::int32_t result = registry.DeleteValue(kRunKeyPath, kRunValueName);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
