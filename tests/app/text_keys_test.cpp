// Text mode's translation of received bytes (the code page here is 1252).
#include "app/text_keys.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/options.h"

namespace {

TextKey Char(wchar_t c) { return {TextKey::Kind::Character, static_cast<std::uint16_t>(c)}; }
TextKey Key(WORD vk) { return {TextKey::Kind::Key, vk}; }

TEST(TextKeys, LineEndsControlsAndCodePageCharacters) {
  struct Case {
    std::string bytes;
    std::vector<TextKey> keys;
  };
  const Case cases[] = {
      {"a\r\nb", {Char(L'a'), Key(VK_RETURN), Char(L'b')}},
      {"\n\n\r\r", {Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN)}},
      {"\t\b\x1B", {Key(VK_TAB), Key(VK_BACK), Key(VK_ESCAPE)}},
      {std::string("\x00\x01\x1F\x7F", 4), {}},
      {"\xE9\x80", {Char(L'\u00E9'), Char(L'\u20AC')}},
      {"\x81", {}},  // undefined in 1252: a C1 control, not typed
  };
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  for (const Case& c : cases) {
    TextKeys translator;
    EXPECT_EQ(translator.Translate(c.bytes), c.keys) << c.bytes;
  }
}

TEST(RunCommand, NamesTheExecutableQuotedOrNotInAnyCase) {
  EXPECT_TRUE(RunCommandNames("\"C:\\Tools\\TV-SERKEY.exe\" /START", "c:\\tools\\tv-serkey.EXE"));
  EXPECT_TRUE(RunCommandNames("C:\\Tools\\TV-SERKEY.exe /START", "C:\\Tools\\TV-SERKEY.exe"));
  EXPECT_FALSE(RunCommandNames("\"C:\\Other\\TV-SERKEY.exe\" /START", "C:\\Tools\\TV-SERKEY.exe"));
  EXPECT_FALSE(RunCommandNames("\"C:\\Tools\\TV-SERKEY.exe", "C:\\Tools\\TV-SERKEY.exe")) << "unclosed quote";
  EXPECT_FALSE(RunCommandNames("", ""));
}

}  // namespace
