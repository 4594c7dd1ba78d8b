#include "app/device_text.h"

#include <cctype>
#include <cstdio>

namespace {
struct ByteName {
  const char* name;
  char byte;
};

constexpr ByteName kByteNames[] = {
    {"CR", '\r'},    {"LF", '\n'},    {"TAB", '\t'},   {"ESC", '\x1B'}, {"STX", '\x02'},
    {"ETX", '\x03'}, {"ENQ", '\x05'}, {"ACK", '\x06'}, {"NAK", '\x15'},
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte a name in braces stands for ("CR", "x0D", any case); none when unknown.
std::optional<char> NamedByte(std::string_view name) {
  const std::string upper = Upper(name);
  for (const ByteName& known : kByteNames) {
    if (upper == known.name) return known.byte;
  }
  if (upper.size() == 3 && upper[0] == 'X' && HexDigit(upper[1]) >= 0 && HexDigit(upper[2]) >= 0) {
    return static_cast<char>(HexDigit(upper[1]) * 16 + HexDigit(upper[2]));
  }
  return std::nullopt;
}

bool Fail(std::string* problem, std::string text) {
  if (problem != nullptr) *problem = std::move(text);
  return false;
}
}  // namespace

std::optional<std::string> CommandBytes(std::string_view text, std::string* problem) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '{') {
      bytes += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '{') {
      bytes += '{';
      ++i;
    } else {
      const std::size_t close = text.find('}', i + 1);
      if (close == std::string_view::npos) {
        Fail(problem, "a \"{\" has no \"}\" (write \"{{\" for a brace).");
        return std::nullopt;
      }
      const std::string_view name = text.substr(i + 1, close - i - 1);
      const std::optional<char> byte = NamedByte(name);
      if (!byte) {
        // Built by appending: GCC 12 warns falsely on "{" + text + ... here.
        std::string what(1, '{');
        what += name;
        what += "} is not a name this text knows: use {CR} {LF} {TAB} {ESC} {STX} {ETX} {ENQ} {ACK} {NAK}, "
                "{xHH} for any byte, or {{ for a brace.";
        Fail(problem, std::move(what));
        return std::nullopt;
      }
      bytes += *byte;
      i = close;
    }
    if (bytes.size() > kLongestCommand) {
      Fail(problem, "it is longer than " + std::to_string(kLongestCommand) + " bytes.");
      return std::nullopt;
    }
  }
  return bytes;
}

std::string CommandText(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const ByteName* named = nullptr;
    for (const ByteName& known : kByteNames) {
      if (known.byte == c) named = &known;
    }
    if (named != nullptr) {
      text += std::string("{") + named->name + "}";
    } else if (c == '{') {
      text += "{{";
    } else if (b < 0x20 || b == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "{x%02X}", b);
      text += hex;
    } else {
      text += c;
    }
  }
  return text;
}

std::string HexBytes(std::string_view bytes) {
  std::string hex;
  for (const char c : bytes) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
    if (!hex.empty()) hex += ' ';
    hex += pair;
  }
  return hex;
}
