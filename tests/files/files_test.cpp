#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

#include "errors/callstack.h"
#include "resources/resource_ids.h"
#include "tests/files/temp_folder.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"
#include "util/current_folder.h"
#include "util/directories.h"
#include "util/files.h"
#include "util/system.h"

namespace {

const std::string kRule(35, '_');

// A second handle that shares reading and writing but not deleting, as a
// program that still has the file open.
class Lock {
 public:
  explicit Lock(const std::string& file)
      : h_(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~Lock() { Release(); }
  void Release() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }
  bool Held() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

std::string ReadAll(const std::string& file) {
  std::string content;
  HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(h);
  return content;
}

// The error boxes of a process, told apart from its caption-less progress window.
HWND WaitForErrorBox(DWORD pid) {
  return ui::WaitForWindow(pid, [](HWND h) { return ui::ClassName(h) == "#32770" && ui::WindowTextW(h) == "Error"; });
}
std::string ProgressText(DWORD pid) {
  auto windows = ui::TopLevelWindows(pid, [](HWND h) {
    return ui::ClassName(h) == "#32770" && IsWindowVisible(h) && ui::WindowTextW(h).empty();
  });
  return windows.empty() ? "<no progress window>" : ui::WindowTextW(ui::Child(windows.front(), IDC_MESSAGE));
}

// The child side of the end-of-process tests: this same program, started
// with this test selected and the operation in the environment.
std::string Env(const char* name) {
  char value[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

TEST(RetryChild, DISABLED_RunsTheOperationOfItsEnvironment) {
  LanguageSet(static_cast<std::uint16_t>(std::stoi(Env("TV_RETRY_LANGUAGE"))));
  const auto tries = static_cast<std::uint16_t>(std::stoi(Env("TV_RETRY_TRIES")));
  const bool returned = VOFEraseEx(nullptr, Env("TV_RETRY_FILE"), tries);
  std::exit(returned ? 2 : 3);  // only reached when the operation did not end the process
}

bool StartRetryChild(testing_process::ChildProcess& child, const std::string& file, int tries, int language) {
  SetEnvironmentVariableA("TV_RETRY_FILE", file.c_str());
  SetEnvironmentVariableA("TV_RETRY_TRIES", std::to_string(tries).c_str());
  SetEnvironmentVariableA("TV_RETRY_LANGUAGE", std::to_string(language).c_str());
  return child.Start(testing_process::ProgramPath("files_tests.exe") +
                     " --gtest_filter=RetryChild.* --gtest_also_run_disabled_tests");
}

TEST(VOFile, TrueForFilesAndForDirectoriesWithMoreThanTheDirectoryBit) {
  TempFolder temp;
  EXPECT_FALSE(VOFile(temp.Path() + "missing.txt"));
  EXPECT_FALSE(VOFile(temp.Path())) << "a plain directory";
  EXPECT_TRUE(VOFile(temp.File("a.txt") + "   ")) << "trailing blanks are not part of the name";
  const std::string marked = temp.Path() + "marked";
  ASSERT_TRUE(CreateDirectoryA(marked.c_str(), nullptr));
  SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  ASSERT_NE(GetFileAttributesA(marked.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(VOFile(marked));
}

TEST(VOFErase, MissingFileIsTrueWithoutABoxAndAFileIsDeleted) {
  TempFolder temp;
  auto box = ui::AnswerNextBox(IDOK, GetCurrentProcessId(), 1500);
  EXPECT_TRUE(VOFErase(nullptr, temp.Path() + "missing.txt"));
  const std::string file = temp.File("gone.txt");
  EXPECT_TRUE(VOFErase(nullptr, file));
  EXPECT_EQ(box.get().hwnd, nullptr) << "no box for a missing or deletable file";
  EXPECT_FALSE(VOFile(file));
}

TEST(VOFErase, HeldFileShowsTheBoxInTheCurrentLanguageWithTheCallerBelow) {
  CALLSTACK_ENTER("EraseTest", "Test");
  TempFolder temp;
  const std::string file = temp.File("held.txt");
  Lock lock(file);
  ASSERT_TRUE(lock.Held());
  const struct {
    std::uint16_t language;
    std::string text;
  } cases[] = {
      {2, "[VOFErase] Cannot delete file : " + file + " !\r\nStill using by system/accessed by somebody else!"},
      {1, "[VOFErase] Tidak bisa hapus file : " + file + " !\r\nMasih digunakan oleh sistem/diakses oleh orang lain!"},
      {7, "[VOFErase] Tidak bisa hapus file : " + file + " !\r\nMasih digunakan oleh sistem/diakses oleh orang lain!"},
  };
  for (const auto& c : cases) {
    LanguageScope language(c.language);
    auto box = ui::AnswerNextBox(IDOK);
    EXPECT_FALSE(VOFErase(nullptr, file));
    const ui::BoxSnapshot snap = box.get();
    EXPECT_EQ(snap.title, "Error");
    EXPECT_EQ(snap.icon, ui::IconKind::Error);
    EXPECT_EQ(snap.text.substr(0, c.text.size()), c.text) << "language " << c.language;
    const std::string block = snap.text.substr(std::min(c.text.size(), snap.text.size()));
    EXPECT_EQ(block.rfind("\r\n\r\n" + kRule + "\r\n\r\n PROGRAMMER INFORMATION :", 0), 0u) << block;
    EXPECT_NE(block.find("   EraseTest\r\n"), std::string::npos) << "first line is the caller: " << block;
    EXPECT_EQ(block.find("VOFErase"), std::string::npos) << block;
  }
  EXPECT_TRUE(VOFile(file));
}

TEST(VOFEraseEx, RetriesWithAProgressWindowAndClosesItWhenTheFileIsFree) {
  TempFolder temp;
  const std::string file = temp.File("busy.txt");
  Lock lock(file);
  LanguageScope language(2);
  auto helper = std::async(std::launch::async, [&] {
    const DWORD pid = GetCurrentProcessId();
    HWND first = WaitForErrorBox(pid);
    if (first == nullptr) return std::string("no first box");
    ui::PressButton(first, IDOK);
    ui::WaitForWindowGone(first);
    HWND second = WaitForErrorBox(pid);
    if (second == nullptr) return std::string("no second box");
    const std::string progress = ProgressText(pid);
    lock.Release();
    ui::PressButton(second, IDOK);
    return progress;
  });
  EXPECT_TRUE(VOFEraseEx(nullptr, file, 5));
  EXPECT_EQ(helper.get(), "VOFEraseEx Trying Delete File : \r\n" + file + "\r\nTrying: 1 Time(s) !");
  EXPECT_FALSE(VOFile(file));
  EXPECT_EQ(ProgressText(GetCurrentProcessId()), "<no progress window>") << "closed on success";
}

// After the last try the process ends; run in a child so the test survives.
TEST(VOFEraseEx, EndsTheApplicationAfterTheLastTry) {
  TempFolder temp;
  const std::string file = temp.File("stuck.txt");
  Lock lock(file);
  testing_process::ChildProcess child;
  ASSERT_TRUE(StartRetryChild(child, file, 3, 1));
  std::vector<std::string> progress;
  for (int box = 1; box <= 3; ++box) {
    HWND h = WaitForErrorBox(child.Pid());
    ASSERT_NE(h, nullptr) << "box " << box;
    Sleep(50);
    EXPECT_EQ(ui::ReadMessageBox(h).text.rfind("[VOFErase] Tidak bisa hapus file : " + file + " !", 0), 0u);
    if (box > 1) progress.push_back(ProgressText(child.Pid()));
    ui::PressButton(h, IDOK);
    ui::WaitForWindowGone(h);
  }
  DWORD code = 99;
  ASSERT_TRUE(child.Wait(20000, &code));
  EXPECT_EQ(code, 0u) << "ended by VOQuit, not by returning (3)";
  const std::string head = "VOFEraseEx Trying Delete File : \r\n" + file + "\r\nTrying: ";
  EXPECT_EQ(progress, (std::vector<std::string>{head + "1 Time(s) !", head + "2 Time(s) !"}));
  EXPECT_TRUE(VOFile(file));
}

TEST(VOFRename, AFailedRenameLeavesTheOldTarget) {
  TempFolder temp;
  const std::string source = temp.File("new.txt", "new");
  const std::string target = temp.File("old.txt", "old");
  {
    Lock held(source);  // another program still has the source open
    EXPECT_FALSE(VOFRename(nullptr, source, target));
    EXPECT_EQ(ReadAll(target), "old");
  }
  EXPECT_TRUE(VOFRename(nullptr, source, target));
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_FALSE(VOFile(source));

  const std::string other = temp.File("other.txt", "other");
  Lock heldTarget(target);
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(VOFRename(nullptr, other, target));
  EXPECT_EQ(box.get().text.rfind("[VOFErase] Tidak bisa hapus file : " + target + " !", 0), 0u)
      << "a target that cannot be replaced shows the delete box";
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_EQ(ReadAll(other), "other");
}

TEST(VOFRenameEx, RetriesWithAProgressWindowUntilTheSourceIsFree) {
  TempFolder temp;
  const std::string source = temp.File("new.txt", "new");
  const std::string target = temp.File("old.txt", "old");
  Lock lock(source);
  auto helper = std::async(std::launch::async, [&] {
    std::string text;
    ui::WaitUntil([&] {
      text = ProgressText(GetCurrentProcessId());
      return text.find("Trying: 2") != std::string::npos;
    });
    lock.Release();
    return text;
  });
  EXPECT_TRUE(VOFRenameEx(nullptr, source, target, 10));
  EXPECT_EQ(helper.get(), "VOFRenameEx Trying Rename File : \r\n" + source + " to \r\n" + target + "\r\nTrying: 2 Time(s) !");
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_EQ(ProgressText(GetCurrentProcessId()), "<no progress window>") << "closed on success";
}

// A drive with a chosen number of free bytes.
std::uint64_t playedFree = 0;
std::string askedRoot;
bool PlayedFreeSpace(const std::string& root, std::uint64_t& freeBytes) {
  askedRoot = root;
  freeBytes = playedFree;
  return true;
}

class VOFCopyTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetFreeSpaceQuery(&PlayedFreeSpace); }
  void TearDown() override { SetFreeSpaceQuery(previous_); }
  FreeSpaceQuery previous_ = nullptr;
  TempFolder temp;
};

TEST_F(VOFCopyTest, RefusesWhenFreeSpaceOnlyEqualsTheSize) {
  const std::string source = temp.File("src.bin", std::string(5000, 'x'));
  const std::string target = temp.Path() + "dst.bin";
  playedFree = 5000;
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(VOFCopy(nullptr, source, target, false, false));
  const std::string drive(1, static_cast<char>(target[0] & ~0x20));
  EXPECT_EQ(box.get().text.rfind("[VOFCopy] Disk Space (Drive: " + drive +
                                     ") is not enough !\r\nSpace Left: 4 KB\r\nSpace Required: 4 KB\r\n\r\n",
                                 0),
            0u);
  EXPECT_EQ(askedRoot, drive + ":\\");
  EXPECT_FALSE(VOFile(target));

  playedFree = 5001;
  EXPECT_TRUE(VOFCopy(nullptr, source, target, false, false));
  EXPECT_EQ(ReadAll(target), std::string(5000, 'x'));
  const std::string shellTarget = temp.Path() + "shell.bin";
  EXPECT_TRUE(VOFCopy(nullptr, source, shellTarget, true, false));
  EXPECT_EQ(ReadAll(shellTarget), std::string(5000, 'x'));
}

TEST_F(VOFCopyTest, AsksBeforeOverwritingWithNoAsDefault) {
  playedFree = 1ull << 40;
  const std::string source = temp.File("src.txt", "fresh");
  const std::string target = temp.File("dst.txt", "kept");
  {
    LanguageScope language(2);
    auto box = ui::AnswerNextBox(IDNO);
    EXPECT_FALSE(VOFCopy(nullptr, source, target, false, true));
    const ui::BoxSnapshot snap = box.get();
    EXPECT_EQ(snap.title, "Overwrite ?");
    EXPECT_EQ(snap.text, "Same file name found in the destination folder !\r\n" + target + "\r\nOverwrite it ?");
    EXPECT_EQ(snap.DefaultButton(), IDNO);
    EXPECT_EQ(ReadAll(target), "kept");
  }
  {
    LanguageScope language(1);
    auto box = ui::AnswerNextBox(IDYES);
    EXPECT_TRUE(VOFCopy(nullptr, source, target, false, true));
    const ui::BoxSnapshot snap = box.get();
    EXPECT_EQ(snap.title, "Timpa ?");
    EXPECT_EQ(snap.text,
              "Sistem menemukan file yang sama pada folder tujuan !\r\n" + target + "\r\nTimpa file tersebut ?");
    EXPECT_EQ(ReadAll(target), "fresh");
  }
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(VOFCopy(nullptr, temp.Path() + "none.txt", target, false, false));
  EXPECT_EQ(box.get().text.rfind("[VOFCopy] File source missing : " + temp.Path() + "none.txt !\r\n\r\n", 0), 0u);
}

TEST_F(VOFCopyTest, ARefusedOrFailedCopyLeavesTheOldTarget) {
  const std::string source = temp.File("src.txt", "fresh");
  const std::string target = temp.File("dst.txt", "kept");
  const struct {
    const char* what;
    std::uint64_t free;
    DWORD sourceSharing;  // how another program holds the source
    bool expectBox;
  } cases[] = {
      {"not enough space", 5, FILE_SHARE_READ, true},
      {"the copy fails", 1ull << 40, 0, false},
  };
  for (const auto& c : cases) {
    playedFree = c.free;
    HANDLE held = CreateFileA(source.c_str(), GENERIC_READ, c.sourceSharing, nullptr, OPEN_EXISTING, 0, nullptr);
    auto box = ui::AnswerNextBox(IDOK, GetCurrentProcessId(), c.expectBox ? ui::kDefaultTimeoutMs : 1000);
    EXPECT_FALSE(VOFCopy(nullptr, source, target, false, false)) << c.what;
    EXPECT_EQ(box.get().hwnd != nullptr, c.expectBox) << c.what;
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target), "kept") << c.what;
  }
  std::vector<std::string> left;
  for (const DirValue& name : VODirList(temp.Path() + "*", 1)) left.push_back(std::get<std::string>(name));
  EXPECT_EQ(left, (std::vector<std::string>{"dst.txt", "src.txt"})) << "no staging file left behind";
}

bool FailingFreeSpace(const std::string& root, std::uint64_t&) {
  askedRoot = root;
  return false;
}

TEST_F(VOFCopyTest, RelativeTargetIsTestedOnTheDriveOfItsFullPath) {
  const std::string source = temp.File("src.txt", "abc");
  CurrentFolderKeeper keeper;
  ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
  playedFree = 1ull << 40;
  EXPECT_TRUE(VOFCopy(nullptr, source, "out.txt", false, false));
  EXPECT_EQ(askedRoot, std::string(1, static_cast<char>(temp.Path()[0] & ~0x20)) + ":\\") << "not drive O";
  EXPECT_EQ(ReadAll(temp.Path() + "out.txt"), "abc");

  // Free space that cannot be asked refuses nothing: the copy itself tells.
  SetFreeSpaceQuery(&FailingFreeSpace);
  auto box = ui::AnswerNextBox(IDOK, GetCurrentProcessId(), 1000);
  EXPECT_TRUE(VOFCopy(nullptr, source, "out.txt", false, false));
  EXPECT_EQ(box.get().hwnd, nullptr);
  EXPECT_EQ(ReadAll(temp.Path() + "out.txt"), "abc");
}

TEST(VOFEraseAll, DeletesPlainFilesOnly) {
  TempFolder temp;
  const std::string a = temp.File("a.txt", "12345");
  const std::string b = temp.File("b.log");
  const std::string hidden = temp.File("h.txt", "123");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((temp.Path() + "sub").c_str(), nullptr);
  EXPECT_EQ(VOFileSize(temp.Path() + "h.*"), 3u) << "hidden files are sized too";
  EXPECT_EQ(VOFileSize(temp.Path() + "a.*"), 5u);
  EXPECT_TRUE(VOFEraseAll(nullptr, temp.Path().substr(0, temp.Path().size() - 1)));
  EXPECT_FALSE(VOFile(a));
  EXPECT_FALSE(VOFile(b));
  EXPECT_TRUE(VOFile(hidden));
  EXPECT_NE(GetFileAttributesA((temp.Path() + "sub").c_str()), INVALID_FILE_ATTRIBUTES);
}

void CallStackFromOuter(std::string& level1, std::string& level0) {
  CALLSTACK_ENTER("Outer", "Test");
  level1 = CallStack(1);
  level0 = CallStack(0);
}

TEST(CallStack, StartsAtItsCallerAndLeavesTheTextOnTheClipboard) {
  std::string level1, level0;
  CallStackFromOuter(level1, level0);
  EXPECT_EQ(level1.find("   CallStack"), std::string::npos) << level1;
  EXPECT_NE(level1.find("   Outer\r\n"), std::string::npos) << level1;
  EXPECT_NE(level0.find("   CallStack\r\nLine: "), std::string::npos) << level0;
  EXPECT_EQ(VOClipboardGet(), "1" + level0);
}

}  // namespace
