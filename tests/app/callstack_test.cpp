#include <gtest/gtest.h>

#include "app/globals.h"
#include "errors/callstack.h"

namespace {

const char* const kHeading =
    "\r\n\r\n___________________________________\r\n\r\n PROGRAMMER INFORMATION :\r\n"
    "___________________________________\r\n";

class CallStackText : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplicationNameSet("TV-SERKEY");
    AppReleaseSet(" Build 2014.02.13");
  }
};

std::string Nested(int depth, unsigned short level) {
  CALLSTACK_ENTER("Nested", "Func  Test");
  if (depth > 1) return Nested(depth - 1, level);
  return CallStackEx(level);
}

unsigned CountLines(const std::string& text) {
  unsigned n = 0;
  for (size_t at = text.find("\r\nLine: "); at != std::string::npos; at = text.find("\r\nLine: ", at + 1)) ++n;
  return n;
}

TEST_F(CallStackText, ExactLayoutStartsAtTheCaller) {
  std::string text;
  {
    CALLSTACK_ENTER("Outer:Method", "A00  Start");
    callFrame_.Line(12);
    {
      CALLSTACK_ENTER("Inner", "Func  Test");
      callFrame_.Line(7);
      text = CallStackEx(0);
    }
  }
  EXPECT_EQ(text, std::string(kHeading) + "\r\nLine: 00007   Inner\r\nLine: 00012   Outer:Method" +
                      "\r\n\r\nTV-SERKEY, Release :  Build 2014.02.13");
}

TEST_F(CallStackText, LevelOneSkipsTheAskingRoutine) {
  CALLSTACK_ENTER("Caller", "Func  Test");
  callFrame_.Line(123456);
  std::string text;
  {
    CALLSTACK_ENTER("Library", "Func  Test");
    text = CallStackEx(1);
  }
  EXPECT_EQ(CountLines(text), 1u);
  EXPECT_NE(text.find("\r\nLine: 123456   Caller\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Library"), std::string::npos);
}

TEST_F(CallStackText, NeverMoreThanFifteenLevels) {
  EXPECT_EQ(CountLines(Nested(40, 0)), 15u);
  EXPECT_EQ(CountLines(Nested(15, 0)), 15u);
  EXPECT_EQ(CountLines(Nested(3, 0)), 3u);
}

TEST_F(CallStackText, ChainShallowerThanTheLevelGivesHeadingAndReleaseOnly) {
  EXPECT_EQ(Nested(2, 5), std::string(kHeading) + "\r\n\r\nTV-SERKEY, Release :  Build 2014.02.13");
}

TEST(CallStackRegister, LevelsAnswerNameModuleAndLineUntilTheEnd) {
  CALLSTACK_ENTER("Outer", "Module A");
  callFrame_.Line(40);
  {
    CALLSTACK_ENTER("Inner", "Module B");
    callFrame_.Line(41);
    CallStackEntry inner = CallStackLevel(0);
    EXPECT_EQ(inner.routine, "Inner");
    EXPECT_EQ(inner.module, "Module B");
    EXPECT_EQ(inner.line, 41u);
    EXPECT_EQ(CallStackLevel(1).routine, "Outer");
    EXPECT_EQ(CallStackLevel(1).line, 40u);
    EXPECT_EQ(CallStackLevel(9).line, 0u);
    EXPECT_EQ(CallStackLevel(9).routine, "");
  }
  EXPECT_EQ(CallStackLevel(0).routine, "Outer");
}

}  // namespace
