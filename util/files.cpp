#include "util/files.h"

#include <windows.h>

#include <functional>
#include <memory>

#include "app/globals.h"
#include "app/win_message_show.h"
#include "errors/callstack.h"
#include "platform/handles.h"
#include "util/directories.h"
#include "util/file_targets.h"
#include "util/numeric.h"
#include "util/path_strings.h"
#include "util/shell_folders.h"
#include "util/system.h"

namespace {
constexpr const char* kModule = "Func  File Directory";

// Runs `attempt` until it succeeds. From the first failure on, a progress
// window shows `progressText(tries)`; between tries the thread keeps its
// windows alive for 500 ms. After the last try the application ends. The
// window is closed on every way out.
bool RetryWithProgress(BoxOwner owner, std::uint16_t maxTries, const std::function<bool()>& attempt,
                       const std::function<std::string(unsigned)>& progressText) {
  std::unique_ptr<WinMessageShow> progress;
  unsigned tries = 0;
  for (;;) {
    if (attempt()) return true;  // the window closes with `progress`
    ++tries;
    if (!progress) {
      progress = std::make_unique<WinMessageShow>(owner.Handle());
      progress->Show();
    }
    progress->oDCMessage.TextValue(progressText(tries));
    if (tries >= maxTries) {
      progress->EndDialog();
      progress.reset();
      VOQuit();
    }
    Delay(500);
  }
}

std::string EraseFailureText(const std::string& file) {
  return LanguageGet() == 2
             ? "[VOFErase] Cannot delete file : " + file + " !\r\nStill using by system/accessed by somebody else!"
             : "[VOFErase] Tidak bisa hapus file : " + file + " !\r\nMasih digunakan oleh sistem/diakses oleh orang lain!";
}

// Whether an existing file could be deleted now, found without deleting it:
// not read-only, and no other program holds it without sharing deletion.
// When it could not, the user sees VOFErase's box, listed from the routine
// that wanted to replace the file.
bool TargetReplaceable(BoxOwner owner, const std::string& file) {
  const DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  const FileHandle probe(CreateFileA(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
  if (probe && !(attributes & FILE_ATTRIBUTE_READONLY)) return true;
  BoxError(owner, EraseFailureText(file) + CallStackEx(0));
  return false;
}
}  // namespace

bool VOFile(const std::string& path) {
  CALLSTACK_ENTER("VOFile", kModule);
  const DWORD attributes = GetFileAttributesA(TrimTrailingBlanks(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_DIRECTORY;
}

bool VOFErase(BoxOwner owner, const std::string& file) {
  CALLSTACK_ENTER("VOFErase", kModule);
  if (!VOFile(file)) return true;
  if (DeleteFileA(file.c_str())) return true;
  CALLSTACK_LINE();
  BoxError(owner, EraseFailureText(file) + CallStackEx(1));
  return false;
}

bool VOFEraseEx(BoxOwner owner, const std::string& file, std::uint16_t maxTries) {
  CALLSTACK_ENTER("VOFEraseEx", kModule);
  return RetryWithProgress(
      owner, maxTries, [&] { return VOFErase(owner, file); },
      [&](unsigned tries) {
        return "VOFEraseEx Trying Delete File : \r\n" + file + "\r\nTrying: " + std::to_string(tries) +
               " Time(s) !";
      });
}

bool VOFRename(BoxOwner owner, const std::string& source, const std::string& target) {
  CALLSTACK_ENTER("VOFRename", kModule);
  if (!VOFile(source)) {
    CALLSTACK_LINE();
    BoxError(owner, "[VOFRename] Missing source file : " + source + " !" + CallStackEx(1));
    return false;
  }
  CALLSTACK_LINE();
  if (VOFile(target) && !TargetReplaceable(owner, target)) return false;
  // One step: a rename that fails (a source held open, say) leaves the old
  // target as it was.
  return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
}

bool VOFRenameEx(BoxOwner owner, const std::string& source, const std::string& target, std::uint16_t maxTries) {
  CALLSTACK_ENTER("VOFRenameEx", kModule);
  return RetryWithProgress(
      owner, maxTries, [&] { return VOFRename(owner, source, target); },
      [&](unsigned tries) {
        return "VOFRenameEx Trying Rename File : \r\n" + source + " to \r\n" + target + "\r\nTrying: " +
               std::to_string(tries) + " Time(s) !";
      });
}

namespace {
bool PlatformFreeSpace(const std::string& root, std::uint64_t& freeBytes) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) return false;
  freeBytes = available.QuadPart;
  return true;
}
FreeSpaceQuery freeSpaceQuery = &PlatformFreeSpace;

std::string WholeKilobytes(std::uint64_t bytes) {
  return std::to_string(static_cast<std::uint64_t>(VODivide(static_cast<double>(bytes), 1024.0)));
}

// The copy itself, onto a name that holds no file of value: the shell's copy
// counts as done when the file is there.
bool CopyTo(const std::string& source, const std::string& target, bool useShell) {
  if (!useShell) return CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
  VOSHCopy(source, target, false);
  return VOFile(target);
}
}  // namespace

FreeSpaceQuery SetFreeSpaceQuery(FreeSpaceQuery query) {
  const FreeSpaceQuery previous = freeSpaceQuery;
  freeSpaceQuery = query != nullptr ? query : &PlatformFreeSpace;
  return previous;
}

bool VOFCopy(BoxOwner owner, const std::string& source, const std::string& target, bool useShell, bool ask) {
  CALLSTACK_ENTER("VOFCopy", kModule);
  if (!VOFile(source)) {
    CALLSTACK_LINE();
    BoxError(owner, "[VOFCopy] File source missing : " + source + " !" + CallStackEx(1));
    return false;
  }
  const bool replacing = VOFile(target);
  if (replacing) {
    if (ask) {
      CALLSTACK_LINE();
      const bool english = LanguageGet() == 2;
      const bool overwrite =
          english ? BoxAsk(owner, "Overwrite ?",
                           "Same file name found in the destination folder !\r\n" + target + "\r\nOverwrite it ?", 2)
                  : BoxAsk(owner, "Timpa ?",
                           "Sistem menemukan file yang sama pada folder tujuan !\r\n" + target +
                               "\r\nTimpa file tersebut ?",
                           2);
      if (!overwrite) return false;
    }
    CALLSTACK_LINE();
    if (!TargetReplaceable(owner, target)) return false;
  }
  const std::uint64_t size = VOFileSize(source);
  // The volume of the target's full path: a relative "out.txt" lies on the
  // current drive, not on drive O.
  const Volume volume = VolumeOf(target);
  std::uint64_t freeBytes = 0;
  // Equal is not enough: the copy keeps a margin on the target drive. When
  // the space cannot be asked, the copy goes ahead: a drive that fills up
  // fails the copy itself, and an old target is replaced only afterwards.
  if (freeSpaceQuery(volume.root, freeBytes) && freeBytes <= size) {
    CALLSTACK_LINE();
    BoxError(owner, "[VOFCopy] Disk Space (Drive: " + volume.name + ") is not enough !\r\nSpace Left: " +
                        WholeKilobytes(freeBytes) + " KB\r\nSpace Required: " + WholeKilobytes(size) + " KB" +
                        CallStackEx(1));
    return false;
  }
  if (!replacing) return CopyTo(source, target, useShell);
  // The old target stays until a complete copy can take its place.
  StagingFile staging(target);
  if (staging.Path().empty()) return false;
  if (useShell) DeleteFileA(staging.Path().c_str());  // its empty placeholder would pass for the copy
  return CopyTo(source, staging.Path(), useShell) && staging.ReplaceTarget();
}

std::uint64_t VOFileSize(const std::string& file) {
  CALLSTACK_ENTER("VOFileSize", kModule);
  WIN32_FIND_DATAA data{};
  const HANDLE find = FindFirstFileA(file.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  FindClose(find);
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool VOFEraseAll(BoxOwner owner, const std::string& directory) {
  CALLSTACK_ENTER("VOFEraseAll", kModule);
  const std::string folder = VORetFullPath(directory);
  for (const DirValue& name : VODirList(folder + "*.*", 1)) {
    CALLSTACK_LINE();
    if (!VOFErase(owner, folder + std::get<std::string>(name))) return false;
  }
  return true;
}
