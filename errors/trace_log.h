#pragma once
// The trace log "VOLog.txt" beside the executable (or where report_folder.h
// puts it, after a first line that says so): free text, remarks,
// window-message names and call-stack snapshots, stamped with the time of
// day. Nothing starts it but a developer; every write is harmless before.
#include <windows.h>

#include <string>

#include "app/boxes.h"
#include "platform/window.h"

// Starts the log afresh (an older file is emptied first) and keeps its
// handle; on failure shows an error box owned by `owner` and answers
// INVALID_HANDLE_VALUE, keeping the handle it had.
HANDLE LogStart(BoxOwner owner);
// The current log handle: null before LogStart.
HANDLE LogHandle();

// Writes the text and CR LF; always true (with no log the write goes nowhere).
bool LogWriteLine(const std::string& text);
// Writes the text and CR LF once the log is started; nothing before.
void LogRemark(const std::string& text);
// Writes "hh:mm:ss " and the name of the event's message.
void LogEvent(HWND window, const Event& event);
// Writes a time stamp line, the call-stack text from the caller's caller on,
// and three empty lines.
void LogCallStack();
