#pragma once
// The texts the device is sent (its prompt, the start and after-record
// commands) as the user writes them: characters as themselves in the ANSI
// code page, control bytes by name in braces ({CR} {LF} {TAB} {ESC} {STX}
// {ETX} {ENQ} {ACK} {NAK}), any byte as {xHH}, and "{{" for a brace.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Longest command the device is sent, in bytes: devices take one short line;
// anything longer is a text pasted into the wrong field.
inline constexpr std::size_t kLongestCommand = 1024;

// The bytes `text` stands for; none when it cannot be sent, and then
// `problem` (may be null) says why, naming what is wrong.
std::optional<std::string> CommandBytes(std::string_view text, std::string* problem);

// Bytes shown in the same notation, so that an answer can be read (and
// pasted back as a command): printable characters as themselves, the named
// control bytes by name, other bytes as {xHH}.
std::string CommandText(std::string_view bytes);
// Bytes as two hexadecimal digits each, a blank between them ("53 49 0D").
std::string HexBytes(std::string_view bytes);
