#include "controls/control_helpers.h"

#include "platform/control.h"

bool VOHasStyle(HWND hwnd, DWORD mask) { return WindowHasStyle(hwnd, GWL_STYLE, mask); }
bool VOHasStyleEx(HWND hwnd, DWORD mask) { return WindowHasStyle(hwnd, GWL_EXSTYLE, mask); }
