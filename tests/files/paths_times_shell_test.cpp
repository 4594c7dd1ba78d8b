#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

#include <windows.h>
#include <shellapi.h>

#include "tests/files/temp_folder.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"
#include "util/file_times.h"
#include "util/files.h"
#include "util/path_strings.h"
#include "util/shell_folders.h"
#include "util/system.h"

namespace {

TEST(PathStrings, TakeApartAndPutTogether) {
  const struct {
    std::string (*routine)(const std::string&, const std::string&);
    const char* name;
    std::string a, b, expected;
  } twoArgs[] = {
      {&VOChangeExtFile, "ext", "C:\\a.b\\file", "txt", "C:\\a.b\\file.txt"},
      {&VOChangeExtFile, "ext", "C:\\a.b\\file.old", ".txt", "C:\\a.b\\file.txt"},
      {&VOChangeExtFile, "ext", "file.old", "txt", "file.txt"},
      {&VOChangeExtFile, "ext", "C:\\dir\\archive.tar.gz", "zip", "C:\\dir\\archive.tar.zip"},
      {&VOChangePathFile, "path", "C:\\old\\name.txt", "D:\\new", "D:\\new\\name.txt"},
      {&VOChangePathFile, "path", "name.txt", "D:\\new\\", "D:\\new\\name.txt"},
  };
  for (const auto& c : twoArgs) EXPECT_EQ(c.routine(c.a, c.b), c.expected) << c.name << " " << c.a << " " << c.b;

  const struct {
    std::string (*routine)(const std::string&);
    const char* name;
    std::string in, expected;
  } oneArg[] = {
      {&VORetFullPath, "full", "", ""},
      {&VORetFullPath, "full", "C:\\x", "C:\\x\\"},
      {&VORetFullPath, "full", "C:\\x\\", "C:\\x\\"},
      {&VORetFileDir, "dir", "C:\\x\\y.txt", "C:\\x\\"},
      {&VORetFileDir, "dir", "y.txt", ""},
      {&VORetFileName, "name", "C:\\x\\y.txt", "y.txt"},
      {&VORetFileName, "name", "y.txt", "y.txt"},
      {&VORetFileName, "name", "C:\\x\\", ""},
  };
  for (const auto& c : oneArg) EXPECT_EQ(c.routine(c.in), c.expected) << c.name << " " << c.in;
}

// The zones these cases run in (tests/CMakeLists.txt) and the UTC time of
// day, hh * 10000 + mm * 100 + ss, of two local times there.
struct ZoneTimes {
  const char* tz;
  std::uint32_t afternoon;  // 13:14:15 local
  std::uint32_t night;      // 02:00:00 local, before midnight in UTC east of it
};
const ZoneTimes* CurrentZone() {
  static const ZoneTimes zones[] = {{"", 131415, 20000}, {"Asia/Kolkata", 74415, 203000}};
  const char* tz = std::getenv("TZ");
  for (const ZoneTimes& z : zones) {
    if (std::string(tz != nullptr ? tz : "") == z.tz) return &z;
  }
  return nullptr;
}

class FileTimes : public ::testing::Test {
 protected:
  HANDLE Open(const std::string& file) {
    return CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
  }
  TempFolder temp;
};

TEST_F(FileTimes, SetReadBackAndCopy) {
  const ZoneTimes* zone = CurrentZone();
  if (zone == nullptr) GTEST_SKIP() << "no expectations written for this TZ";
  const std::string a = temp.File("a.txt");
  const std::string b = temp.File("b.txt");
  HANDLE h = Open(a);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  // Only the write time is set; the others are left alone.
  FILETIME accessBefore{};
  GetFileTime(h, nullptr, &accessBefore, nullptr);
  EXPECT_TRUE(VOSetFileDateTime(nullptr, h, Date{}, "", Date{}, "", Date{2019, 7, 8}, "13:14:15"));
  FILETIME accessAfter{};
  GetFileTime(h, nullptr, &accessAfter, nullptr);
  EXPECT_EQ(CompareFileTime(&accessBefore, &accessAfter), 0);
  const FileDateTime fromHandle = VOFileDateTimeEx(nullptr, h);

  // The time given is local; the pair is read back in UTC, and a time that
  // crosses midnight keeps the date it was given.
  EXPECT_TRUE(VOSetFileDateTime(nullptr, h, Date{}, "", Date{}, "", Date{2019, 7, 8}, "02:00:00"));
  const FileDateTime night = VOFileDateTimeEx(nullptr, h);
  CloseHandle(h);
  EXPECT_EQ(night.date, (Date{2019, 7, 8}));
  EXPECT_EQ(night.time, zone->night);
  EXPECT_EQ(fromHandle.date, (Date{2019, 7, 8}));
  EXPECT_EQ(fromHandle.time, zone->afternoon);
  const FileDateTime fromName = VOFileDateTime(nullptr, a);
  EXPECT_EQ(fromName.date, night.date);
  EXPECT_EQ(fromName.time, night.time);

  EXPECT_TRUE(VOCopyFileDateTime(nullptr, a, b));
  EXPECT_EQ(VOFileDateTime(nullptr, b).date, (Date{2019, 7, 8}));
  EXPECT_EQ(VOFileDateTime(nullptr, b).time, zone->night);
}

TEST_F(FileTimes, FilesThatCannotBeOpenedAreReported) {
  const std::string missing = temp.Path() + "missing.txt";
  const std::string present = temp.File("present.txt");
  auto box = ui::AnswerNextBox(IDOK);
  const FileDateTime pair = VOFileDateTime(nullptr, missing);
  EXPECT_TRUE(pair.date.IsEmpty());
  EXPECT_EQ(pair.time, 0u);
  EXPECT_EQ(box.get().text.rfind("VOFileDateTime: Error Opening file: " + missing + "\r\n\r\n", 0), 0u);

  box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(VOCopyFileDateTime(nullptr, present, missing));
  EXPECT_EQ(box.get().text.rfind("VOCopyFileDateTime [Destination]: Error Opening file: " + missing, 0), 0u);
}

TEST(ShellCopy, OneFileAndListsOfFiles) {
  TempFolder from, to;
  const std::string one = from.File("one.txt", "1");
  from.File("two.txt", "22");
  EXPECT_TRUE(VOSHCopy(one, to.Path() + "copy.txt", false));
  EXPECT_EQ(VOFileSize(to.Path() + "copy.txt"), 1u);
  EXPECT_TRUE(VOSHCopy2(from.Path(), to.Path().substr(0, to.Path().size() - 1), {"one.txt", "two.txt"},
                        {"uno.txt", "dos.txt"}));
  EXPECT_EQ(VOFileSize(to.Path() + "uno.txt"), 1u);
  EXPECT_EQ(VOFileSize(to.Path() + "dos.txt"), 2u);
  EXPECT_FALSE(VOSHCopy(from.Path() + "missing.txt", to.Path() + "x.txt", false));
}

TEST(ShellFolders, VersionInformationAndSystemFolders) {
  std::string exe = testing_process::ExeDirectory() + "TV-SERKEY.exe";
  EXPECT_EQ(VOGetFileVSInfo(exe, "\\StringFileInfo\\040904E4\\FileVersion"), "2014.02.13");
  EXPECT_EQ(VOGetFileVSInfo(exe, "\\StringFileInfo\\040904E4\\CompanyName"), "Talvik");
  TempFolder temp;
  EXPECT_EQ(VOGetFileVSInfo(temp.File("plain.txt"), "\\StringFileInfo\\040904E4\\FileVersion"), "");
  const std::string windows = VOGetWindowsDir();
  ASSERT_FALSE(windows.empty());
  EXPECT_EQ(VOGetSystemDir().rfind(windows, 0), 0u) << "the system folder lies in the Windows folder";
  EXPECT_EQ(VOFileDisplayName(windows + "\\notepad.exe"), "notepad.exe");
  // With extensions hidden the shell drops ".exe"; the routine gives it back.
  const char* const kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  const DWORD hide = 1;
  RegSetKeyValueA(HKEY_CURRENT_USER, kAdvanced, "HideFileExt", REG_DWORD, &hide, sizeof hide);
  SHFILEINFOA shell{};
  SHGetFileInfoA((windows + "\\notepad.exe").c_str(), 0, &shell, sizeof shell, SHGFI_DISPLAYNAME);
  EXPECT_STREQ(shell.szDisplayName, "notepad") << "the shell hides the extension";
  EXPECT_EQ(VOFileDisplayName(windows + "\\notepad.exe"), "notepad.exe");
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kAdvanced, "HideFileExt");  // back to the prefix's default
  EXPECT_EQ(VODirDisplayName(temp.Path() + "plain.txt"), temp.Path() + "plain.txt");
  // A dot in a folder name is no extension to give back.
  CreateDirectoryA((temp.Path() + "a.b").c_str(), nullptr);
  temp.File("a.b\\noext");
  EXPECT_EQ(VODirDisplayName(temp.Path() + "a.b\\noext"), temp.Path() + "a.b\\noext");
}

TEST(VOIsDriveReady, AsksAgainForAMissingDriveAndKeepsTheCurrentFolder) {
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof before, before);
  EXPECT_TRUE(VOIsDriveReady(nullptr, "C"));
  auto answers = std::async(std::launch::async, [] {
    ui::BoxSnapshot first = ui::AnswerNextBox(IDYES).get();
    ui::BoxSnapshot second = ui::AnswerNextBox(IDNO).get();
    return std::make_pair(first, second);
  });
  EXPECT_FALSE(VOIsDriveReady(nullptr, "Q:"));
  const auto [first, second] = answers.get();
  EXPECT_EQ(first.title, "Not Ready");
  EXPECT_EQ(first.text, "Driver : Q: Is not ready! Try again ?");
  EXPECT_EQ(first.DefaultButton(), IDYES);
  EXPECT_EQ(second.text, first.text) << "Yes tests the drive again";
  char after[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(after, before);
}

TEST(VODirectoryPicker, CancelledGivesNothingConfirmedGivesTheFolder) {
  TempFolder temp;
  const std::string start = temp.Path().substr(0, temp.Path().size() - 1);
  for (int button : {IDCANCEL, IDOK}) {
    auto press = std::async(std::launch::async, [button] {
      HWND dialog = ui::WaitForMessageBox();
      if (dialog == nullptr) return false;
      Sleep(300);  // let it select the start folder
      ui::PressButton(dialog, button);
      return true;
    });
    const std::string chosen = VODirectoryPicker(nullptr, "Pick a folder", start);
    ASSERT_TRUE(press.get()) << "no folder dialog";
    EXPECT_EQ(chosen, button == IDOK ? start : "") << button;
  }
}

}  // namespace
