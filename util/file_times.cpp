#include "util/file_times.h"

#include "errors/callstack.h"
#include "platform/handles.h"
#include "util/casting.h"
#include "util/numeric.h"
#include "util/system.h"

namespace {
constexpr const char* kModule = "Func  File Directory";

FileHandle OpenForReading(const std::string& file) {
  return FileHandle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Setting times needs write access to the file's attributes.
FileHandle OpenForWriting(const std::string& file) {
  return FileHandle(CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A FILETIME from a date and a local time of day, or false when they do
// not make one.
bool BuildFileTime(const Date& date, const std::string& localTime, FILETIME& out) {
  const std::string utc = VOLocalTime2UTC(localTime);
  SYSTEMTIME st{};
  st.wYear = TcYear(date);
  st.wMonth = TcMonth(date);
  st.wDayOfWeek = static_cast<WORD>(TcDoW(date) - 1);  // SYSTEMTIME counts Sunday as 0
  st.wDay = TcDay(date);
  st.wHour = static_cast<WORD>(VOVal(utc.substr(0, 2)));
  st.wMinute = static_cast<WORD>(VOVal(utc.size() > 3 ? utc.substr(3, 2) : std::string()));
  st.wSecond = static_cast<WORD>(VOVal(utc.size() >= 2 ? utc.substr(utc.size() - 2) : std::string()));
  st.wMilliseconds = 0;
  return SystemTimeToFileTime(&st, &out) != FALSE;
}
}  // namespace

bool VOCopyFileDateTimeEx(HANDLE source, HANDLE target) {
  CALLSTACK_ENTER("VOCopyFileDateTimeEx", kModule);
  FILETIME created{}, accessed{}, written{};
  if (!GetFileTime(source, &created, &accessed, &written)) return false;
  return SetFileTime(target, &created, &accessed, &written) != FALSE;
}

bool VOCopyFileDateTime(BoxOwner owner, const std::string& source, const std::string& target) {
  CALLSTACK_ENTER("VOCopyFileDateTime", kModule);
  FileHandle from = OpenForReading(source);
  if (!from) {
    CALLSTACK_LINE();
    BoxError(owner, "VOCopyFileDateTime [Source]: Error Opening file: " + source + CallStackEx(1));
    return false;
  }
  FileHandle to = OpenForWriting(target);
  if (!to) {
    from.Close();
    CALLSTACK_LINE();
    BoxError(owner, "VOCopyFileDateTime [Destination]: Error Opening file: " + target + CallStackEx(1));
    return false;
  }
  return VOCopyFileDateTimeEx(from.Get(), to.Get());
}

bool VOCopyFileDateTime2(BoxOwner owner, HANDLE source, const std::string& target) {
  CALLSTACK_ENTER("VOCopyFileDateTime2", kModule);
  FileHandle to = OpenForWriting(target);
  if (!to) {
    CALLSTACK_LINE();
    BoxError(owner, "VOCopyFileDateTime [Destination]: Error Opening file: " + target + CallStackEx(1));
    return false;
  }
  return VOCopyFileDateTimeEx(source, to.Get());
}

FileDateTime VOFileDateTime(BoxOwner owner, const std::string& file) {
  CALLSTACK_ENTER("VOFileDateTime", kModule);
  FileHandle h = OpenForReading(file);
  if (!h) {
    CALLSTACK_LINE();
    BoxError(owner, "VOFileDateTime: Error Opening file: " + file + CallStackEx(1));
    return {};
  }
  return VOFileDateTimeEx(owner, h.Get());
}

FileDateTime VOFileDateTimeEx(BoxOwner, HANDLE file) {
  CALLSTACK_ENTER("VOFileDateTimeEx", kModule);
  FILETIME written{};
  SYSTEMTIME st{};
  if (!GetFileTime(file, nullptr, nullptr, &written) || !FileTimeToSystemTime(&written, &st)) return {};
  FileDateTime result;
  result.date = VONToD(st.wYear, st.wMonth, st.wDay);
  result.time = st.wHour * 10000u + st.wMinute * 100u + st.wSecond;
  return result;
}

bool VOSetFileDateTime(BoxOwner, HANDLE file, const Date& creationDate, const std::string& creationTime,
                       const Date& accessDate, const std::string& accessTime, const Date& writeDate,
                       const std::string& writeTime) {
  CALLSTACK_ENTER("VOSetFileDateTime", kModule);
  FILETIME created{}, accessed{}, written{};
  const FILETIME* pCreated = nullptr;
  const FILETIME* pAccessed = nullptr;
  const FILETIME* pWritten = nullptr;
  // A pair that cannot be made into a time fails the call rather than
  // writing a time nobody asked for.
  if (!creationDate.IsEmpty()) {
    if (!BuildFileTime(creationDate, creationTime, created)) return false;
    pCreated = &created;
  }
  if (!accessDate.IsEmpty()) {
    if (!BuildFileTime(accessDate, accessTime, accessed)) return false;
    pAccessed = &accessed;
  }
  if (!writeDate.IsEmpty()) {
    if (!BuildFileTime(writeDate, writeTime, written)) return false;
    pWritten = &written;
  }
  return SetFileTime(file, pCreated, pAccessed, pWritten) != FALSE;
}
