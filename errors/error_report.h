#pragma once
// The error report: its lines, and the error log that collects reports one
// after the other (beside the executable, see report_folder.h).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "errors/error_record.h"

// The report's lines (without line ends) for an error record or none and a
// message. Call-stack lines start at `level`, counted from the routine that
// calls this (0 is that routine).
std::vector<std::string> ErrorReportLines(const Error* error, const std::string& message, std::uint32_t level);

// One call-stack line of the report: "   - " + module padded to 30 + ": " +
// routine + " (Line: n)".
std::string ErrorReportStackLine(const std::string& module, const std::string& routine, std::uint32_t line);

// Opens the error log (ReportFolder() + ErrorFileGet()) for writing at its
// end, creating it when missing; a log that already holds a report gets
// three empty lines first, a new one away from the executable's folder the
// line that says where it is. INVALID_HANDLE_VALUE when it cannot be
// opened. `movedTo` receives the log's path when it was opened away from
// the executable's folder, otherwise empty. The caller closes the handle.
HANDLE MyErrorLog(std::string* movedTo = nullptr);

// Writes each line followed by CR LF.
void ErrorReportWrite(HANDLE file, const std::vector<std::string>& lines);
