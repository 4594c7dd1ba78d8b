#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <algorithm>

#include "tests/files/temp_folder.h"
#include "tests/harness/ui.h"
#include "util/directories.h"
#include "util/files.h"
#include "util/system.h"

namespace {

std::string CurrentFolder() {
  char buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

FILETIME Utc(WORD year, WORD month, WORD day) {
  SYSTEMTIME st{};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = 12;
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
    const FILETIME created = Utc(2011, 1, 2), accessed = Utc(2012, 3, 4), written = Utc(2013, 5, 6);
    ASSERT_TRUE(SetFileTime(h, &created, &accessed, &written));
    CloseHandle(h);
  }
  const std::vector<DirEntry> entries = VODir(temp.Path() + "big.*", 0x80);
  ASSERT_EQ(entries.size(), 1u);
  const DirEntry& e = entries[0];
  EXPECT_EQ(std::get<std::string>(e.Value(1)), "big.bin");
  EXPECT_EQ(std::get<std::uint64_t>(e.Value(2)), 5368709120ull);
  EXPECT_EQ(std::get<Date>(e.Value(3)), (Date{2013, 5, 6}));
  const FILETIME written = Utc(2013, 5, 6);
  EXPECT_EQ(std::get<std::string>(e.Value(4)), VOUTC2DateTime(&written).time);
  EXPECT_EQ(std::get<std::string>(e.Value(5)), VODirAttribute2String(e.bits));
  EXPECT_EQ(std::get<Date>(e.Value(6)), (Date{2012, 3, 4}));
  EXPECT_FALSE(std::get<std::string>(e.Value(7)).empty());
  EXPECT_FALSE(std::get<Date>(e.Value(8)).IsEmpty());  // Wine keeps no creation time of its own
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
  EXPECT_TRUE(VODirIsValidFileAttrib(0x80, 0x21)) << "archive and read-only never exclude";
  for (std::uint32_t bit : {0x10u, 0x04u, 0x02u, 0x800u, 0x400u, 0x100u}) {
    EXPECT_FALSE(VODirIsValidFileAttrib(0x80, bit | 0x20)) << std::hex << bit;
    EXPECT_TRUE(VODirIsValidFileAttrib(bit, bit | 0x20)) << std::hex << bit;
  }
}

}  // namespace
