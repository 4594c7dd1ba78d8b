#pragma once
// The line settings the main window offers and keeps in the registry.
#include <cstdint>
#include <optional>

struct ListItem {
  const char* text;
  long value;
};

inline constexpr const char* kSettingsKey = "Setting";

// Baud rates the port accepts; there is no 57600 and no 115200.
inline constexpr ListItem kBaudRateItems[] = {
    {"110", 110},     {"300", 300},     {"600", 600},     {"1200", 1200},     {"2400", 2400},
    {"4800", 4800},   {"9600", 9600},   {"14400", 14400}, {"19200", 19200},   {"38400", 38400},
    {"56000", 56000}, {"128000", 128000}, {"256000", 256000},
};
inline constexpr ListItem kDataBitsItems[] = {{"7", 7}, {"8", 8}};
// Win32 parity codes, "None" last.
inline constexpr ListItem kParityItems[] = {{"Odd", 1}, {"Even", 2}, {"Mark", 3}, {"Space", 4}, {"None", 0}};
// Win32 stop-bit codes; one and a half is not offered.
inline constexpr ListItem kStopBitsItems[] = {{"1", 0}, {"2", 2}};

// What a port has right after it opens, and what a missing saved value reads as.
inline constexpr std::uint32_t kDefaultBaud = 9600;
inline constexpr std::uint32_t kDefaultDataBits = 8;
inline constexpr std::uint32_t kDefaultParity = 0;
inline constexpr std::uint32_t kDefaultStopBits = 0;

// The setting a started port runs with: the list's selection, or, with no
// selection, the value the port keeps from opening. Saved and applied alike,
// so the registry always holds what the port really uses.
inline std::uint32_t SettingInUse(const std::optional<long>& selected, std::uint32_t openDefault) {
  return selected ? static_cast<std::uint32_t>(*selected) : openDefault;
}
