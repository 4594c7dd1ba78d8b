#include "util/string_functions.h"

#include <cstdio>

#include "app/app_functions.h"
#include "errors/callstack.h"
#include "util/numeric.h"

namespace {
const char* const kOuterKey = "KXPRd";

// Decimal code at the start of a part, blanks before it allowed; what is no
// number reads as 0.
unsigned char CodeOf(const std::string& part) {
  const size_t first = part.find_first_not_of(" \t");
  if (first == std::string::npos) return 0;
  bool negative = false;
  size_t i = first;
  if (part[i] == '-' || part[i] == '+') negative = part[i++] == '-';
  unsigned long value = 0;
  for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) {
    value = (value * 10 + static_cast<unsigned>(part[i] - '0')) & 0xFFFFFF;
  }
  if (negative) value = 0u - value;
  return static_cast<unsigned char>(value & 0xFF);
}

std::string Trim(const std::string& text) {
  const char* const blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string TextOf(const ChrListItem& item) {
  if (const auto* text = std::get_if<std::string>(&item)) return *text;
  if (const auto* whole = std::get_if<long long>(&item)) return std::to_string(*whole);
  return RealText(std::get<double>(item));
}

// Keystream of the cipher: a 32-bit xorshift generator seeded from the key
// by FNV-1a, so every key byte matters and no key byte value is special.
class KeyStream {
 public:
  explicit KeyStream(const std::string& key) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : key) hash = (hash ^ c) * 16777619u;
    hash ^= static_cast<std::uint32_t>(key.size()) * 0x9E3779B9u;
    state_ = hash == 0 ? 0x6D2B79F5u : hash;
  }
  unsigned char Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<unsigned char>(state_ >> 24);
  }

 private:
  std::uint32_t state_;
};
}  // namespace

std::string ReturnChr(const std::string& codes) {
  CALLSTACK_ENTER("ReturnChr", "Func  String");
  std::string rest = codes + ",";
  std::string result;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    result += static_cast<char>(CodeOf(rest.substr(0, comma)));
    rest.erase(0, comma + 1);
  }
  return result;
}

std::string ReturnChr(const std::vector<ChrListItem>& list) {
  CALLSTACK_ENTER("ReturnChr", "Func  String");
  std::string result;
  for (const ChrListItem& item : list) result += Trim(TextOf(item));
  return result;
}

std::string ReturnAsc(const std::string& text) {
  CALLSTACK_ENTER("ReturnAsc", "Func  String");
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i > 0) result += ',';
    result += std::to_string(static_cast<unsigned char>(text[i]));
  }
  return result;
}

std::string VORetPicture(const std::string& text) {
  CALLSTACK_ENTER("VORetPicture", "Func  String");
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && (text.size() - i) % 3 == 0) result += ',';
    result += text[i];
  }
  return result;
}

std::string RetRandomString(std::uint16_t len) {
  CALLSTACK_ENTER("RetRandomString", "Func  String");
  return RetRandomString2(len, "A", "Z");
}

std::string RetRandomString2(std::uint16_t len, const std::string& from, const std::string& to) {
  CALLSTACK_ENTER("RetRandomString2", "Func  String");
  if (from.empty() || to.empty()) return std::string();
  const int low = static_cast<unsigned char>(from[0]);
  const int span = static_cast<unsigned char>(to[0]) - low + 1;
  // With fewer than two characters no neighbour could differ: the draw
  // below would never end.
  if (span < 2) return std::string();
  std::string result;
  result.reserve(len);
  int previous = 0;
  for (unsigned i = 0; i < len; ++i) {
    int offset;
    do {
      offset = static_cast<int>(VORandom() * span);
      if (offset >= span) offset = span - 1;
    } while (offset == previous);
    previous = offset;
    result += static_cast<char>(low + offset);
  }
  return result;
}

bool VOEmptyStr(const std::string& text) {
  CALLSTACK_ENTER("VOEmptyStr", "Func  String");
  if (text == "\r" || text == "\n" || text == "\r\n") return false;
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string Crypt(const std::string& text, const std::string& key) {
  CALLSTACK_ENTER("Crypt", "Func  String");
  KeyStream stream(key);
  std::string result = text;
  for (char& c : result) c = static_cast<char>(static_cast<unsigned char>(c) ^ stream.Next());
  return result;
}

std::string TeEncrypt(const std::string& text) {
  CALLSTACK_ENTER("TeEncrypt", "Func  String");
  std::string inner(3, '\0');
  for (char& c : inner) c = static_cast<char>(static_cast<int>(VORandom(0) * 126 + 1));
  const std::string framed = inner.substr(0, 2) + Crypt(text, inner) + inner[2];
  return Crypt(framed, kOuterKey);
}

std::string TeDecrypt(const std::string& text) {
  CALLSTACK_ENTER("TeDecrypt", "Func  String");
  std::string result = Crypt(text, kOuterKey);
  if (result.size() >= 3) {
    const std::string inner = result.substr(0, 2) + result.back();
    result = Crypt(result.substr(2, result.size() - 3), inner);
  }
  return result;
}
