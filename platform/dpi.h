#pragma once
// Resolution of a window, and sizes that follow it.
#include <windows.h>

#include <string>

constexpr UINT kDefaultDpi = 96;

// The dots per inch `window` is shown at: its monitor's where the system
// keeps one per monitor (Windows 10 1607 and later), the system's otherwise.
UINT WindowDpi(HWND window);
// `pixels` at 96 DPI, at `dpi`.
int ScaleToDpi(int pixels, UINT dpi);
// Width of `text` in the font `window` draws with.
int TextWidth(HWND window, const std::string& text);
