#include "util/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "app/conventions.h"
#include "errors/callstack.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads an optional minus sign, digits and one decimal separator from the
// start of `text`; what follows the number is ignored, no number gives 0.
double ParseNumber(const std::string& text, char decimalSep) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  std::string plain = "0";  // a leading separator still reads as a number
  bool seenSep = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      plain += c;
    } else if (c == decimalSep && !seenSep) {
      plain += '.';
      seenSep = true;
    } else {
      break;
    }
  }
  if (plain.back() == '.') plain.pop_back();
  double value = 0.0;
  const auto parsed = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (parsed.ec == std::errc::result_out_of_range) {
    // Too large for a double (more than 308 digits before the separator), or
    // too small: the nearest double is the largest one, or 0.
    const size_t point = plain.find('.');
    const bool large = plain.find_first_not_of('0') < std::min(point, plain.size());
    value = large ? std::numeric_limits<double>::max() : 0.0;
  }
  return negative && value != 0.0 ? -value : value;
}
}  // namespace

bool RealsEqual(double a, double b) { return a == b || std::fabs(a - b) < ConventionsGet().floatDelta; }

std::string RealText(double value) {
  const Conventions& c = ConventionsGet();
  char buffer[400];  // the largest double has 309 whole digits
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, std::max(c.decimals, 0)).ptr;
  std::string text(buffer, end);
  // A value that rounds to zero is written without a sign.
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  const std::string::size_type point = text.find('.');
  if (point != std::string::npos) text[point] = c.decimalSep;
  const std::string::size_type whole = point == std::string::npos ? text.size() : point;
  if (c.fixedDigits && whole < static_cast<std::string::size_type>(c.digits)) text.insert(0, c.digits - whole, ' ');
  return text;
}

double VODivide(double a, double b) {
  CALLSTACK_ENTER("VODivide", "Func  Numeric");
  return RealsEqual(b, 0.0) ? 0.0 : a / b;
}

double VODebet(double n) {
  CALLSTACK_ENTER("VODebet", "Func  Numeric");
  return n < 0.0 && !RealsEqual(n, 0.0) ? n * -1.0 : n;
}

std::string VODecimalSepChr() {
  CALLSTACK_ENTER("VODecimalSepChr", "Func  Numeric");
  return std::string(1, ConventionsGet().decimalSep);
}

std::string VOUnTransValue(const std::string& text, const std::string& decSep) {
  CALLSTACK_ENTER("VOUnTransValue", "Func  Numeric");
  const char thousands = ConventionsGet().thousandsSep;
  auto wanted = [&decSep](char c) {
    return (c >= '0' && c <= '9') || c == '-' || (!decSep.empty() && c == decSep[0]);
  };
  std::string result;
  bool started = false;
  for (char c : text) {
    if (wanted(c)) {
      started = true;
      result += c;
    } else if (!started || c == ',' || c == thousands) {
      continue;
    } else {
      break;
    }
  }
  return result;
}

std::string VOUnTransValuePict(const std::string& value, const std::string& picture) {
  CALLSTACK_ENTER("VOUnTransValuePict", "Func  Numeric");
  std::string result;
  bool started = false;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char p = picture[i];
    if (p == '9' || p == '-' || p == '.') {
      started = true;
      if (i < value.size()) result += value[i];
    } else if (!started || p == ',') {
      continue;
    } else {
      break;
    }
  }
  return result;
}

double VOVal(const std::string& text) {
  CALLSTACK_ENTER("VOVal", "Func  Numeric");
  bool allBlank = true;
  for (char c : text) allBlank = allBlank && IsBlank(c);
  if (allBlank) return 0.0;
  const size_t first = text.find_first_not_of(' ');
  const std::string decSep = VODecimalSepChr();
  std::string number = VOUnTransValue(text.substr(first), decSep);
  const size_t zeros = number.find_first_not_of('0');
  if (zeros == std::string::npos) {
    number.clear();
  } else if (zeros > 0) {
    number.erase(0, zeros);
    if (number[0] == decSep[0]) number = std::string(1, '0').append(number);
  }
  return ParseNumber(number, decSep[0]);
}
