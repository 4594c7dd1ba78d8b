#pragma once
// Key events for the system input stream through SendInput.
#include <windows.h>

// One character as itself (KEYEVENTF_UNICODE): the focused window gets it
// whatever the keyboard layout, Shift or Caps Lock. Press and release go in
// one call, so no other input can come between them.
bool SendCharacter(wchar_t character);
// Press and release of one key with the scan code of the current layout.
bool SendKey(WORD virtualKey);
