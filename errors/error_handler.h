#pragma once
// The fatal-error path: report to the error log, error window, clean-up and
// the end of the application. MyErrorHandler is the entry for errors that
// the platform raises; SystemError is how the program declares one itself.
#include <cstdint>
#include <string>

#include "errors/error_record.h"

// Handles a few well-known failures itself (a retry question for an open
// failure or a write-protected disk, a short message for an assertion or a
// lost network page); returns only after a Yes to a retry question, with
// RetryRequest set to 2. Every other error goes to MyErrorHandlerEx.
void MyErrorHandler(Error& error);

// Writes the report, shows the error window, deletes the temporary index
// file and ends the application. `error` may be null; `level` is where the
// call-stack listing starts, counted from MyErrorHandlerEx itself.
[[noreturn]] void MyErrorHandlerEx(const Error* error, const std::string& message, std::uint32_t level);

// A fatal condition the program itself detected.
[[noreturn]] void SystemError(const std::string& message, std::uint16_t level);
