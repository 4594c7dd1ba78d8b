#pragma once
// A picture of the screen, and saving it as a JPEG file the user names.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/boxes.h"

// A copy of the screen rectangle (left, top)-(right, bottom): negative
// left/top count as 0, a right/bottom of 0 or beyond the screen as the
// screen's edge. The caller owns the bitmap; null when it cannot be made.
HBITMAP CopyScreenToBitmap(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

// The rectangle CopyScreenToBitmap takes for those arguments on a screen
// of that size.
RECT ScreenCaptureRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                       std::int32_t screenWidth, std::int32_t screenHeight);

// The name a picture is saved under: a name ending in ".JPG" (any case)
// stays; otherwise the file-name part loses everything after its first "."
// and gets "JPG", or gets ".JPG" when it has no ".". Folders are kept.
std::string JpgFileName(const std::string& chosen);

// Asks for a file name (default YYYYMMDD.JPG, today), deletes an existing
// file of that name and writes the bitmap (or, when none is given, a fresh
// picture of the screen) as a JPEG file; tells the user. Always true, a
// cancelled dialog included.
bool SaveScreenToJpg(BoxOwner owner, HBITMAP bitmap);
