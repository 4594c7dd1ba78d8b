#include "util/directories.h"

#include "errors/callstack.h"
#include "util/current_folder.h"
#include "util/files.h"
#include "util/path_strings.h"
#include "util/system.h"

namespace {
constexpr const char* kModule = "Func  File Directory";

class FindHandle {
 public:
  FindHandle(const std::string& mask, WIN32_FIND_DATAA& data) : h_(FindFirstFileA(mask.c_str(), &data)) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(h_, &data) != FALSE; }

 private:
  HANDLE h_;
};

std::string DropFinalBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}
}  // namespace

bool DirExist(const std::string& directory) {
  CALLSTACK_ENTER("DirExist", kModule);
  const std::string path = DropFinalBackslash(TrimTrailingBlanks(directory));
  if (path.empty()) return false;
  CurrentFolderKeeper keeper;
  return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

bool VODirMake(BoxOwner owner, const std::string& path, bool retry) {
  CALLSTACK_ENTER("VODirMake", kModule);
  const std::string whole = DropFinalBackslash(TrimTrailingBlanks(path));
  std::string built = whole.substr(0, 2);
  std::string rest = whole.size() > 3 ? whole.substr(3) : std::string();
  while (built.size() < whole.size()) {
    const std::string::size_type slash = rest.find('\\');
    const std::string level = rest.substr(0, slash);
    if (!built.empty()) built += '\\';
    built += level;
    if (!DirExist(built)) {
      while (!CreateDirectoryA(built.c_str(), nullptr)) {
        CALLSTACK_LINE();
        const std::string text = "[VODirMake] Failed creating directory " + built + " !" + CallStack(1);
        if (!retry) {
          BoxError(owner, text);
          return false;
        }
        // A level that can never be made (a file in the way, a drive that is
        // not there) must not hold the user for good: Cancel ends the retries.
        if (!BoxErrorRetry(owner, text)) return false;
      }
    }
    rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
  }
  return true;
}

bool DirMake_NoExist(BoxOwner owner, const std::string& path, bool retry) {
  CALLSTACK_ENTER("DirMake_NoExist", kModule);
  if (DirExist(path)) return true;
  return VODirMake(owner, path, retry);
}

bool VODirRemove(BoxOwner owner, const std::string& directory) {
  CALLSTACK_ENTER("VODirRemove", kModule);
  if (!DirExist(directory)) return true;
  const std::string folder = VORetFullPath(TrimTrailingBlanks(directory));
  std::vector<std::string> files;
  {
    WIN32_FIND_DATAA data{};
    FindHandle find(folder + "*.*", data);
    for (bool more = find.Valid(); more; more = find.Next(data)) {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.emplace_back(data.cFileName);
    }
  }
  for (const std::string& name : files) {
    if (!VOFErase(owner, folder + name)) return false;
  }
  if (RemoveDirectoryA(DropFinalBackslash(folder).c_str())) return true;
  CALLSTACK_LINE();
  BoxError(owner, "[VODirRemove] Failed remove directory " + directory + " !" + CallStackEx(1));
  return false;
}

DirValue DirEntry::Value(unsigned column) const {
  switch (column) {
    case 1: return name;
    case 2: return size;
    case 3: return writeDate;
    case 4: return writeTime;
    case 5: return attributes;
    case 6: return accessDate;
    case 7: return accessTime;
    case 8: return creationDate;
    case 9: return creationTime;
    case 10: return shortName;
    case 11: return bits;
    default: return std::string();
  }
}

std::vector<DirEntry> VODir(const std::string& mask, std::uint32_t wanted) {
  CALLSTACK_ENTER("VODir", kModule);
  std::vector<DirEntry> entries;
  WIN32_FIND_DATAA data{};
  FindHandle find(mask, data);
  for (bool more = find.Valid(); more; more = find.Next(data)) {
    if (VODirIsValidFileAttrib(wanted, data.dwFileAttributes)) entries.push_back(VODirFindDataConvert(data));
  }
  return entries;
}

DirEntry VODirFindDataConvert(const WIN32_FIND_DATAA& data) {
  DirEntry entry;
  entry.name = data.cFileName;
  entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const LocalDateTime written = VOUTC2DateTime(&data.ftLastWriteTime);
  const LocalDateTime accessed = VOUTC2DateTime(&data.ftLastAccessTime);
  const LocalDateTime created = VOUTC2DateTime(&data.ftCreationTime);
  entry.writeDate = written.date;
  entry.writeTime = written.time;
  entry.attributes = VODirAttribute2String(data.dwFileAttributes);
  entry.accessDate = accessed.date;
  entry.accessTime = accessed.time;
  entry.creationDate = created.date;
  entry.creationTime = created.time;
  entry.shortName = data.cAlternateFileName[0] != '\0' ? std::string(data.cAlternateFileName) : entry.name;
  entry.bits = data.dwFileAttributes;
  return entry;
}

std::string VODirAttribute2String(std::uint32_t bits) {
  static constexpr struct {
    std::uint32_t bit;
    char letter;
  } kLetters[] = {{0x800, 'C'}, {0x400, 'O'}, {0x100, 'T'}, {0x20, 'A'},
                  {0x10, 'D'},  {0x04, 'S'},  {0x02, 'H'},  {0x01, 'R'}};
  std::string letters;
  for (const auto& l : kLetters) {
    if (bits & l.bit) letters += l.letter;
  }
  return letters;
}

bool VODirIsValidFileAttrib(std::uint32_t wanted, std::uint32_t entryBits) {
  for (std::uint32_t bit : {0x10u, 0x04u, 0x02u, 0x800u, 0x400u, 0x100u}) {
    if ((entryBits & bit) && !(wanted & bit)) return false;
  }
  return true;
}

std::vector<DirValue> VODirList(const std::string& mask, std::uint16_t column) {
  CALLSTACK_ENTER("VODirList", kModule);
  std::vector<DirValue> values;
  for (const DirEntry& entry : VODir(mask, 0x80)) values.push_back(entry.Value(column));
  return values;
}
