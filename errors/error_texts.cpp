#include "errors/error_texts.h"

#include <windows.h>

#include <cstdio>

#include "app/conventions.h"

std::string ErrorOneLine(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      line += text[i];
    } else if (text[i] == '\n' || i + 1 == text.size() || text[i + 1] != '\n') {
      line += ' ';  // CR LF, a lone CR or a lone LF: one blank
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string ErrorOsCodeText(std::uint32_t code) {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text;
  if (length > 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  // Some system messages run over several lines; the report has one for it.
  text = ErrorOneLine(text);
  if (text.empty()) text = "Error " + std::to_string(code);
  return text;
}

std::string ErrorGenCodeText(std::uint32_t code) {
  static const char* const names[] = {
      "No error",      "Argument error", "Bound error",  "Numeric overflow", "Division by zero",
      "Numeric error", "Memory error",   "Open error",   "Create error",     "Read error",
      "Write error",   "Access error",   "Run-time exception",
  };
  if (code < sizeof names / sizeof names[0]) return names[code];
  return "Generic error " + std::to_string(code);
}

std::string ErrorTypeName(std::uint32_t code) {
  static const char* const names[] = {"NONE",   "INTEGER", "REAL",    "LOGIC",  "TEXT",
                                      "DATE",   "SYMBOL",  "ADDRESS", "OBJECT", "ARRAY"};
  if (code < sizeof names / sizeof names[0]) return names[code];
  return "type " + std::to_string(code);
}

std::string ErrorAddressText(std::uintptr_t address) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", static_cast<int>(2 * sizeof(void*)),
                static_cast<unsigned long long>(address));
  return text;
}

std::string ErrorRuntimeVersion() {
  std::string text = "GCC " __VERSION__;
#ifdef __MINGW64_VERSION_STR
  text += ", MinGW-w64 " __MINGW64_VERSION_STR;
#endif
#ifdef _UCRT
  text += ", UCRT";
#else
  text += ", MSVCRT";
#endif
  text += sizeof(void*) == 8 ? ", 64-bit" : ", 32-bit";
  return text;
}

namespace {
std::string Two(unsigned n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02u", n % 100);
  return text;
}

// The date as the process's date format spells it: DD, MM and YYYY (or
// YY) replaced by the parts, every other character kept.
std::string DateText(const SYSTEMTIME& now) {
  const std::string& format = ConventionsGet().dateFormat.empty() ? std::string("DD/MM/YYYY")
                                                                  : ConventionsGet().dateFormat;
  std::string text;
  for (size_t i = 0; i < format.size();) {
    if (format.compare(i, 4, "YYYY") == 0) {
      char year[8];
      std::snprintf(year, sizeof year, "%04u", static_cast<unsigned>(now.wYear));
      text += year;
      i += 4;
    } else if (format.compare(i, 2, "YY") == 0) {
      text += Two(now.wYear);
      i += 2;
    } else if (format.compare(i, 2, "MM") == 0) {
      text += Two(now.wMonth);
      i += 2;
    } else if (format.compare(i, 2, "DD") == 0) {
      text += Two(now.wDay);
      i += 2;
    } else {
      text += format[i++];
    }
  }
  return text;
}

std::string TimeText(const SYSTEMTIME& now) {
  return Two(now.wHour) + ":" + Two(now.wMinute) + ":" + Two(now.wSecond);
}
}  // namespace

std::string ErrorTimeStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DateText(now) + " " + TimeText(now);
}

std::string ErrorTimeOfDay() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TimeText(now);
}
