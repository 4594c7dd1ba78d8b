#include "errors/error_report.h"

#include "app/globals.h"
#include "errors/callstack.h"
#include "errors/error_texts.h"
#include "errors/report_folder.h"
#include "util/files.h"
#include "util/system.h"

namespace {
constexpr const char* kModule = "Func  Error";
// The call-stack listing never goes this deep.
constexpr std::uint32_t kLevelLimit = 11;

std::string YesNo(bool value) { return value ? "Yes" : "No"; }

std::string TrimLeft(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

bool WriteAll(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE &&
         written == text.size();
}
}  // namespace

std::string ErrorReportStackLine(const std::string& module, const std::string& routine, std::uint32_t line) {
  std::string padded = module;
  if (padded.size() < 30) padded.append(30 - padded.size(), ' ');
  return "   - " + padded + ": " + routine + " (Line: " + std::to_string(line) + ")";
}

std::vector<std::string> ErrorReportLines(const Error* error, const std::string& message, std::uint32_t level) {
  std::vector<std::string> lines = {
      std::string(25, '*') + " ERROR " + std::string(25, '*'),
      Ret_Build(),
      ErrorRuntimeVersion(),
      "Computer : " + VOGetComputerName(),
      VOGetWindowsVer(),
      ErrorTimeStamp(),
      "",
      "Error message:",
      std::string(14, '-'),
  };
  if (error != nullptr) {
    const Error& e = *error;
    lines.push_back("Argument         : " + TrimLeft(e.Arg));
    lines.push_back("Argument Number  : " + std::to_string(e.ArgNum));
    lines.push_back("Argument Type    : " + ErrorTypeName(e.ArgType));
    lines.push_back("Arg Type Required: " + ErrorTypeName(e.ArgTypeReq));
    lines.push_back("Call Func Sym    : " + e.CallFuncSym);
    lines.push_back("Description      : " + e.Description);
    lines.push_back("DOS Error        : " + ErrorOsCodeText(e.OsCode));
    lines.push_back("Sub Code         : " + std::to_string(e.SubCode));
    lines.push_back("Sub Code Text    : " + e.SubCodeText);
    lines.push_back("Sub System       : " + e.SubSystem);
    lines.push_back("Generated Code   : " + ErrorGenCodeText(e.GenCode));
    lines.push_back("Operation        : " + e.Operation);
    lines.push_back("File Handle      : " + std::to_string(e.FileHandle));
    lines.push_back("File Name        : " + e.FileName);
    lines.push_back("Func PTR         : " + ErrorAddressText(e.FuncPtr) + "  " + std::to_string(e.FuncPtr));
    lines.push_back("Func Symbol      : " + e.FuncSym);
    lines.push_back("Maximum Size     : " + std::to_string(e.MaxSize));
    lines.push_back("Method Self      : " + e.MethodSelf);
  }
  if (!message.empty()) lines.push_back("Error            : " + message);
  // No data tables are ever open here: an empty alias and no records.
  lines.push_back("Alias            : " + std::string() + "   Recno: 0   LastRec: 0");
  lines.push_back("Call Stack:");
  for (std::uint32_t at = level; at < kLevelLimit; ++at) {
    const CallStackEntry entry = CallStackLevel(at);
    if (entry.line == 0) break;
    lines.push_back(ErrorReportStackLine(entry.module, entry.routine, entry.line));
  }
  if (error != nullptr) {
    lines.push_back("Can Default      : " + YesNo(error->CanDefault));
    lines.push_back("Can Retry        : " + YesNo(error->CanRetry));
    lines.push_back("Tries            : " + std::to_string(error->Tries));
  }
  lines.push_back("Remarks          : " + ErrorRemarkGet());
  return lines;
}

HANDLE MyErrorLog(std::string* movedTo) {
  CALLSTACK_ENTER("MyErrorLog", kModule);
  const std::string folder = ReportFolder();
  const std::string path = folder + ErrorFileGet();
  // A missing log is created; OPEN_ALWAYS there too, so a log that appears
  // meanwhile is still never truncated. Empty means nothing written yet.
  const DWORD disposition = VOFile(path) ? OPEN_EXISTING : OPEN_ALWAYS;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  CALLSTACK_LINE();
  if (movedTo != nullptr) movedTo->clear();
  if (file != INVALID_HANDLE_VALUE) {
    // Empty when the end is where the start is: nothing written yet.
    LARGE_INTEGER end{};
    const bool atEnd = SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END) != FALSE;
    const bool moved = folder != ReportProgramFolder();
    if (atEnd && end.QuadPart != 0) {
      WriteAll(file, "\r\n\r\n\r\n");
    } else if (atEnd && moved) {
      // Whoever is sent this file learns where it was kept, and why there.
      WriteAll(file, ReportMovedLine(path) + "\r\n");
    }
    if (moved && movedTo != nullptr) *movedTo = path;
  }
  return file;
}

void ErrorReportWrite(HANDLE file, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) WriteAll(file, line + "\r\n");
}
