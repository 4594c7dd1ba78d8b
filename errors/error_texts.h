#pragma once
// The texts the error report and the error window show for the codes of an
// error record, and the fixed lines that describe the running program.
#include <cstdint>
#include <string>

// The system's message for a Win32 error code, on one line (ErrorOneLine);
// "Error n" when the system has no text for it.
std::string ErrorOsCodeText(std::uint32_t code);
// A text of several lines as one: each line break (CR LF, CR or LF) becomes
// a blank; blanks at the end go.
std::string ErrorOneLine(const std::string& text);
// Name of a generic error class; "Generic error n" for an unknown one.
std::string ErrorGenCodeText(std::uint32_t code);
// Name of a type code; "type n" for an unknown one.
std::string ErrorTypeName(std::uint32_t code);
// An address as "0x" and hexadecimal digits, as wide as a pointer.
std::string ErrorAddressText(std::uintptr_t address);
// The compiler and C run-time the program was built with.
std::string ErrorRuntimeVersion();
// Today's date in the application's date format, a blank, hh:mm:ss.
std::string ErrorTimeStamp();
// The time of day, hh:mm:ss in 24-hour form.
std::string ErrorTimeOfDay();
