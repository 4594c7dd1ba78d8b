#include "util/shell_folders.h"

#include <windows.h>
#include <shellapi.h>

#include "errors/callstack.h"
#include "platform/folder_dialog.h"
#include "util/current_folder.h"
#include "util/path_strings.h"

namespace {
constexpr const char* kModule = "Func  File Directory";

// One copy operation; the lists end in the double zero the shell needs and
// are held in byte strings, so names of any length fit.
bool ShellCopy(const std::string& fromList, const std::string& toList, FILEOP_FLAGS flags) {
  SHFILEOPSTRUCTA op{};
  op.hwnd = nullptr;
  op.wFunc = FO_COPY;
  op.pFrom = fromList.c_str();
  op.pTo = toList.c_str();
  op.fFlags = flags;
  return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

std::string FolderQuery(UINT (WINAPI *query)(LPSTR, UINT)) {
  char buffer[260] = {};
  const UINT n = query(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : std::string();
}
}  // namespace

std::string VOFileDisplayName(const std::string& path) {
  CALLSTACK_ENTER("VOFileDisplayName", kModule);
  SHFILEINFOA info{};  // sizeof: 352 on i686, 360 on x86_64
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  std::string name(info.szDisplayName, strnlen(info.szDisplayName, sizeof info.szDisplayName));
  // The shell may hide a known extension; give it back. Only a dot in the
  // last component is an extension, never one in a folder name.
  const std::string fileName = VORetFileName(path);
  const std::string::size_type dot = fileName.rfind('.');
  if (dot != std::string::npos && name.find('.') == std::string::npos) name += fileName.substr(dot);
  return name;
}

std::string VODirDisplayName(const std::string& path) {
  CALLSTACK_ENTER("VODirDisplayName", kModule);
  std::string result;
  std::string rest = path;
  if (path.size() >= 2 && path[1] == ':') {
    result = path.substr(0, 3);
    rest = path.size() > 3 ? path.substr(3) : std::string();
  }
  while (!rest.empty()) {
    const std::string::size_type slash = rest.find('\\');
    const std::string component = rest.substr(0, slash == std::string::npos ? slash : slash + 1);
    const std::string display = VOFileDisplayName(result + component);
    result += display;
    if (slash == std::string::npos) break;
    result += '\\';
    rest = rest.substr(slash + 1);
  }
  return result;
}

std::string VODirectoryPicker(BoxOwner owner, const std::string& caption, const std::string& startFolder) {
  CALLSTACK_ENTER("VODirectoryPicker", kModule);
  // File-system folders only (0x1), new dialog style (0x40).
  StandardFolderDialog dialog(owner.Handle(), caption, startFolder, 0x41);
  dialog.Show();
  return dialog.FolderName();
}

bool VOSHCopy(const std::string& source, const std::string& target, bool severalTargets) {
  CALLSTACK_ENTER("VOSHCopy", kModule);
  // c_str() adds the second zero after the one appended here.
  std::string from = source;
  from.push_back('\0');
  std::string to = target;
  to.push_back('\0');
  FILEOP_FLAGS flags = FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOCONFIRMMKDIR;  // 0x290
  if (severalTargets) flags |= FOF_MULTIDESTFILES;
  return ShellCopy(from, to, flags);
}

bool VOSHCopy2(const std::string& sourceDirectory, const std::string& targetDirectory,
               const std::vector<std::string>& sourceNames, const std::vector<std::string>& targetNames) {
  CALLSTACK_ENTER("VOSHCopy2", kModule);
  const std::string fromDir = VORetFullPath(sourceDirectory);
  const std::string toDir = VORetFullPath(targetDirectory);
  std::string from;
  std::string to;
  for (std::size_t i = 0; i < sourceNames.size(); ++i) {
    from += fromDir + sourceNames[i];
    from.push_back('\0');
    // A missing target name gives the bare folder: the file keeps its name.
    to += toDir + (i < targetNames.size() ? targetNames[i] : std::string());
    to.push_back('\0');
  }
  from.push_back('\0');
  to.push_back('\0');
  return ShellCopy(from, to, FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOCONFIRMMKDIR | FOF_MULTIDESTFILES);
}

std::string VOGetFileVSInfo(const std::string& file, const std::string& query) {
  CALLSTACK_ENTER("VOGetFileVSInfo", kModule);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return std::string();
  std::string block(size, '\0');
  if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return std::string(size, ' ');
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), query.c_str(), &value, &length) || value == nullptr) return std::string();
  // Copied out before the block goes; text values end at their zero.
  const char* text = static_cast<const char*>(value);
  return std::string(text, strnlen(text, length));
}

std::string VOGetSystemDir() {
  CALLSTACK_ENTER("VOGetSystemDir", kModule);
  return FolderQuery(&GetSystemDirectoryA);
}

std::string VOGetWindowsDir() {
  CALLSTACK_ENTER("VOGetWindowsDir", kModule);
  return FolderQuery(&GetWindowsDirectoryA);
}

bool VOIsDriveReady(BoxOwner owner, const std::string& drive) {
  CALLSTACK_ENTER("VOIsDriveReady", kModule);
  std::string root = drive;
  if (root.empty() || root.back() != ':') root += ':';
  for (;;) {
    bool ready;
    {
      CurrentFolderKeeper keeper;
      ready = SetCurrentDirectoryA(root.c_str()) != FALSE;
    }
    if (ready) return true;
    CALLSTACK_LINE();
    if (!BoxAsk(owner, "Not Ready", "Driver : " + root + " Is not ready! Try again ?", 1)) return false;
  }
}
