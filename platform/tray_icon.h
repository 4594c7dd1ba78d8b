#pragma once
// Notification-area icon operations of one owner window. Clicks arrive at the
// owner as kTrayCallbackMessage with wParam = icon id and lParam = mouse message.
#include <windows.h>
#include <shellapi.h>

#include <string>

constexpr UINT kTrayCallbackMessage = WM_APP + 0x51;

// True when the icon is shown afterwards: added, or already there (the shell
// announces a new taskbar also when it keeps its icons).
bool AddTrayIcon(HWND owner, HICON icon, UINT id, const std::string& tooltip);
// kind: NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR. timeoutMs 0 = the system's default.
bool ShowBalloonTrayTip(HWND owner, HICON icon, UINT id, const std::string& title, const std::string& text,
                        UINT timeoutMs, DWORD kind);
bool DeleteTrayIcon(HWND owner, UINT id);
// True for the mouse messages that count as a click on the icon (the left button).
bool IsTrayClick(LPARAM mouseMessage);
// True for the mouse messages that ask for the icon's context menu.
bool IsTrayMenuRequest(LPARAM mouseMessage);
// The shell's "TaskbarCreated": a new notification area without our icons.
UINT TaskbarCreatedMessage();
// Lets "TaskbarCreated" through to `window` also when the program runs with
// more rights than the shell (which would otherwise filter it out).
void AcceptTaskbarCreated(HWND window);

// The call the operations above make; tests put a shell that refuses in its
// place. Returns the one it replaces.
using ShellNotifyFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
ShellNotifyFunction UseShellNotify(ShellNotifyFunction function);
