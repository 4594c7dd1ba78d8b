#include "errors/error_handler.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "app/boxes.h"
#include "app/globals.h"
#include "errors/callstack.h"
#include "errors/error_report.h"
#include "errors/error_texts.h"
#include "errors/error_window.h"
#include "util/files.h"
#include "util/system.h"

namespace {
constexpr const char* kModule = "Func  Error";

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}
}  // namespace

void MyErrorHandler(Error& error) {
  CALLSTACK_ENTER("MyErrorHandler", kModule);
  if (error.SubCode == kSubCodeOpenFailed && error.CanRetry) {
    CALLSTACK_LINE();
    const std::string text = "Cannot open file : " + error.FileName + ", try again ?\r\nError Message: " +
                             error.Description + "\r\nDOS Error: " + ErrorOsCodeText(error.OsCode) + CallStack(1);
    if (!BoxAsk(nullptr, "Open failed", text, 1)) VOQuit();
    error.RetryRequest = kRetryRequested;
    return;
  }
  if (error.SubCode == kSubCodeAssertion) {
    // No data tables are ever open in this program: nothing to close first.
    CALLSTACK_LINE();
    BoxError(nullptr, "Assertion Failed...");
    VOQuit();
  }
  if (Upper(error.Description) == "IN PAGE ERROR") {
    CALLSTACK_LINE();
    BoxError(nullptr, "In Page Error...\r\nNetwork Connection was lost/failed !!!");
    VOQuit();
  }
  if (error.SubCode == kSubCodeWriteProtected && error.CanRetry) {
    CALLSTACK_LINE();
    const std::string text = "Write protected disk/diskette !!!\r\n" + error.FileName + "\r\nDOS Error: " +
                             ErrorOsCodeText(error.OsCode) + "\r\nTry again ?";
    if (!BoxAsk(nullptr, "Write protected", text, 1)) VOQuit();
    error.RetryRequest = kRetryRequested;
    return;
  }
  CALLSTACK_LINE();
  MyErrorHandlerEx(&error, "", 2);
}

void MyErrorHandlerEx(const Error* error, const std::string& message, std::uint32_t level) {
  CALLSTACK_ENTER("MyErrorHandlerEx", kModule);
  GlobalErrorSet(true);
  // Built here, so that the listing's levels count from this routine.
  const std::vector<std::string> report = ErrorReportLines(error, message, level);
  CALLSTACK_LINE();
  std::string movedTo;
  HANDLE log = MyErrorLog(&movedTo);
  if (log != INVALID_HANDLE_VALUE) {
    ErrorReportWrite(log, report);
    CloseHandle(log);
  }
  CALLSTACK_LINE();
  ErrorWindow(error, message, level + 1, movedTo);
  const std::string index = IndexCreatedGet();
  if (!index.empty()) {
    // No data tables are ever open in this program: nothing to close first.
    CALLSTACK_LINE();
    VOFEraseEx(nullptr, index, 50);
  }
  CALLSTACK_LINE();
  VOQuit();
}

void SystemError(const std::string& message, std::uint16_t level) {
  CALLSTACK_ENTER("SystemError", kModule);
  MyErrorHandlerEx(nullptr, message, level);
}
