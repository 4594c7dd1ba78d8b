#include "util/casting.h"

#include <cstring>
#include <limits>

#include "errors/callstack.h"

namespace {
std::int32_t ClampLength(size_t length) {
  constexpr size_t kMax = static_cast<size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(length > kMax ? kMax : length);
}
}  // namespace

std::int32_t SLenInt(const std::string& text) {
  CALLSTACK_ENTER("SLenInt", "Func  Casting");
  return ClampLength(text.size());
}

std::int32_t PszLenInt(const char* p) {
  CALLSTACK_ENTER("PszLenInt", "Func  Casting");
  return p == nullptr ? 0 : ClampLength(std::strlen(p));
}

std::uint16_t TcDay(const Date& d) {
  CALLSTACK_ENTER("TcDay", "Func  Casting");
  return d.day;
}

std::uint16_t TcMonth(const Date& d) {
  CALLSTACK_ENTER("TcMonth", "Func  Casting");
  return d.month;
}

std::uint16_t TcYear(const Date& d) {
  CALLSTACK_ENTER("TcYear", "Func  Casting");
  return d.year;
}

std::uint16_t TcDoW(const Date& d) {
  CALLSTACK_ENTER("TcDoW", "Func  Casting");
  if (!DateIsValid(d.year, d.month, d.day)) return 0;
  // Sakamoto's rule: 0 is Sunday.
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = d.year;
  if (d.month < 3) --y;
  const int dow = (y + y / 4 - y / 100 + y / 400 + kOffsets[d.month - 1] + d.day) % 7;
  return static_cast<std::uint16_t>(dow + 1);
}

COLORREF TcRGB(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  CALLSTACK_ENTER("TcRGB", "Func  Casting");
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

BOOL VOEnableMenuItem(HMENU menu, UINT item, bool flag) {
  CALLSTACK_ENTER("VOEnableMenuItem", "Func  Casting");
  return EnableMenuItem(menu, item, flag ? (MF_DISABLED | MF_GRAYED) : MF_ENABLED);
}
