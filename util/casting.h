#pragma once
// Conversions between the library's types and the integer and Win32 types
// that callers pass around.
#include <windows.h>

#include <cstdint>
#include <string>

#include "util/date_time.h"

std::int32_t SLenInt(const std::string& text);
// Length up to the terminating zero; 0 for a null pointer.
std::int32_t PszLenInt(const char* p);

// Parts of a date; all 0 for the empty date.
std::uint16_t TcDay(const Date& d);
std::uint16_t TcMonth(const Date& d);
std::uint16_t TcYear(const Date& d);
// Day of the week: 1 Sunday to 7 Saturday.
std::uint16_t TcDoW(const Date& d);

// A COLORREF from the low bytes of r, g and b.
COLORREF TcRGB(std::uint32_t r, std::uint32_t g, std::uint32_t b);

// Greys and disables the item (true) or enables it (false), by command
// identifier; EnableMenuItem's result: the previous state, or -1 when the
// item does not exist.
BOOL VOEnableMenuItem(HMENU menu, UINT item, bool flag);
