#pragma once
// Where injected keys would land now: the foreground window, whether it is
// the desktop, and the integrity level of the process behind a window.
#include <windows.h>

#include <optional>

// The window in front, or null when none is (another desktop, such as the
// lock screen or a consent prompt, counts as none).
HWND ForegroundWindow();
// The desktop itself (the shell's window, its wallpaper worker, or the
// desktop window): keys there select icons, they type into nothing.
bool IsDesktop(HWND window);
// The mandatory integrity level (SECURITY_MANDATORY_..._RID) of the process
// that owns `window`; empty when it cannot be read.
std::optional<DWORD> WindowIntegrityLevel(HWND window);
// The integrity level of this process; empty when it cannot be read.
std::optional<DWORD> OwnIntegrityLevel();
