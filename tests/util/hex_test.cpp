#include <gtest/gtest.h>

#include "util/hex.h"

namespace {

TEST(Hex, DigitsAndPairs) {
  EXPECT_EQ(VOHex2AscEx('0'), 0u);
  EXPECT_EQ(VOHex2AscEx('9'), 9u);
  EXPECT_EQ(VOHex2AscEx('a'), 10u);
  EXPECT_EQ(VOHex2AscEx('F'), 15u);
  EXPECT_EQ(VOHex2AscEx('g'), 16u) << "letters beyond F are not refused";
  EXPECT_EQ(VOHex2AscEx('-'), 0u);
  EXPECT_EQ(VOHex2Asc("4a"), 0x4Au);
  EXPECT_EQ(VOHex2Chr("FF"), "\xFF");
  EXPECT_EQ(VOHex2Chr("00"), std::string(1, '\0'));
}

TEST(Hex, TextsBothWays) {
  EXPECT_EQ(VOHex2String("414"), "A") << "a last single digit is ignored";
  EXPECT_EQ(VOHex2String("4a4B"), "JK");
  EXPECT_EQ(VOHex2String(""), "");
  EXPECT_EQ(VOString2Hex("A B"), "4142") << "blanks vanish";
  EXPECT_EQ(VOString2Hex("\r\n\xFF"), "0D0AFF");
  EXPECT_EQ(VOString2Hex(std::string(1, '\0')), "00");
  EXPECT_EQ(VOChr2Hex("AB"), "");
  EXPECT_EQ(VOChr2Hex(""), "");
  EXPECT_EQ(VOChr2Hex("\t"), "");
  EXPECT_EQ(VOHex2String(VOString2Hex("Hello")), "Hello");
}

}  // namespace
