#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/conventions.h"
#include "util/system.h"

namespace {

// ---- Quit and Delay ----

void AnnounceExit() { std::fputs("exit procedures ran\n", stderr); }

TEST(QuitDeathTest, EndsTheProcessInOrder) {
  EXPECT_EXIT(
      {
        std::atexit(AnnounceExit);
        VOQuit();
      },
      ::testing::ExitedWithCode(0), "exit procedures ran");
}

TEST(Delay, TicksLeftAcrossTheCounterWrap) {
  EXPECT_EQ(DelayTicksLeft(1000, 1000, 0), 0u);
  EXPECT_EQ(DelayTicksLeft(1000, 1010, 50), 40u);
  EXPECT_EQ(DelayTicksLeft(1000, 1050, 50), 0u);
  EXPECT_EQ(DelayTicksLeft(1000, 5000, 50), 0u);
  // Started 16 ticks before the wrap, now 16 ticks after it: 32 elapsed.
  EXPECT_EQ(DelayTicksLeft(0xFFFFFFF0u, 0x10u, 50), 18u);
  EXPECT_EQ(DelayTicksLeft(0xFFFFFFF0u, 0x10u, 32), 0u);
  EXPECT_EQ(DelayTicksLeft(0xFFFFFFF0u, 0xFFFFFFFFu, 50), 35u);
  EXPECT_EQ(DelayTicksLeft(0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu), 0u) << "the longest wait ends too";
}

class DelayWindow : public ::testing::Test {
 protected:
  static inline int received_ = 0;
  static inline std::atomic<int> reposts_ = 0;
  static constexpr UINT kRepost = WM_APP + 1;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) ++received_;
    if (msg == kRepost) {
      ++reposts_;
      PostMessageA(hwnd, kRepost, 0, 0);
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  // Delay(50) on a thread of its own, beside a window that posts itself a
  // message each time it gets one.
  static DWORD WINAPI DelayBesideARepostingWindow(LPVOID) {
    HWND hwnd = CreateWindowExA(0, "UtilDelayTarget", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    PostMessageA(hwnd, kRepost, 0, 0);
    Delay(50);
    DestroyWindow(hwnd);
    return 0;
  }
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "UtilDelayTarget";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    received_ = 0;
  }
  void TearDown() override {
    DestroyWindow(hwnd_);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND hwnd_ = nullptr;
};

TEST_F(DelayWindow, ZeroReturnsWithoutDispatching) {
  ASSERT_TRUE(PostMessageA(hwnd_, WM_APP, 0, 0));
  Delay(0);
  EXPECT_EQ(received_, 0) << "Delay(0) ends before its first look at the queue";
}

TEST_F(DelayWindow, DispatchesWhileWaitingAndWaitsLongEnough) {
  ASSERT_TRUE(PostMessageA(hwnd_, WM_APP, 0, 0));
  const DWORD before = GetTickCount();
  Delay(60);
  const DWORD elapsed = GetTickCount() - before;
  EXPECT_EQ(received_, 1);
  EXPECT_GE(elapsed, 60u);
}

TEST_F(DelayWindow, EndsWhileAHandlerKeepsPosting) {
  reposts_ = 0;
  HANDLE thread = CreateThread(nullptr, 0, &DelayWindow::DelayBesideARepostingWindow, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // A hang guard only: a thread that never returns is left to the end of the program.
  EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0) << "Delay(50) never returned";
  CloseHandle(thread);
  EXPECT_GT(reposts_.load(), 1) << "the messages were handled during the wait";
}

TEST_F(DelayWindow, QuitRequestSurvivesTheWait) {
  PostQuitMessage(7);
  ASSERT_TRUE(PostMessageA(hwnd_, WM_APP, 0, 0));
  Delay(30);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit must reach the main loop";
  EXPECT_EQ(msg.wParam, 7u);
}

// ---- Clipboard ----

TEST(Clipboard, TextRoundTrip) {
  ASSERT_TRUE(VOClipboardCopy("abc"));
  EXPECT_EQ(VOClipboardGet(), "1abc");
  ASSERT_TRUE(VOClipboardCopy(""));
  EXPECT_EQ(VOClipboardGet(), "1") << "an empty text was read: flag 1, no text";
  std::string high;
  for (int c = 1; c < 256; ++c) high += static_cast<char>(c);
  ASSERT_TRUE(VOClipboardCopy(high));
  EXPECT_EQ(VOClipboardGet(), "1" + high);
}

TEST(Clipboard, OnlyABitmapGivesNoText) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(VOClipboardGet(), "0");
}

DWORD WINAPI CopyFromOtherThread(LPVOID result) {
  *static_cast<bool*>(result) = VOClipboardCopy("x");
  return 0;
}

TEST(Clipboard, HeldByAnotherWindowCopyFails) {
  HWND holder = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(holder, nullptr);
  // A second thread cannot open a clipboard that this thread holds open.
  ASSERT_TRUE(OpenClipboard(holder));
  bool copied = true;
  HANDLE thread = CreateThread(nullptr, 0, CopyFromOtherThread, &copied, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  CloseClipboard();
  DestroyWindow(holder);
  EXPECT_FALSE(copied);
}

// ---- Computer name ----

const char kFullName[] = "ABCDEFGHIJKLMNO";  // 15 characters, the longest a computer name gets

BOOL WINAPI FullLengthName(LPSTR buffer, LPDWORD size) {
  const DWORD need = sizeof kFullName;  // with the zero
  if (*size < need) {
    *size = need;
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, kFullName, need);
  *size = need - 1;
  return TRUE;
}

BOOL WINAPI FailingQuery(LPSTR, LPDWORD) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

BOOL WINAPI ShortName(LPSTR buffer, LPDWORD size) {
  std::memcpy(buffer, "PC1", 4);
  *size = 3;
  return TRUE;
}

TEST(ComputerName, FifteenCharactersFit) { EXPECT_EQ(ComputerNameFrom(FullLengthName), kFullName); }

TEST(ComputerName, ShortNameAndFailure) {
  EXPECT_EQ(ComputerNameFrom(ShortName), "PC1");
  EXPECT_EQ(ComputerNameFrom(FailingQuery), std::string(16, ' '));
}

TEST(ComputerName, LiveNameMatchesTheSystem) {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &size));
  EXPECT_EQ(VOGetComputerName(), name);
}

// ---- Version ----

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor, DWORD build) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  info.dwPlatformId = platform;
  info.dwMajorVersion = major;
  info.dwMinorVersion = minor;
  info.dwBuildNumber = build;
  return info;
}

TEST(WindowsVersion, EveryRowOfTheTable) {
  struct Row {
    DWORD platform, major, minor, build;
    const char* expected;
  };
  const Row rows[] = {
      {0, 3, 10, 123, "Win32S Version"},
      {1, 4, 0, 0x040003B6, "Windows 95, Build: 950"},
      {1, 4, 10, 0x040A08AE, "Windows 98, Build: 2222"},
      {1, 4, 90, 0x045A0BB8, "Windows ME, Build: 3000"},
      {1, 4, 20, 1, "WIN32 PLATFORM - Unknown"},
      {1, 5, 0, 1, "WIN32 PLATFORM - Unknown"},
      {2, 3, 51, 1057, "Windows NT 3.51, Build: 1057"},
      {2, 4, 0, 1381, "Windows NT 4.0, Build: 1381"},
      {2, 5, 0, 2195, "Windows 2000, Build: 2195"},
      {2, 5, 1, 2600, "Windows XP, Build: 2600"},
      {2, 6, 1, 7601, "Windows 7, Build: 7601"},
      {2, 6, 2, 9200, "Windows 7, Build: 9200"},
      {2, 6, 3, 9600, "Windows 7, Build: 9600"},
      {2, 6, 1, 7000, "Windows 7, Build: 7000"},
      {2, 6, 0, 6002, "Windows Vista, Build: 6002"},
      {2, 6, 1, 6999, "Windows Vista, Build: 6999"},
      {2, 10, 0, 19045, "WIN32NT PLATFORM - Unknown, Minor Ver: 0 Major Ver: 10, Build: 19045"},
      {2, 5, 2, 3790, "WIN32NT PLATFORM - Unknown, Minor Ver: 2 Major Ver: 5, Build: 3790"},
      {2, 3, 10, 528, "WIN32NT PLATFORM - Unknown, Minor Ver: 10 Major Ver: 3, Build: 528"},
      {2, 2, 0, 65536, "WIN32NT PLATFORM - Unknown, Minor Ver: 0 Major Ver: 2, Build: 65536"},
      {3, 5, 2, 100, "OS Unknown, Platform ID: 3Version: 5.2 Build 100"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(WindowsVerText(Version(r.platform, r.major, r.minor, r.build)), r.expected)
        << "platform " << r.platform << ", " << r.major << "." << r.minor << " build " << r.build;
  }
}

TEST(WindowsVersion, RunningSystemIsAnNtPlatform) {
  EXPECT_EQ(VOGetOSPlatform(), static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  const std::string text = VOGetWindowsVer();
  EXPECT_NE(text.find(", Build: "), std::string::npos) << text;
}

// ---- Time zones ----

TEST(TimeZone, LocalTimeToUtcWithAFixedBias) {
  ConventionsSetFixed();
  EXPECT_EQ(LocalTime2UTCWithBias("00:30:00", -420), "17:30:00");
  EXPECT_EQ(LocalTime2UTCWithBias("09:15:30", -420), "02:15:30");
  EXPECT_EQ(LocalTime2UTCWithBias("12:34:56", 0), "12:34:56");
  EXPECT_EQ(LocalTime2UTCWithBias("00:00:00", 0), "00:00:00");
}

TEST(TimeZone, ResultsWrapIntoOneDay) {
  ConventionsSetFixed();
  EXPECT_EQ(LocalTime2UTCWithBias("03:00:00", -420), "20:00:00") << "east of UTC: the previous day";
  EXPECT_EQ(LocalTime2UTCWithBias("22:00:00", 300), "03:00:00") << "west of UTC: the next day";
  EXPECT_EQ(LocalTime2UTCWithBias("19:00:00", 300), "00:00:00") << "exactly midnight is 00, not 24";
  EXPECT_EQ(LocalTime2UTCWithBias("23:59:59", 60), "00:59:59");
}

// Written-out expectations for the zones the time-zone cases run in
// (tests/CMakeLists.txt). Sydney keeps daylight saving, and the local time
// of a file time follows the bias in force now.
struct ZoneExpectations {
  const char* tz;
  long bias;
  const char* utcOfThreeAm;  // VOLocalTime2UTC("03:00:00"): standard bias only
  Date date;                 // local date of 2024-02-09 19:45:10 UTC
  const char* time;          // and its local time of day
  const char* timeInDaylight;
};
const ZoneExpectations* CurrentZone() {
  static const ZoneExpectations zones[] = {
      {"", 0, "03:00:00", {2024, 2, 9}, "19:45:10", "19:45:10"},
      {"Asia/Kolkata", -330, "21:30:00", {2024, 2, 10}, "01:15:10", "01:15:10"},
      {"Australia/Sydney", -600, "17:00:00", {2024, 2, 10}, "05:45:10", "06:45:10"},
  };
  const char* tz = std::getenv("TZ");
  for (const ZoneExpectations& z : zones) {
    if (std::string(tz != nullptr ? tz : "") == z.tz) return &z;
  }
  return nullptr;
}

TEST(TimeZone, LiveBiasIsTheStandardBias) {
  ConventionsSetFixed();
  const ZoneExpectations* zone = CurrentZone();
  if (zone == nullptr) GTEST_SKIP() << "no expectations written for this TZ";
  TIME_ZONE_INFORMATION info{};
  ASSERT_NE(GetTimeZoneInformation(&info), TIME_ZONE_ID_INVALID);
  EXPECT_EQ(info.Bias, zone->bias) << "the process runs in the zone it was given";
  EXPECT_EQ(VOLocalTime2UTC("03:00:00"), zone->utcOfThreeAm);
}

TEST(TimeZone, FileTimeGivesLocalDateAndTimeOfDay) {
  ConventionsSetFixed();
  const ZoneExpectations* zone = CurrentZone();
  if (zone == nullptr) GTEST_SKIP() << "no expectations written for this TZ";
  TIME_ZONE_INFORMATION info{};
  const bool daylight = GetTimeZoneInformation(&info) == TIME_ZONE_ID_DAYLIGHT;
  const SYSTEMTIME utc{2024, 2, 5, 9, 19, 45, 10, 0};
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
  LocalDateTime result = VOUTC2DateTime(&ft);
  EXPECT_EQ(result.date, zone->date);
  EXPECT_EQ(result.time, daylight ? zone->timeInDaylight : zone->time);

  result = VOUTC2DateTime(nullptr);
  EXPECT_TRUE(result.date.IsEmpty());
  EXPECT_EQ(result.time, "");
}

// ---- Memory ----

// Whether `block` is a block in use of the process heap.
bool InUse(const void* block) {
  const HANDLE heap = GetProcessHeap();
  PROCESS_HEAP_ENTRY entry{};
  bool found = false;
  HeapLock(heap);
  while (HeapWalk(heap, &entry)) found = found || ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.lpData == block);
  HeapUnlock(heap);
  return found;
}

TEST(Memory, FreeTakesNullAndAllocatedBlocks) {
  VOMemFree(nullptr);
  auto* block = static_cast<unsigned char*>(VOMemAlloc(172));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 172; ++i) ASSERT_EQ(block[i], 0) << "zeroed at " << i;
  EXPECT_TRUE(InUse(block));
  VOMemFree(block);
  EXPECT_FALSE(InUse(block)) << "the block went back to the heap";
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

}  // namespace
