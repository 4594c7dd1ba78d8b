// The fatal path end to end, in child processes that end through it: the
// report in the error log, the error window, the clean-up and the exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "errors/error_report.h"
#include "platform/handles.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"
#include "util/system.h"

namespace {

using testing_process::ChildProcess;
using testing_process::ExeDirectory;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// "   - " + module padded to 30 + ": " + the rest.
std::string StackRow(const std::string& module, const std::string& rest) {
  return "   - " + module + std::string(30 - module.size(), ' ') + ": " + rest;
}

int CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  int n = 0;
  for (const std::string& line : lines) n += line.rfind(prefix, 0) == 0;
  return n;
}

// What the child showed and how it ended.
struct Outcome {
  ui::BoxSnapshot box;
  std::string clipboard;
  bool otherWindowDisabled = false;
  bool ended = false;
  DWORD exitCode = 99;
};

// `windowAnswers`: false when the child's window thread is stuck (a stack
// overflow), so that nothing is sent to its window. The window is left up
// for `holdMs` before it is answered.
Outcome RunChild(const std::string& arguments, bool windowAnswers = true, DWORD holdMs = 0) {
  Outcome outcome;
  ChildProcess child;
  if (!child.Start(testing_process::ProgramPath("error_child.exe") + " " + arguments)) return outcome;
  HWND box = ui::WaitForMessageBox(child.Pid());
  if (box != nullptr) {
    Sleep(100);
    outcome.box = ui::ReadMessageBox(box);
    outcome.clipboard = VOClipboardGet();
    HWND other = windowAnswers ? ui::WaitForWindowTitled(child.Pid(), "error-child", 2000) : nullptr;
    outcome.otherWindowDisabled = other != nullptr && !IsWindowEnabled(other);
    Sleep(holdMs);
    ui::PressButton(box, IDNO);
  }
  outcome.ended = child.Wait(20000, &outcome.exitCode);
  return outcome;
}

class FatalPath : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileA(LogPath().c_str()); }
  void TearDown() override { DeleteFileA(LogPath().c_str()); }
  static std::string LogName() { return "fatal_test.log"; }
  static std::string LogPath() { return ExeDirectory() + LogName(); }
};

TEST_F(FatalPath, SystemErrorReportsWithoutRecordAndWindowInBothLanguages) {
  const std::string index = ExeDirectory() + "fatal_test.ntx";
  std::ofstream(index) << "index";
  Outcome first = RunChild("system " + LogName() + " 2 \"Disk gone\" \"" + index + "\"");
  ASSERT_TRUE(first.ended);
  EXPECT_EQ(first.exitCode, 0u);
  EXPECT_EQ(GetFileAttributesA(index.c_str()), INVALID_FILE_ATTRIBUTES) << "the index file is deleted on the way out";

  // The window: English texts, the listing from SystemError; its levels
  // count from the window, which sits one level deeper than the report.
  std::string position = "Error Position : \r\nFunc  Error:SystemError Baris ke: ";
  EXPECT_EQ(first.box.title, "Error");
  EXPECT_EQ(first.box.text.rfind("APPLICATION ERROR!!!\r\n\r\nDescription : \tDisk gone\r\n\r\n" + position, 0), 0u)
      << first.box.text;
  EXPECT_NE(first.box.text.find("Func  Child:Nested Baris ke: 105\r\n\r\n\r\nSave this error into JPEG picture file ?"),
            std::string::npos)
      << first.box.text;
  EXPECT_EQ(first.box.text.find("Baris ke: 104"), std::string::npos) << "level 11 is never listed";
  EXPECT_EQ(first.box.owner, nullptr);
  EXPECT_TRUE(first.otherWindowDisabled) << "task-modal: the thread's other windows are disabled";
  const std::string question = "\r\n\r\nSave this error into JPEG picture file ?";
  EXPECT_EQ(first.clipboard, "1" + first.box.text.substr(0, first.box.text.size() - question.size()));

  // The report: lines 1-9, 28-31, 35 only; no leading empty lines in a new log.
  const std::string log1 = ReadFile(LogPath());
  std::vector<std::string> lines = Lines(log1);
  ASSERT_EQ(lines.size(), 23u) << log1;
  EXPECT_EQ(lines[0], std::string(25, '*') + " ERROR " + std::string(25, '*'));
  EXPECT_EQ(lines[1], "TV-SERKEY, Release :  Build 2014.02.13");
  EXPECT_EQ(lines[3].rfind("Computer : ", 0), 0u);
  EXPECT_EQ(lines[5].size(), 19u) << "DD/MM/YYYY hh:mm:ss: " << lines[5];
  const std::vector<std::string> middle = {"", "Error message:", std::string(14, '-'), "Error            : Disk gone",
                                           "Alias            :    Recno: 0   LastRec: 0", "Call Stack:"};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.begin() + 12), middle);
  EXPECT_EQ(lines[12].rfind(StackRow("Func  Error", "SystemError (Line: "), 0), 0u) << lines[12];
  EXPECT_EQ(lines[13], StackRow("Func  Child", "Nested (Line: 112)"));
  EXPECT_EQ(lines[21], StackRow("Func  Child", "Nested (Line: 104)"));
  EXPECT_EQ(lines[22], "Remarks          : ");

  // A second report in the same log: three empty lines between; Indonesian
  // window; an empty message leaves out the report's "Error" line.
  Outcome second = RunChild("system " + LogName() + " 1 \"\"");
  ASSERT_TRUE(second.ended);
  EXPECT_EQ(second.exitCode, 0u);
  EXPECT_EQ(second.box.text.rfind("APLIKASI ERROR!!!\r\n\r\nKeterangan : \t\r\n\r\nPosisi Error : \r\n", 0), 0u)
      << second.box.text;
  EXPECT_NE(second.box.text.find("\r\n\r\nSimpan error ini ke dalam file gambar JPEG ?"), std::string::npos);
  const std::string log2 = ReadFile(LogPath());
  ASSERT_EQ(log2.substr(0, log1.size()), log1);
  EXPECT_EQ(log2.substr(log1.size(), 6 + 25), "\r\n\r\n\r\n" + std::string(25, '*'));
  EXPECT_EQ(CountStarting(Lines(log2.substr(log1.size())), "Error            :"), 0);
}

TEST_F(FatalPath, LogThatCannotBeCreatedSkipsTheReportButNotTheWindow) {
  // A folder in the log's place (it cannot be created), then a log held
  // by another program (it cannot be opened): each is left as it was.
  for (bool folder : {true, false}) {
    SCOPED_TRACE(folder ? "folder" : "log held open");
    const std::string before = "earlier report\r\n";
    FileHandle held;
    if (folder) {
      ASSERT_TRUE(CreateDirectoryA(LogPath().c_str(), nullptr));
    } else {
      std::ofstream(LogPath(), std::ios::binary) << before;
      held.Reset(CreateFileA(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(held.Valid());
    }
    Outcome outcome = RunChild("system " + LogName() + " 2 \"No log\"");
    EXPECT_EQ(outcome.box.text.rfind("APPLICATION ERROR!!!", 0), 0u) << "the window still appears";
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.exitCode, 0u);
    held.Close();
    if (folder) {
      EXPECT_TRUE(RemoveDirectoryA(LogPath().c_str())) << "the folder is still there, and empty";
    } else {
      EXPECT_EQ(ReadFile(LogPath()), before) << "no report in the log";
    }
  }
}

TEST_F(FatalPath, MalformedHexPairEndsTheApplicationThroughTheReport) {
  Outcome outcome = RunChild("hex " + LogName());
  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_NE(outcome.box.text.find("Description : \tInvalid Argument cHex on VOHex2Asc : 4  length: 1\r\n"),
            std::string::npos)
      << outcome.box.text;
  std::vector<std::string> lines = Lines(ReadFile(LogPath()));
  EXPECT_EQ(CountStarting(lines, "Error            : Invalid Argument cHex on VOHex2Asc : 4  length: 1"), 1);
  // Start level 2: the listing begins at VOHex2Asc itself.
  auto stack = std::find(lines.begin(), lines.end(), "Call Stack:");
  ASSERT_NE(stack, lines.end());
  EXPECT_EQ((stack + 1)->rfind(StackRow("Func  String", "VOHex2Asc (Line: "), 0), 0u) << *(stack + 1);
}

struct Fault {
  const char* scenario;
  const char* description;
  const char* code;
  const char* name;
  const char* routine;
  const char* line;
};

void ExpectReported(const Fault& c, const std::string& logName, const std::string& logPath, DWORD holdMs = 0) {
  DeleteFileA(logPath.c_str());
  const bool overflow = std::string(c.scenario).rfind("overflow", 0) == 0;
  Outcome outcome = RunChild(std::string(c.scenario) + " " + logName, !overflow, holdMs);
  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.exitCode, 0u) << "ended through the report, not by the fault";
  EXPECT_EQ(outcome.box.text.rfind(std::string("APPLICATION ERROR!!!\r\n\r\nDescription : \t") + c.description, 0), 0u)
      << outcome.box.text;
  const std::string row = std::string("Func  Child:") + c.routine + " Baris ke: " + c.line + "\r\n";
  EXPECT_NE(outcome.box.text.find("Error Position : \r\n" + row), std::string::npos) << outcome.box.text;
  std::vector<std::string> lines = Lines(ReadFile(logPath));
  // The record's lines are there, the listing from the faulting routine on.
  EXPECT_EQ(CountStarting(lines, std::string("Sub Code         : ") + c.code), 1);
  EXPECT_EQ(CountStarting(lines, std::string("Sub Code Text    : ") + c.name), 1);
  EXPECT_EQ(CountStarting(lines, "Can Retry        : No"), 1);
  auto stack = std::find(lines.begin(), lines.end(), "Call Stack:");
  ASSERT_NE(stack, lines.end());
  EXPECT_EQ(*(stack + 1), StackRow("Func  Child", std::string(c.routine) + " (Line: " + c.line + ")"));
}

TEST_F(FatalPath, InstalledExceptionFilterReportsACrash) {
  ExpectReported({"crash", "Access violation writing 0x", "3221225477", "EXCEPTION_ACCESS_VIOLATION", "Crash", "42"},
                 LogName(), LogPath());
}

// The report and the window need stack that the overflow has used up. A
// window left up past the reporter's patience (5 s here) is no hang.
TEST_F(FatalPath, InstalledExceptionFilterReportsAStackOverflow) {
  ExpectReported({"overflow", "Stack overflow", "3221225725", "EXCEPTION_STACK_OVERFLOW", "Overflow", "77"},
                 LogName() + " 5000", LogPath(), 7000);
}

// The overflow left the allocator locked, so the report cannot go on: the
// process ends with the fault's code after the patience (2 s) instead.
TEST_F(FatalPath, AStuckOverflowReportEndsTheProcess) {
  ChildProcess child;
  ASSERT_TRUE(child.Start(testing_process::ProgramPath("error_child.exe") + " stuck " + LogName()));
  DWORD code = 0;
  ASSERT_TRUE(child.Wait(20000, &code)) << "the report hangs";
  EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_STACK_OVERFLOW));
}

// A user cannot write beside an installed program; Z:\dev\pts\ refuses a
// new file even to root under Wine.
constexpr const char* kUnwritable = "Z:\\dev\\pts\\";

TEST_F(FatalPath, AwayFromAFolderThatCannotBeWrittenTheReportSaysWhereItIs) {
  char local[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local), 0u);
  const std::string moved = std::string(local) + "\\TV-SERKEY\\" + LogName();
  DeleteFileA(moved.c_str());
  SetEnvironmentVariableA("TV_TEST_PROGRAM_FOLDER", kUnwritable);
  Outcome outcome = RunChild("system " + LogName() + " 2 \"Disk gone\"");
  SetEnvironmentVariableA("TV_TEST_PROGRAM_FOLDER", nullptr);
  EXPECT_NE(outcome.box.text.find("\r\nReport : " + moved + "\r\n\r\n\r\nSave this"), std::string::npos)
      << outcome.box.text;
  const std::vector<std::string> lines = Lines(ReadFile(moved));
  DeleteFileA(moved.c_str());
  ASSERT_EQ(lines.size(), 24u) << "the place, then the report";
  EXPECT_EQ(lines[0], "Written to " + moved + ": the program's folder " + kUnwritable + " cannot be written.");
}

}  // namespace
