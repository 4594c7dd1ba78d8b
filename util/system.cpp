#include "util/system.h"

#include <cstdlib>
#include <cstring>

#include "errors/callstack.h"
#include "platform/handles.h"

namespace {
// The clipboard stays open only inside one routine; the destructor closes
// it on every way out.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner = nullptr) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// Global memory that we own until the clipboard takes it over.
class GlobalMemory {
 public:
  GlobalMemory(UINT flags, SIZE_T bytes) : handle_(GlobalAlloc(flags, bytes)) {}
  ~GlobalMemory() {
    if (handle_ != nullptr) GlobalFree(handle_);
  }
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;
  HGLOBAL Get() const { return handle_; }
  HGLOBAL Detach() {
    HGLOBAL h = handle_;
    handle_ = nullptr;
    return h;
  }

 private:
  HGLOBAL handle_;
};

class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL h) : handle_(h), data_(h != nullptr ? GlobalLock(h) : nullptr) {}
  ~GlobalLockGuard() {
    if (data_ != nullptr) GlobalUnlock(handle_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL handle_;
  void* data_;
};

bool QueryVersion(OSVERSIONINFOA& info) {
  info = OSVERSIONINFOA{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
  return GetVersionExA(&info) != FALSE;
}

std::string Num(unsigned long n) { return std::to_string(n); }
}  // namespace

void VOQuit() {
  CALLSTACK_ENTER("VOQuit", "Func  System");
  std::exit(0);
}

DWORD DelayTicksLeft(DWORD start, DWORD now, DWORD ms) {
  // Unsigned subtraction is modulo 2^32: right across the wrap of the counter.
  const DWORD elapsed = now - start;
  return elapsed >= ms ? 0 : ms - elapsed;
}

void Delay(DWORD ms) {
  CALLSTACK_ENTER("Delay", "Func  System");
  const DWORD start = GetTickCount();
  bool quitSeen = false;
  WPARAM quitCode = 0;
  for (;;) {
    const DWORD passStart = GetTickCount();
    if (DelayTicksLeft(start, passStart, ms) == 0) break;
    MSG msg;
    while (!quitSeen && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // A quit request must survive the wait for the loop that ends the
      // application; we stop dispatching and post it again at the end.
      if (msg.message == WM_QUIT) {
        quitSeen = true;
        quitCode = msg.wParam;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      // A message stamped after this pass began (one a handler posted) ends
      // the pass: a handler that keeps posting must not hold the wait for good.
      if (static_cast<LONG>(msg.time - passStart) > 0) break;
    }
    const DWORD left = DelayTicksLeft(start, GetTickCount(), ms);
    if (left == 0) break;
    // Sleep until the next message or the end instead of spinning the CPU.
    if (quitSeen) {
      Sleep(left);
    } else {
      MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }
  if (quitSeen) PostQuitMessage(static_cast<int>(quitCode));
}

bool VOClipboardCopy(const std::string& text) {
  CALLSTACK_ENTER("VOClipboardCopy", "Func  System");
  // A hidden message-only window of our own for this one change: opened
  // without a window, the clipboard has no owner after EmptyClipboard, and
  // Windows then refuses SetClipboardData. The data outlives the window.
  const WindowHandle owner(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleA(nullptr), nullptr));
  if (!owner) return false;
  ClipboardSession clipboard(owner.Get());
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  GlobalMemory memory(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (memory.Get() == nullptr) return false;
  {
    GlobalLockGuard lock(memory.Get());
    if (lock.Data() == nullptr) return false;
    std::memcpy(lock.Data(), text.c_str(), text.size() + 1);
  }
  CALLSTACK_LINE();
  // The clipboard owns the memory only once SetClipboardData has taken it.
  if (SetClipboardData(CF_TEXT, memory.Get()) == nullptr) return false;
  memory.Detach();
  return true;
}

std::string VOClipboardGet() {
  CALLSTACK_ENTER("VOClipboardGet", "Func  System");
  if (!IsClipboardFormatAvailable(CF_TEXT)) return "0";
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return "0";
  std::string text;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    GlobalLockGuard lock(data);
    if (lock.Data() != nullptr) {
      // Bounded by the block's size: clipboard data from another program
      // need not end in a zero byte.
      const char* p = static_cast<const char*>(lock.Data());
      const SIZE_T size = GlobalSize(data);
      size_t length = 0;
      while (length < size && p[length] != '\0') ++length;
      text.assign(p, length);
    }
  }
  return "1" + text;
}

std::string ComputerNameFrom(ComputerNameQuery query) {
  CALLSTACK_ENTER("ComputerNameFrom", "Func  System");
  char buffer[17];
  std::memset(buffer, ' ', 16);
  buffer[16] = '\0';
  // 16 bytes: the longest computer name (15 characters) with its zero.
  DWORD size = 16;
  query(buffer, &size);
  return std::string(buffer);
}

std::string VOGetComputerName() {
  CALLSTACK_ENTER("VOGetComputerName", "Func  System");
  if (VOGetOSPlatform() == VER_PLATFORM_WIN32_WINDOWS) {
    char name[256] = {};
    DWORD size = sizeof name;
    if (GetComputerNameExA(ComputerNameDnsHostname, name, &size)) return name;
  }
  return ComputerNameFrom(GetComputerNameA);
}

DWORD VOGetOSPlatform() {
  CALLSTACK_ENTER("VOGetOSPlatform", "Func  System");
  OSVERSIONINFOA info;
  return QueryVersion(info) ? info.dwPlatformId : 0;
}

std::string WindowsVerText(const OSVERSIONINFOA& info) {
  CALLSTACK_ENTER("WindowsVerText", "Func  System");
  const DWORD major = info.dwMajorVersion;
  const DWORD minor = info.dwMinorVersion;
  const std::string build = Num(info.dwBuildNumber);
  const std::string build16 = Num(info.dwBuildNumber & 0xFFFF);
  switch (info.dwPlatformId) {
    case 0:
      return "Win32S Version";
    case 1:
      if (major == 4 && minor == 0) return "Windows 95, Build: " + build16;
      if (major == 4 && minor == 10) return "Windows 98, Build: " + build16;
      if (major == 4 && minor == 90) return "Windows ME, Build: " + build16;
      return "WIN32 PLATFORM - Unknown";
    case 2:
      if (major == 3 && minor == 51) return "Windows NT 3.51, Build: " + build;
      if (major == 4 && minor == 0) return "Windows NT 4.0, Build: " + build;
      if (major == 5 && minor == 0) return "Windows 2000, Build: " + build;
      if (major == 5 && minor == 1) return "Windows XP, Build: " + build;
      if (major == 6 && info.dwBuildNumber >= 7000) return "Windows 7, Build: " + build;
      if (major == 6) return "Windows Vista, Build: " + build;
      return "WIN32NT PLATFORM - Unknown, Minor Ver: " + Num(minor) + " Major Ver: " + Num(major) +
             ", Build: " + build;
    default:
      return "OS Unknown, Platform ID: " + Num(info.dwPlatformId) + "Version: " + Num(major) + "." +
             Num(minor) + " Build " + build;
  }
}

std::string VOGetWindowsVer() {
  CALLSTACK_ENTER("VOGetWindowsVer", "Func  System");
  OSVERSIONINFOA info;
  if (!QueryVersion(info)) return "Error using GetVersionEx() ...";
  return WindowsVerText(info);
}

LocalDateTime VOUTC2DateTime(const FILETIME* fileTime) {
  CALLSTACK_ENTER("VOUTC2DateTime", "Func  System");
  if (fileTime == nullptr) return LocalDateTime{};
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(fileTime, &local) || !FileTimeToSystemTime(&local, &st)) return LocalDateTime{};
  LocalDateTime result;
  result.date = VONToD(st.wYear, st.wMonth, st.wDay);
  result.time = TimeTextOfSeconds(st.wHour * 3600LL + st.wMinute * 60LL + st.wSecond);
  return result;
}

std::string LocalTime2UTCWithBias(const std::string& time, long biasMinutes) {
  CALLSTACK_ENTER("LocalTime2UTCWithBias", "Func  System");
  // The time of day wraps into one day, so a result before midnight or past
  // it is the time on the neighbouring day; "00" hours need no special turn.
  return TimeTextOfSeconds(SecondsOfTimeText(time) + biasMinutes * 60LL);
}

std::string VOLocalTime2UTC(const std::string& time) {
  CALLSTACK_ENTER("VOLocalTime2UTC", "Func  System");
  TIME_ZONE_INFORMATION zone{};
  // Only the standard bias counts; daylight saving is not applied.
  const long bias = GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ? 0 : zone.Bias;
  return LocalTime2UTCWithBias(time, bias);
}

void* VOMemAlloc(size_t bytes) {
  CALLSTACK_ENTER("VOMemAlloc", "Func  System");
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void VOMemFree(void* p) {
  CALLSTACK_ENTER("VOMemFree", "Func  System");
  if (p != nullptr) HeapFree(GetProcessHeap(), 0, p);
}
