#pragma once
// The keyboard state of the calling thread, as the window messages so far
// have left it.

bool IsAltControlPress();   // Alt down
bool IsKeyControlPress();   // Ctrl down
bool IsKeyShiftPress();     // Shift down
bool IsKeyPurePress();      // neither Ctrl nor Shift down (Alt not looked at)
bool IsShiftControlPress(); // Shift down (read from the whole keyboard array)
bool IsCapLockOn();         // Caps Lock toggled on
bool IsKeyBackspacePress();
bool IsKeyDeletePress();
bool IsKeyEnterPress();
bool IsKeyTabPress();
