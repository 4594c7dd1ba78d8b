#pragma once
// File times: copying them between files, reading the last-write date and
// time of day, and setting them from date and time texts.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/boxes.h"
#include "util/date_time.h"

// Last write of a file in UTC, not converted to local time: the date and
// the time of day as hh * 10000 + mm * 100 + ss. Both 0 until filled.
struct FileDateTime {
  Date date;
  std::uint32_t time = 0;
};

// Creation, access and write times of the source given to the target.
bool VOCopyFileDateTimeEx(HANDLE source, HANDLE target);
bool VOCopyFileDateTime(BoxOwner owner, const std::string& source, const std::string& target);
bool VOCopyFileDateTime2(BoxOwner owner, HANDLE source, const std::string& target);

FileDateTime VOFileDateTime(BoxOwner owner, const std::string& file);
FileDateTime VOFileDateTimeEx(BoxOwner owner, HANDLE file);

// Sets the times whose date is not empty; each time of day "hh:mm:ss" is
// local and turned to UTC with the current bias (the date is not shifted
// when that crosses midnight). The other times are left as they are.
bool VOSetFileDateTime(BoxOwner owner, HANDLE file, const Date& creationDate, const std::string& creationTime,
                       const Date& accessDate, const std::string& accessTime, const Date& writeDate,
                       const std::string& writeTime);
