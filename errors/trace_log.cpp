#include "errors/trace_log.h"

#include "errors/callstack.h"
#include "errors/error_texts.h"
#include "errors/message_names.h"
#include "errors/report_folder.h"
#include "util/files.h"

namespace {
constexpr const char* kModule = "Func  Error";

// Opened once per LogStart and never closed: the file stays open until the
// process ends. Only the window thread uses it.
HANDLE logHandle = nullptr;

void Write(const std::string& text) {
  DWORD written = 0;
  WriteFile(logHandle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
}  // namespace

HANDLE LogStart(BoxOwner owner) {
  CALLSTACK_ENTER("LogStart", kModule);
  const std::string folder = ReportFolder();
  const std::string path = folder + "VOLog.txt";
  // A new trace starts from an empty file: overwriting in place would leave
  // the tail of a longer earlier trace behind the new text.
  const DWORD disposition = VOFile(path) ? TRUNCATE_EXISTING : CREATE_ALWAYS;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  CALLSTACK_LINE();
  if (file == INVALID_HANDLE_VALUE) {
    BoxError(owner, "Error Create / Open file VOLog.txt !");
    return INVALID_HANDLE_VALUE;
  }
  logHandle = file;
  if (folder != ReportProgramFolder()) Write(ReportMovedLine(path) + "\r\n");
  return file;
}

HANDLE LogHandle() { return logHandle; }

bool LogWriteLine(const std::string& text) {
  Write(text + "\r\n");
  return true;
}

void LogRemark(const std::string& text) {
  if (logHandle != nullptr) Write(text + "\r\n");
}

void LogEvent(HWND, const Event& event) {
  Write(ErrorTimeOfDay() + " ");
  Write(MessageNameOf(event.message));
  Write("\r\n");
}

void LogCallStack() {
  CALLSTACK_ENTER("LogCallStack", kModule);
  Write(ErrorTimeOfDay() + " \r\n");
  Write(CallStackEx(2));
  Write("\r\n\r\n\r\n");
}
