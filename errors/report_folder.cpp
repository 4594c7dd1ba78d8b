#include "errors/report_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "app/app_functions.h"
#include "errors/callstack.h"
#include "platform/handles.h"

namespace {
constexpr const char* kModule = "Func  Error";

std::string programFolderOverride;

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// A write is tried, not the folder's attributes read: only an attempt shows
// what the folder's permissions (or a read-only medium) allow this user.
bool CanCreateFileIn(const std::string& folder) {
  const std::string probe = folder + "~TV-SERKEY-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  FileHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  // Someone else's file of that name: the folder takes files all the same.
  return file.Valid() || GetLastError() == ERROR_FILE_EXISTS;
}

std::string LocalAppData() {
  char path[MAX_PATH] = {};
  // S_FALSE: the folder does not exist (and could not be made): no path.
  if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
    return std::string();
  }
  return WithBackslash(path);
}
}  // namespace

std::string ReportFolderFor(const std::string& programDirectory, const std::string& localAppData) {
  CALLSTACK_ENTER("ReportFolderFor", kModule);
  if (CanCreateFileIn(programDirectory) || localAppData.empty()) return programDirectory;
  CALLSTACK_LINE();
  const std::string moved = WithBackslash(localAppData) + "TV-SERKEY\\";
  if (CreateDirectoryA(moved.c_str(), nullptr) == FALSE && GetLastError() != ERROR_ALREADY_EXISTS) {
    return programDirectory;
  }
  return moved;
}

std::string ReportProgramFolder() {
  return programFolderOverride.empty() ? ProgramDirectory() : programFolderOverride;
}

std::string ReportFolder() { return ReportFolderFor(ReportProgramFolder(), LocalAppData()); }

std::string ReportMovedLine(const std::string& path) {
  return "Written to " + path + ": the program's folder " + ReportProgramFolder() + " cannot be written.";
}

void ReportProgramFolderUse(const std::string& directory) { programFolderOverride = directory; }
