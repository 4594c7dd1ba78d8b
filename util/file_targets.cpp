#include "util/file_targets.h"

#include <windows.h>

#include "util/path_strings.h"

std::string FullPath(const std::string& path) {
  DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  while (size > 0) {
    std::string full(size, '\0');
    const DWORD got = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (got == 0) break;
    if (got < size) {
      full.resize(got);
      return full;
    }
    size = got;
  }
  return path;
}

Volume VolumeOf(const std::string& path) {
  const std::string full = FullPath(path);
  if (full.size() >= 2 && full[1] == ':') {
    char drive = full[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    const std::string letter(1, drive);
    return {letter, letter + ":\\"};
  }
  if (full.rfind("\\\\", 0) == 0) {
    const std::string::size_type server = full.find('\\', 2);
    const std::string::size_type share = server == std::string::npos ? server : full.find('\\', server + 1);
    const std::string name = full.substr(0, share);
    return {name, name + "\\"};
  }
  return {full, full};
}

StagingFile::StagingFile(const std::string& target) : target_(target) {
  const std::string folder = VORetFileDir(FullPath(target));
  char name[MAX_PATH + 1] = {};
  if (!folder.empty() && GetTempFileNameA(folder.c_str(), "tvc", 0, name) != 0) path_ = name;
}

StagingFile::~StagingFile() {
  if (!path_.empty()) DeleteFileA(path_.c_str());
}

bool StagingFile::ReplaceTarget() {
  if (path_.empty() || !MoveFileExA(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  path_.clear();
  return true;
}
