#pragma once
// Notification-area icon operations of one owner window. Clicks arrive at the
// owner as kTrayCallbackMessage with wParam = icon id and lParam = mouse message.
//
// The shell is called from a thread of its own, in the order of the calls
// here, which all return at once: while the notification area is not ready
// (at log-on) each call can block for seconds, and the caller is the window
// thread that reads the port.
#include <windows.h>
#include <shellapi.h>

#include <string>

constexpr UINT kTrayCallbackMessage = WM_APP + 0x51;

// Adds the icon, or gives one that is there already (the shell announces a
// new taskbar also when it keeps its icons) this icon and tooltip. An add
// the shell refuses is tried again every second until it succeeds or the
// icon is deleted. The icon is copied: the caller keeps its own. False when
// there is no owner.
bool AddTrayIcon(HWND owner, HICON icon, UINT id, const std::string& tooltip);
// kind: NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR. timeoutMs 0 = the system's default.
// Not shown while the icon's add waits to be tried again.
bool ShowBalloonTrayTip(HWND owner, HICON icon, UINT id, const std::string& title, const std::string& text,
                        UINT timeoutMs, DWORD kind);
// Removes the icon, and ends the retries of its add.
bool DeleteTrayIcon(HWND owner, UINT id);
// Waits at most `timeoutMs` until every call asked for so far has been made
// (an add waiting for its next try counts as made); true when they have.
// Before the program ends, so that its icon goes with it.
bool SettleTrayIcons(DWORD timeoutMs);
// True for the mouse messages that count as a click on the icon (the left button).
bool IsTrayClick(LPARAM mouseMessage);
// True for the mouse messages that ask for the icon's context menu.
bool IsTrayMenuRequest(LPARAM mouseMessage);
// The shell's "TaskbarCreated": a new notification area without our icons.
UINT TaskbarCreatedMessage();
// Lets "TaskbarCreated" through to `window` also when the program runs with
// more rights than the shell (which would otherwise filter it out).
void AcceptTaskbarCreated(HWND window);

// The call the operations above make; tests put a shell that refuses (or
// is slow) in its place. Returns the one it replaces.
using ShellNotifyFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
ShellNotifyFunction UseShellNotify(ShellNotifyFunction function);
