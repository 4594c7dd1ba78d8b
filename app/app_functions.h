#pragma once
// Small functions of the application shell that the library uses too.
#include <windows.h>

#include <string>

#include "app/boxes.h"

// Win32 drive type of the drive that holds `path`: 0 unknown, 1 no root,
// 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk. Types 0 and 1 are
// also shown to the user in an error box owned by `owner`.
UINT VOGetDriveType(BoxOwner owner, const std::string& path);
// The root that VOGetDriveType asks about: "C" -> "C:\", "C:" -> "C:\",
// "C:\Windows\" -> "C:\".
std::string DriveRootOf(const std::string& path);

// The next pseudo-random number r, 0 <= r < 1. A non-zero seed restarts the
// sequence at that seed; 0, or no argument, continues it (seeded from the
// clock at first use).
double VORandom(long seed = 0);

// True when the command line, after its last double quote, asks for an
// immediate start: "/START" exactly, case-insensitive, leading blanks ignored.
bool CommandLineRequestsStart(const std::string& commandLine);

// The folder of the running executable, with its trailing backslash.
std::string ProgramDirectory();
