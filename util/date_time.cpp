#include "util/date_time.h"

#include "app/conventions.h"
#include "errors/callstack.h"

namespace {
constexpr long long kSecondsPerDay = 24LL * 60 * 60;

bool IsLeap(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
}  // namespace

bool DateIsValid(unsigned year, unsigned month, unsigned day) {
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const unsigned last = kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
  return day <= last;
}

Date VOSToD(const std::string& text) {
  CALLSTACK_ENTER("VOSToD", "Func  Date Time");
  if (text.size() != 8) return Date::Empty();
  for (char c : text) {
    if (c < '0' || c > '9') return Date::Empty();
  }
  const unsigned year = std::stoul(text.substr(0, 4));
  const unsigned month = std::stoul(text.substr(4, 2));
  const unsigned day = std::stoul(text.substr(6, 2));
  if (!DateIsValid(year, month, day)) return Date::Empty();
  return Date{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day)};
}

Date VONToD(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
  CALLSTACK_ENTER("VONToD", "Func  Date Time");
  // VOSToD of the padded text without building it (a listing converts three
  // times per entry): every valid date fits the padded widths, and a part too
  // wide for its width is never a valid date.
  if (!DateIsValid(year, month, day)) return Date::Empty();
  return Date{year, month, day};
}

long long SecondsOfTimeText(const std::string& time) {
  long long fields[3] = {0, 0, 0};
  int field = 0;
  bool inDigits = false;
  for (char c : time) {
    if (c >= '0' && c <= '9') {
      if (field > 2) break;
      fields[field] = fields[field] * 10 + (c - '0');
      if (fields[field] > 1000000) fields[field] = 1000000;  // keeps absurd input from overflowing
      inDigits = true;
    } else if (inDigits) {
      ++field;
      inDigits = false;
    }
  }
  return fields[0] * 3600 + fields[1] * 60 + fields[2];
}

std::string TimeTextOfSeconds(long long seconds) {
  long long s = seconds % kSecondsPerDay;
  if (s < 0) s += kSecondsPerDay;
  const char sep = ConventionsGet().timeSep;
  const int fields[3] = {static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
  // Two digits each; no formatted print, a listing makes three per entry.
  std::string text(8, sep);
  for (int i = 0; i < 3; ++i) {
    text[i * 3] = static_cast<char>('0' + fields[i] / 10);
    text[i * 3 + 1] = static_cast<char>('0' + fields[i] % 10);
  }
  return text;
}
