#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "errors/callstack.h"
#include "errors/message_names.h"
#include "errors/report_folder.h"
#include "errors/trace_log.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"

namespace {

TEST(LogEvent, MessageNamesFollowTheTable) {
  const struct {
    std::uint32_t message;
    const char* name;
  } cases[] = {
      {0x001A, "WM_WININICHANGE"}, {0x0100, "WM_KEYFIRST"},      {0x0109, "WM_KEYLAST"},
      {0x010F, "WM_IME_COMPOSITION"}, {0x0200, "WM_MOUSEFIRST"}, {0x020D, "WM_MOUSELAST"},
      {0x0358, "WM_HANDHELDFIRST"}, {0x038F, "WM_PENWINLAST"},   {0x8000, "WM_APP"},
      {0x0401, "WM_USER + 1"},     {0x0464, "WM_USER + 100"},    {0x0465, "... 1125"},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageNameOf(c.message), c.name) << c.message;
  std::size_t count = 0;
  const MessageName* table = MessageNameTable(&count);
  ASSERT_EQ(count, 187u);
  EXPECT_STREQ(table[0].name, "WM_NULL");
  EXPECT_STREQ(table[185].name, "WM_APP");
  EXPECT_STREQ(table[186].name, "WM_USER");
}

std::string LogPath() { return testing_process::ExeDirectory() + "VOLog.txt"; }

std::string ReadShared(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsTimeStamp(const std::string& s) {
  return s.size() == 8 && s[2] == ':' && s[5] == ':' && isdigit(static_cast<unsigned char>(s[0])) &&
         isdigit(static_cast<unsigned char>(s[7]));
}

TEST(TraceLog, NothingBeforeStartThenAFreshFile) {
  DeleteFileA(LogPath().c_str());
  // No write is even tried: a caller's last error survives a remark.
  SetLastError(ERROR_PATH_BUSY);
  LogRemark("too early");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_BUSY)) << "LogRemark tried to write with no log";
  EXPECT_EQ(GetFileAttributesA(LogPath().c_str()), INVALID_FILE_ATTRIBUTES) << "no file before LogStart";

  // A folder in the log's place: the box, -1, and still no log.
  ASSERT_TRUE(CreateDirectoryA(LogPath().c_str(), nullptr));
  auto answer = ui::AnswerNextBox(IDOK);
  EXPECT_EQ(LogStart(nullptr), INVALID_HANDLE_VALUE);
  ui::BoxSnapshot box = answer.get();
  RemoveDirectoryA(LogPath().c_str());
  EXPECT_EQ(box.text, "Error Create / Open file VOLog.txt !");
  EXPECT_EQ(box.icon, ui::IconKind::Error);
  EXPECT_EQ(LogHandle(), nullptr);

  // An older, longer trace leaves nothing behind the new one.
  std::ofstream(LogPath(), std::ios::binary) << std::string(500, 'o') << "OLD TAIL\r\n";
  HANDLE log = LogStart(nullptr);
  ASSERT_NE(log, INVALID_HANDLE_VALUE);
  EXPECT_EQ(LogHandle(), log);
  LogRemark("remark");
  EXPECT_TRUE(LogWriteLine("line"));
  LogEvent(nullptr, Event{0x0401, 0, 0});
  {
    CALLSTACK_ENTER("TraceOuter", "Func  Test");
    callFrame_.Line(31);
    [] {
      CALLSTACK_ENTER("TraceInner", "Func  Test");  // the caller of LogCallStack: not listed
      LogCallStack();
    }();
  }
  const std::string text = ReadShared(LogPath());
  ASSERT_EQ(text.rfind("remark\r\nline\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find("OLD TAIL"), std::string::npos) << text;
  EXPECT_TRUE(IsTimeStamp(text.substr(14, 8))) << text;
  EXPECT_EQ(text.substr(22, 14), " WM_USER + 1\r\n");
  const size_t snapshot = text.find("\r\n", 22) + 2;
  EXPECT_TRUE(IsTimeStamp(text.substr(snapshot, 8)));
  EXPECT_EQ(text.substr(snapshot + 8, 3), " \r\n");
  EXPECT_NE(text.find("\r\nLine: 00031   TraceOuter"), std::string::npos) << text;
  EXPECT_EQ(text.find("TraceInner"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 6), "\r\n\r\n\r\n");
}

// A user cannot write beside an installed program. Z:\dev\pts\ refuses a new
// file even to root under Wine, where a read-only attribute does not.
TEST(TraceLog, AwayFromAFolderThatCannotBeWrittenTheLogIsMadeElsewhereAndSaysWhere) {
  const std::string unwritable = "Z:\\dev\\pts\\";
  ASSERT_EQ(CreateFileA((unwritable + "probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
            INVALID_HANDLE_VALUE);
  char local[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local), 0u);
  const std::string moved = std::string(local) + "\\TV-SERKEY\\";
  DeleteFileA((moved + "VOLog.txt").c_str());
  RemoveDirectoryA(moved.c_str());  // made when needed
  ReportProgramFolderUse(unwritable);
  const HANDLE log = LogStart(nullptr);
  ReportProgramFolderUse("");
  ASSERT_NE(log, INVALID_HANDLE_VALUE);
  LogWriteLine("line");
  EXPECT_EQ(ReadShared(moved + "VOLog.txt"),
            "Written to " + moved + "VOLog.txt: the program's folder " + unwritable + " cannot be written.\r\nline\r\n");
}

}  // namespace
