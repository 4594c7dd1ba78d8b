#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "app/app_functions.h"
#include "app/conventions.h"
#include "util/string_functions.h"

namespace {

std::string AllBytes() {
  std::string text;
  for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
  return text;
}

TEST(ReturnAscAndChr, CodesOfTextAndBack) {
  EXPECT_EQ(ReturnAsc("AB"), "65,66");
  EXPECT_EQ(ReturnAsc(""), "");
  EXPECT_EQ(ReturnAsc("\xFF\x80"), "255,128") << "codes are bytes 0..255, never negative";
  EXPECT_EQ(ReturnChr("65,66,67"), "ABC");
  EXPECT_EQ(ReturnChr("255,0,128"), std::string("\xFF\0\x80", 3));
  for (const std::string& text : {std::string("A"), std::string("Hello, world"), AllBytes()}) {
    EXPECT_EQ(ReturnChr(ReturnAsc(text)), text) << "round trip of a text of " << text.size() << " bytes";
  }
}

TEST(ReturnAscAndChr, EmptyAndOddPartsAreCodeZero) {
  EXPECT_EQ(ReturnChr(""), std::string(1, '\0'));
  EXPECT_EQ(ReturnChr(",,"), std::string(3, '\0'));
  EXPECT_EQ(ReturnChr("65,,66"), std::string("A\0B", 3));
  EXPECT_EQ(ReturnChr("x,65"), std::string("\0A", 2));
  EXPECT_EQ(ReturnChr(" 66"), "B");
  EXPECT_EQ(ReturnChr("65,"), std::string("A\0", 2)) << "a trailing comma leaves one empty part";
}

TEST(ReturnAscAndChr, ListFormJoinsTrimmedTextForms) {
  EXPECT_EQ(ReturnChr(std::vector<ChrListItem>{std::string("A"), std::string("B")}), "AB");
  EXPECT_EQ(ReturnChr(std::vector<ChrListItem>{65LL, 66LL}), "6566") << "numbers are not turned into characters";
  EXPECT_EQ(ReturnChr(std::vector<ChrListItem>{std::string(" A "), std::string("\tB\r\n"), -3LL}), "AB-3");
  EXPECT_EQ(ReturnChr(std::vector<ChrListItem>{}), "");
  ConventionsSetFixed();
  EXPECT_EQ(ReturnChr(std::vector<ChrListItem>{2.5, -1234567.125, -0.00001}), "2,5000-1234567,12500,0000")
      << "reals get the fixed 4 decimals and the process's decimal separator";
}

TEST(RetPicture, GroupsOfThreeFromTheRight) {
  EXPECT_EQ(VORetPicture(""), "");
  EXPECT_EQ(VORetPicture("12"), "12");
  EXPECT_EQ(VORetPicture("123"), "123");
  EXPECT_EQ(VORetPicture("1234"), "1,234");
  EXPECT_EQ(VORetPicture("123456"), "123,456");
  EXPECT_EQ(VORetPicture("1234567"), "1,234,567");
}

TEST(RandomString, NeighboursDifferAndStayInRange) {
  VORandom(4711);
  const std::string text = RetRandomString(500);
  ASSERT_EQ(text.size(), 500u);
  EXPECT_NE(text[0], 'A') << "the first offset is never 0";
  std::set<char> seen;
  for (size_t i = 0; i < text.size(); ++i) {
    EXPECT_GE(text[i], 'A');
    EXPECT_LE(text[i], 'Z');
    if (i > 0) {
      EXPECT_NE(text[i], text[i - 1]) << "neighbours at " << i;
    }
    seen.insert(text[i]);
  }
  EXPECT_GE(seen.size(), 20u) << "500 draws should reach almost every letter";
}

TEST(Random, FromZeroUpToOneWithOrWithoutASeed) {
  const double first = VORandom(42);
  EXPECT_EQ(VORandom(42), first) << "a seed restarts the sequence";
  for (int i = 0; i < 2000; ++i) {
    const double r = i % 2 == 0 ? VORandom() : VORandom(0);
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

TEST(RandomString, TwoCharacterRangeAlternatesFromTheSecond) {
  EXPECT_EQ(RetRandomString2(6, "A", "B"), "BABABA");
  EXPECT_EQ(RetRandomString2(0, "A", "Z"), "");
}

TEST(RandomString, HighBytesStayInRange) {
  const std::string text = RetRandomString2(300, "\xF0", "\xFF");
  ASSERT_EQ(text.size(), 300u);
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    EXPECT_GE(c, 0xF0);
    if (i > 0) {
      EXPECT_NE(text[i], text[i - 1]);
    }
  }
}

TEST(RandomString, RangesTooSmallGiveEmptyText) {
  EXPECT_EQ(RetRandomString2(5, "M", "M"), "");
  EXPECT_EQ(RetRandomString2(5, "Z", "A"), "");
  EXPECT_EQ(RetRandomString2(5, "", "Z"), "");
  EXPECT_EQ(RetRandomString2(5, "A", ""), "");
}

TEST(EmptyStr, BlanksAreEmptyLineBreaksAreNot) {
  EXPECT_TRUE(VOEmptyStr(""));
  EXPECT_TRUE(VOEmptyStr("   "));
  EXPECT_TRUE(VOEmptyStr(" \t \r\n "));
  EXPECT_TRUE(VOEmptyStr("\r\n\r\n"));
  EXPECT_FALSE(VOEmptyStr("\r"));
  EXPECT_FALSE(VOEmptyStr("\n"));
  EXPECT_FALSE(VOEmptyStr("\r\n"));
  EXPECT_FALSE(VOEmptyStr("  x "));
  EXPECT_FALSE(VOEmptyStr(std::string(1, '\0')));
}

TEST(Cipher, CryptIsItsOwnInverseAndKeepsLength) {
  const std::string text = AllBytes();
  const std::string once = Crypt(text, "key");
  EXPECT_EQ(once.size(), text.size());
  EXPECT_NE(once, text);
  EXPECT_EQ(Crypt(once, "key"), text);
  EXPECT_NE(Crypt(text, "kez"), once) << "a different key scrambles differently";
  EXPECT_EQ(Crypt("", "key"), "");
}

TEST(Cipher, DecryptRestoresEveryText) {
  std::string longText;
  for (int i = 0; i < 3000; ++i) longText += static_cast<char>((i * 37 + 11) & 0xFF);
  for (const std::string& text : {std::string(), std::string("a"), std::string("Hi!"), std::string("secret"),
                                   AllBytes(), longText}) {
    const std::string encrypted = TeEncrypt(text);
    EXPECT_EQ(encrypted.size(), text.size() + 3);
    EXPECT_EQ(TeDecrypt(encrypted), text) << "text of " << text.size() << " bytes";
  }
}

// Under the outer key: two inner key characters, the text under the inner
// key, the third inner key character; each key code from 1 to 126.
TEST(Cipher, OuterKeyWrapsTheInnerKeyAroundTheText) {
  VORandom(4711);
  int lowest = 255, highest = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string framed = Crypt(TeEncrypt("secret"), "KXPRd");
    ASSERT_EQ(framed.size(), 9u);
    const std::string inner = framed.substr(0, 2) + framed.back();
    ASSERT_EQ(Crypt(framed.substr(2, 6), inner), "secret");
    for (unsigned char c : inner) {
      lowest = std::min<int>(lowest, c);
      highest = std::max<int>(highest, c);
    }
  }
  EXPECT_EQ(lowest, 1);
  EXPECT_EQ(highest, 126);
}

TEST(Cipher, EncryptedTextHidesThePlainText) {
  const std::string text = "The password is swordfish, really";
  const std::string encrypted = TeEncrypt(text);
  EXPECT_EQ(encrypted.find("swordfish"), std::string::npos);
  EXPECT_NE(encrypted.substr(2, text.size()), text);
}

}  // namespace
