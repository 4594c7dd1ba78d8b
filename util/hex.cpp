#include "util/hex.h"

#include "errors/callstack.h"
#include "errors/error_handler.h"
#include "util/string_functions.h"

namespace {
constexpr const char* kModule = "Func  String";
}

std::uint32_t VOHex2AscEx(char c) {
  const unsigned k = static_cast<unsigned char>(c);
  if (k >= 97) return k - 96 + 9;
  if (k >= 65) return k - 64 + 9;
  if (k >= '0' && k <= '9') return k - '0';
  return 0;
}

std::uint32_t VOHex2Asc(const std::string& hex) {
  CALLSTACK_ENTER("VOHex2Asc", kModule);
  if (hex.size() != 2) {
    CALLSTACK_LINE();
    SystemError("Invalid Argument cHex on VOHex2Asc : " + hex + "  length: " + std::to_string(hex.size()), 2);
  }
  return VOHex2AscEx(hex[0]) * 16 + VOHex2AscEx(hex[1]);
}

std::string VOHex2Chr(const std::string& hex) {
  CALLSTACK_ENTER("VOHex2Chr", kModule);
  return std::string(1, static_cast<char>(VOHex2Asc(hex) & 0xFF));
}

std::string VOHex2String(const std::string& hex) {
  CALLSTACK_ENTER("VOHex2String", kModule);
  std::string text;
  text.reserve(hex.size() / 2);
  for (size_t i = 0; i + 1 < hex.size(); i += 2) text += VOHex2Chr(hex.substr(i, 2));
  return text;
}

std::string VOChr2Hex(const std::string& c) {
  if (c.size() != 1 || VOEmptyStr(c)) return {};
  static const char digits[] = "0123456789ABCDEF";
  const unsigned k = static_cast<unsigned char>(c[0]);
  return std::string{digits[k >> 4], digits[k & 0x0F]};
}

std::string VOString2Hex(const std::string& text) {
  CALLSTACK_ENTER("VOString2Hex", kModule);
  std::string hex;
  hex.reserve(text.size() * 2);
  for (char c : text) hex += VOChr2Hex(std::string(1, c));
  return hex;
}
