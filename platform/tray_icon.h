#pragma once
// Notification-area icon operations of one owner window. Clicks arrive at the
// owner as kTrayCallbackMessage with wParam = icon id and lParam = mouse message.
#include <windows.h>

#include <string>

constexpr UINT kTrayCallbackMessage = WM_APP + 0x51;

bool AddTrayIcon(HWND owner, HICON icon, UINT id, const std::string& tooltip);
// kind: NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR. timeoutMs 0 = the system's default.
bool ShowBalloonTrayTip(HWND owner, HICON icon, UINT id, const std::string& title, const std::string& text,
                        UINT timeoutMs, DWORD kind);
bool DeleteTrayIcon(HWND owner, UINT id);
// True for the mouse messages that count as a click on the icon (the left button).
bool IsTrayClick(LPARAM mouseMessage);
// True for the mouse messages that ask for the icon's context menu.
bool IsTrayMenuRequest(LPARAM mouseMessage);
