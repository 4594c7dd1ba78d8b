#pragma once
// Which menu object stands behind a menu handle, so that a window can hand
// the messages of a menu to the object that owns it. Window thread only.
#include <windows.h>

class Menu;

// Links `handle` (a popup, a bar or a system menu) to `menu`; a later call
// for the same handle replaces the link.
void RegisterMenu(HMENU handle, Menu* menu);
void UnregisterMenu(HMENU handle);
// Drops every link to `menu`; called when the object dies.
void UnregisterMenusOf(const Menu* menu);
Menu* MenuFromHandle(HMENU handle);

// Routing for a window procedure. WM_INITMENUPOPUP of a registered popup
// calls its object's InitPopup and is passed on (false). WM_COMMAND from a
// menu and WM_SYSCOMMAND run the handler of a registered menu of `window`;
// true then, and the message is done.
bool RouteMenuMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
