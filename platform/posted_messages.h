#pragma once
// Posted messages a window sends itself, and those it throws away.
#include <windows.h>

// Removes every `message` queued for `window`; how many there were.
unsigned DropPosted(HWND window, UINT message);
