#pragma once
// The error window: a short text in the user's language, copied to the
// clipboard, with the offer to save a picture of the screen as it looked
// while the window was up.
#include <windows.h>

#include <cstdint>
#include <string>

#include "errors/error_record.h"

// The window's text without the question. `level` is where the position
// block starts, counted from the routine that calls this.
std::string ErrorWindowText(const Error* error, const std::string& message, std::uint32_t level);

// Shows the window (title "Error", Yes/No, stop icon, No default,
// task-modal); a Yes saves the latest screen picture. A report written away
// from the executable's folder is named in the text by `movedReport`'s path.
// Always true.
bool ErrorWindow(const Error* error, const std::string& message, std::uint32_t level,
                 const std::string& movedReport = std::string());

// Thread-timer callback: replaces the screen picture in the capture slot.
void CALLBACK ErrorWindowTimer(HWND window, UINT message, UINT_PTR timerId, DWORD time);

// The MessageBoxA style of the window.
constexpr UINT kErrorWindowStyle = MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2 | MB_TASKMODAL;
