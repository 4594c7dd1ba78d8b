#pragma once
// Calendar dates with an empty value, dates from text, and the time-of-day
// texts that the file and system routines use.
#include <cstdint>
#include <string>

// A calendar date or the empty date. The empty date is all zeros; every
// non-empty date that the library hands out is a valid Gregorian date.
struct Date {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;

  static Date Empty() { return Date{}; }
  bool IsEmpty() const { return year == 0 && month == 0 && day == 0; }
  bool operator==(const Date&) const = default;
};

// True for a real Gregorian date (years 1 to 9999).
bool DateIsValid(unsigned year, unsigned month, unsigned day);

// "YYYYMMDD" (exactly eight digits) to a date; the empty date for any text
// that is not a valid date of that form.
Date VOSToD(const std::string& text);
// VOSToD of the year padded to four digits, month and day to two each; a
// part that does not fit its width gives the empty date.
Date VONToD(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// Seconds of a time text "hh:mm:ss" (any non-digit separates the fields,
// missing fields count 0; hours above 23 are taken as they are).
long long SecondsOfTimeText(const std::string& time);
// "hh:mm:ss" (with the process's time separator) of a second count, wrapped
// into one day: negative counts and counts of a day or more give the time of
// day on the neighbouring day.
std::string TimeTextOfSeconds(long long seconds);
