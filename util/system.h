#pragma once
// Thin wrappers around the operating system: quitting, waiting with live
// windows, the clipboard, the computer name, the version text, time-zone
// conversions of file times and platform memory. Failures are results.
#include <windows.h>

#include <string>

#include "util/date_time.h"

// Ends the application in order: exit procedures and destructors of
// statics run, then the process ends with code 0. Never returns.
[[noreturn]] void VOQuit();

// Waits `ms` milliseconds while the thread's window messages keep being
// dispatched, so other handlers of the same windows may run inside.
void Delay(DWORD ms);
// Milliseconds still to wait when the wait began at tick `start` and the
// counter now reads `now`; correct across the wrap of the 32-bit counter.
DWORD DelayTicksLeft(DWORD start, DWORD now, DWORD ms);

// Puts the text (up to its first zero byte) on the clipboard as CF_TEXT.
bool VOClipboardCopy(const std::string& text);
// "1" followed by the clipboard's text when text could be read (possibly
// empty), "0" when there is no text or the clipboard cannot be opened.
std::string VOClipboardGet();

// The computer name; 16 blanks when it cannot be read.
std::string VOGetComputerName();
// The name query behind VOGetComputerName, replaceable for tests.
using ComputerNameQuery = BOOL(WINAPI*)(LPSTR buffer, LPDWORD size);
std::string ComputerNameFrom(ComputerNameQuery query);

// Win32 platform id of the running system, 0 when it cannot be asked.
DWORD VOGetOSPlatform();
// Name, version and build of the running system.
std::string VOGetWindowsVer();
// The text VOGetWindowsVer gives for a version record.
std::string WindowsVerText(const OSVERSIONINFOA& info);

// Local date and time of day ("hh:mm:ss") of a file time in UTC; the empty
// date and an empty time for a null pointer or a time that cannot be
// converted.
struct LocalDateTime {
  Date date;
  std::string time;
};
LocalDateTime VOUTC2DateTime(const FILETIME* fileTime);

// The UTC time of day of a local time of day "hh:mm:ss", with the current
// time-zone bias (daylight saving not applied); the result is wrapped into
// 00:00:00 to 23:59:59.
std::string VOLocalTime2UTC(const std::string& time);
// The same with a given bias in minutes (UTC = local time + bias).
std::string LocalTime2UTCWithBias(const std::string& time, long biasMinutes);

// Platform memory: VOMemAlloc gives zeroed bytes of the process heap (null
// on failure); VOMemFree returns them and ignores a null pointer.
void* VOMemAlloc(size_t bytes);
void VOMemFree(void* p);
