#pragma once
// The program's options, kept apart from the port settings: "Type as text"
// and "Pause between keys" in HKCU\Software\Talvik\<application name>\Options, and "Start with
// Windows" as the program's value under the user's Run key.
#include <cstdint>
#include <string>

inline constexpr const char* kOptionsKey = "Options";

// "KeyPauseMs": the pause between keys, one of kKeyPauses; any other
// stored value, or none, reads as 0 (no pause).
inline constexpr unsigned kKeyPauses[] = {0, 5, 10, 20, 50};
unsigned KeyPauseOptionGet();
// False when the value could not be written.
bool KeyPauseOptionSet(unsigned ms);

// "TypeText": 1 on; 0, missing or anything else off.
bool TypeTextOptionGet();
// False when the value could not be written.
bool TypeTextOptionSet(bool on);

// "RecordGapMs": how long the device may be silent before the record it
// sends counts as ended (with data rules); 0: only line ends end records.
inline constexpr std::uint32_t kDefaultRecordGapMs = 100;
std::uint32_t RecordGapMsGet();

// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value "TV-SERKEY".
inline constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "TV-SERKEY";

// The quoted full path of the running executable followed by " /START".
std::string StartWithWindowsCommand();
// Whether a Run value `command` starts the executable at `exePath`: the
// path it names (quoted, or up to the first blank) is that one, in any case.
bool RunCommandNames(const std::string& command, const std::string& exePath);
// The Run value exists and names this executable.
bool StartWithWindowsGet();
// Writes or removes the Run value; false when the registry refused.
bool StartWithWindowsSet(bool on);
