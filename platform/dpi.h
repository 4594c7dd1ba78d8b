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
// The outer size of `window` (its styles) around a client area of `client`
// at `dpi`: the caption and borders at that resolution where the system can
// say so (Windows 10 1607 and later), at the system's otherwise.
SIZE FrameSizeForClient(HWND window, SIZE client, UINT dpi);
// GetSystemMetrics(index) at `dpi` (Windows 10 1607 and later), at the
// system's resolution otherwise.
int SystemMetricForDpi(int index, UINT dpi);
// The status bar's font of the system's settings at `dpi`; null where the
// system cannot give it per resolution (before Windows 10 1607).
HFONT CreateStatusFontForDpi(UINT dpi);
