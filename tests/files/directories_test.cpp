#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <future>

#include "tests/files/temp_folder.h"
#include "tests/harness/ui.h"
#include "util/directories.h"
#include "util/files.h"
#include "util/shell_folders.h"
#include "util/system.h"

namespace {

std::string CurrentFolder() {
  char buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

FILETIME Utc(WORD year, WORD month, WORD day, WORD hour = 12, WORD minute = 0, WORD second = 0) {
  SYSTEMTIME st{};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = hour;
  st.wMinute = minute;
  st.wSecond = second;
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(DirExist, AnswersAndLeavesTheCurrentFolderWhereItWas) {
  TempFolder temp;
  const std::string before = CurrentFolder();
  EXPECT_TRUE(DirExist(temp.Path()));
  EXPECT_TRUE(DirExist(temp.Path().substr(0, temp.Path().size() - 1) + "  "));
  EXPECT_EQ(CurrentFolder(), before) << "after a folder that exists";
  EXPECT_FALSE(DirExist(temp.Path() + "missing\\"));
  EXPECT_FALSE(DirExist("Q:\\nowhere"));
  EXPECT_FALSE(DirExist(temp.File("file.txt")));
  EXPECT_EQ(CurrentFolder(), before) << "after a failed test";
}

std::wstring CurrentFolderW() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

// The ANSI calls stop at MAX_PATH: the deep folder is made, entered and
// removed through the wide ones.
TEST(DirExist, ACurrentFolderLongerThanMaxPathIsPutBackToo) {
  TempFolder temp;
  std::wstring deep(temp.Path().begin(), temp.Path().end() - 1);  // the temporary path is plain ASCII
  std::vector<std::wstring> made;
  for (wchar_t c = L'a'; deep.size() <= MAX_PATH; ++c) {
    deep += L"\\" + std::wstring(60, c);
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    made.push_back(deep);
  }
  const std::wstring before = CurrentFolderW();
  ASSERT_TRUE(SetCurrentDirectoryW(deep.c_str()));
  const std::wstring inside = CurrentFolderW();
  EXPECT_TRUE(DirExist(temp.Path()));
  EXPECT_TRUE(CurrentFolderW() == inside) << "after DirExist";
  auto noBox = ui::AnswerNextBox(IDNO, GetCurrentProcessId(), 3000);  // a hang guard, should Z: be missing
  EXPECT_TRUE(VOIsDriveReady(nullptr, "Z"));
  EXPECT_EQ(noBox.get().hwnd, nullptr);
  EXPECT_TRUE(CurrentFolderW() == inside) << "after VOIsDriveReady";
  SetCurrentDirectoryW(before.c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW((L"\\\\?\\" + *it).c_str());
}

TEST(VODirMake, CreatesEachLevelAndReportsALevelItCannotMake) {
  TempFolder temp;
  const std::string base = temp.Path();
  EXPECT_TRUE(VODirMake(nullptr, base + "x\\y\\z\\ ", false));
  EXPECT_TRUE(DirExist(base + "x"));
  EXPECT_TRUE(DirExist(base + "x\\y"));
  EXPECT_TRUE(DirExist(base + "x\\y\\z"));
  EXPECT_TRUE(DirMake_NoExist(nullptr, base + "x\\y\\z", false));

  temp.File("x\\file");
  VOClipboardCopy("before");
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(VODirMake(nullptr, base + "x\\file\\deeper", false));
  const std::string text = box.get().text;
  const std::string head = "[VODirMake] Failed creating directory " + base + "x\\file !";
  ASSERT_EQ(text.rfind(head, 0), 0u) << text;
  std::string clipboard = VOClipboardGet();
  EXPECT_EQ(clipboard.substr(0, 1), "1");
  EXPECT_EQ(clipboard.substr(1), text.substr(head.size())) << "the call-stack block goes to the clipboard";
}

TEST(VODirMake, RetryOffersRetryAndCancelWithTheSameText) {
  TempFolder temp;
  const std::string obstacle = temp.File("file");
  auto helper = std::async(std::launch::async, [&] {
    std::vector<ui::BoxSnapshot> boxes;
    for (int button : {IDRETRY, IDCANCEL}) {
      HWND h = ui::WaitForMessageBox();
      if (h == nullptr) break;
      boxes.push_back(ui::ReadMessageBox(h));
      if (!boxes.back().HasButton(button)) {
        // No way out for the user: clear the way so the call can end.
        DeleteFileA(obstacle.c_str());
        ui::PressButton(h, IDOK);
        break;
      }
      ui::PressButton(h, button);
      ui::WaitForWindowGone(h);
    }
    return boxes;
  });
  EXPECT_FALSE(VODirMake(nullptr, temp.Path() + "file\\deeper", true)) << "Cancel ends the retries";
  const std::vector<ui::BoxSnapshot> boxes = helper.get();
  ASSERT_EQ(boxes.size(), 2u) << "Retry shows the box again";
  for (const ui::BoxSnapshot& box : boxes) {
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.text.rfind("[VODirMake] Failed creating directory " + temp.Path() + "file !\r\n", 0), 0u);
  }
}

TEST(VODirRemove, RemovesAFolderWithFilesButNotOneWithASubfolder) {
  TempFolder temp;
  const std::string flat = temp.Path() + "flat";
  CreateDirectoryA(flat.c_str(), nullptr);
  temp.File("flat\\one.txt");
  temp.File("flat\\two.txt");
  EXPECT_TRUE(VODirRemove(nullptr, flat + "\\"));
  EXPECT_FALSE(Exists(flat));
  EXPECT_TRUE(VODirRemove(nullptr, flat)) << "a missing folder is already removed";

  const std::string nested = temp.Path() + "nested";
  CreateDirectoryA(nested.c_str(), nullptr);
  CreateDirectoryA((nested + "\\inner").c_str(), nullptr);
  temp.File("nested\\file.txt");
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(VODirRemove(nullptr, nested));
  EXPECT_EQ(box.get().text.rfind("[VODirRemove] Failed remove directory " + nested + " !\r\n\r\n", 0), 0u);
  EXPECT_TRUE(Exists(nested + "\\inner"));
  EXPECT_FALSE(Exists(nested + "\\file.txt")) << "its files went first";
}

TEST(VODir, EntriesCarryElevenValuesInOrder) {
  TempFolder temp;
  const std::string big = temp.Path() + "big.bin";
  {
    HANDLE h = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = 5368709120LL;
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    const FILETIME created = Utc(2011, 1, 2, 3, 4, 5), accessed = Utc(2012, 3, 4, 6, 7, 8),
                   written = Utc(2013, 5, 6, 9, 10, 11);
    ASSERT_TRUE(SetFileTime(h, &created, &accessed, &written));
    CloseHandle(h);
  }
  const std::vector<DirEntry> entries = VODir(temp.Path() + "big.*", 0x80);
  ASSERT_EQ(entries.size(), 1u);
  const DirEntry& e = entries[0];
  EXPECT_EQ(std::get<std::string>(e.Value(1)), "big.bin");
  EXPECT_EQ(std::get<std::uint64_t>(e.Value(2)), 5368709120ull);
  // The suite runs in UTC, so the local times are the ones set.
  EXPECT_EQ(std::get<Date>(e.Value(3)), (Date{2013, 5, 6}));
  EXPECT_EQ(std::get<std::string>(e.Value(4)), "09:10:11");
  EXPECT_EQ(std::get<std::string>(e.Value(5)), VODirAttribute2String(e.bits));
  // Wine keeps no creation time of its own (it reports the write time): all
  // three times, each different, through the conversion of one record.
  WIN32_FIND_DATAA data{};
  data.ftCreationTime = Utc(2011, 1, 2, 3, 4, 5);
  data.ftLastAccessTime = Utc(2012, 3, 4, 6, 7, 8);
  data.ftLastWriteTime = Utc(2013, 5, 6, 9, 10, 11);
  const DirEntry converted = VODirFindDataConvert(data);
  const std::pair<unsigned, DirValue> times[] = {
      {3, Date{2013, 5, 6}}, {4, std::string("09:10:11")}, {6, Date{2012, 3, 4}},
      {7, std::string("06:07:08")}, {8, Date{2011, 1, 2}}, {9, std::string("03:04:05")},
  };
  for (const auto& [column, value] : times) EXPECT_EQ(converted.Value(column), value) << "column " << column;
  const std::string shortName = std::get<std::string>(e.Value(10));
  EXPECT_TRUE(shortName == "BIG.BIN" || shortName == "big.bin") << shortName;  // Wine keeps no 8.3 names
  EXPECT_EQ(std::get<std::uint32_t>(e.Value(11)), GetFileAttributesA(big.c_str()));
  EXPECT_EQ(VODirList(temp.Path() + "*.bin", 2), std::vector<DirValue>{DirValue(std::uint64_t{5368709120ull})});
}

TEST(VODir, AttributesDecideWhichEntriesAreKept) {
  TempFolder temp;
  const std::string hidden = temp.File("hid.txt");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::string readOnly = temp.File("ro.txt");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  CreateDirectoryA((temp.Path() + "sub").c_str(), nullptr);

  EXPECT_TRUE(VODirList(temp.Path() + "hid*", 1).empty()) << "a mask matching only hidden files";
  ASSERT_EQ(VODir(temp.Path() + "hid*", 0x02).size(), 1u);
  EXPECT_EQ(VODir(temp.Path() + "hid*", 0x02)[0].attributes.find('H') != std::string::npos, true);
  EXPECT_EQ(VODirList(temp.Path() + "ro*", 5), std::vector<DirValue>{DirValue(std::string("AR"))});
  EXPECT_EQ(VODirList(temp.Path() + "*", 1), std::vector<DirValue>{DirValue(std::string("ro.txt"))});

  std::vector<std::string> names;
  for (const DirEntry& e : VODir(temp.Path() + "*", 0x10)) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "ro.txt", "sub"}));
  EXPECT_TRUE(VODir(temp.Path() + "none*", 0x80).empty());
}

TEST(VODirAttributes, LettersInFixedOrderAndWhichBitsExclude) {
  EXPECT_EQ(VODirAttribute2String(0xFFFFFFFF), "COTADSHR");
  const struct {
    std::uint32_t bit;
    const char* letter;
    bool excludes;  // from a listing of plain files (wanted 0x80)
  } bits[] = {
      {0x800, "C", true}, {0x400, "O", true}, {0x100, "T", true}, {0x20, "A", false}, {0x10, "D", true},
      {0x04, "S", true},  {0x02, "H", true},  {0x01, "R", false}, {0x80, "", false},  {0x1000, "", false},
  };
  for (const auto& b : bits) {
    EXPECT_EQ(VODirAttribute2String(b.bit), b.letter) << std::hex << b.bit;
    EXPECT_EQ(VODirIsValidFileAttrib(0x80, b.bit | 0x20), !b.excludes) << std::hex << b.bit;
    EXPECT_TRUE(VODirIsValidFileAttrib(b.bit, b.bit | 0x21)) << std::hex << b.bit;
  }
  EXPECT_FALSE(VODirIsValidFileAttrib(0x10, 0x12)) << "wanting directories admits no hidden one";
}

}  // namespace
