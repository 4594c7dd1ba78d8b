#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/conventions.h"
#include "util/numeric.h"

namespace {

class Numeric : public ::testing::Test {
 protected:
  void SetUp() override { ConventionsSetFixed(); }  // "," decimal, "." thousands
};

TEST_F(Numeric, DivideAndDebet) {
  EXPECT_EQ(VODivide(5, 0), 0.0);
  EXPECT_DOUBLE_EQ(VODivide(1, 4), 0.25);
  EXPECT_DOUBLE_EQ(VODivide(-9, 3), -3.0);
  EXPECT_DOUBLE_EQ(VODebet(-2.5), 2.5);
  EXPECT_DOUBLE_EQ(VODebet(3.25), 3.25);
  EXPECT_EQ(VODebet(0.0), 0.0);
  // Reals closer than 1e-8 count as equal: such a divisor is 0, such a value is not negative.
  EXPECT_EQ(VODivide(1, 1e-9), 0.0);
  EXPECT_DOUBLE_EQ(VODivide(1, 1e-7), 1e7);
  EXPECT_EQ(VODebet(-1e-9), -1e-9);
  EXPECT_DOUBLE_EQ(VODebet(-1e-7), 1e-7);
}

TEST_F(Numeric, DecimalSeparatorFollowsTheConventions) { EXPECT_EQ(VODecimalSepChr(), ","); }

TEST_F(Numeric, UnTransValueTakesTheFirstNumber) {
  EXPECT_EQ(VOUnTransValue("Total 1.234,50 net", ","), "1234,50");
  EXPECT_EQ(VOUnTransValue("12abc34", ","), "12");
  EXPECT_EQ(VOUnTransValue("Saldo: -1.000.000,25", ","), "-1000000,25");
  EXPECT_EQ(VOUnTransValue("US 1,234.50 net", "."), "1234.50");
  EXPECT_EQ(VOUnTransValue("no number", ","), "");
  EXPECT_EQ(VOUnTransValue("1,5", ""), "15") << "without a decimal separator the comma is only skipped";
  EXPECT_EQ(VOUnTransValue("x,5", ",;"), ",5") << "only the first character of the separator counts";
}

TEST_F(Numeric, UnTransValuePictTakesCharactersByPicturePositions) {
  EXPECT_EQ(VOUnTransValuePict("12,345", "99,999"), "12345");
  EXPECT_EQ(VOUnTransValuePict("$12", "$99"), "12");
  EXPECT_EQ(VOUnTransValuePict("12345", "99X99"), "12");
  EXPECT_EQ(VOUnTransValuePict("-1.5", "-9.9"), "-1.5");
  EXPECT_EQ(VOUnTransValuePict("12", "9999"), "12") << "positions past the value contribute nothing";
  EXPECT_EQ(VOUnTransValuePict("123", "XXX"), "");
}

TEST_F(Numeric, ValReadsTextWithTheFixedConventions) {
  EXPECT_EQ(VOVal(""), 0.0);
  EXPECT_EQ(VOVal("    "), 0.0);
  EXPECT_DOUBLE_EQ(VOVal("0,5"), 0.5);
  EXPECT_DOUBLE_EQ(VOVal("00,25"), 0.25);
  EXPECT_DOUBLE_EQ(VOVal("-05"), -5.0);
  EXPECT_DOUBLE_EQ(VOVal("007"), 7.0);
  EXPECT_EQ(VOVal("000"), 0.0);
  EXPECT_DOUBLE_EQ(VOVal("Total 1.234,50 net"), 1234.5);
  EXPECT_DOUBLE_EQ(VOVal("   12,75"), 12.75);
  EXPECT_DOUBLE_EQ(VOVal("1.000.000"), 1000000.0);
  EXPECT_EQ(VOVal("abc"), 0.0);
  EXPECT_DOUBLE_EQ(VOVal("1.5"), 15.0) << "a point is the thousands separator here";
}

TEST_F(Numeric, ValBeyondTheRangeOfADoubleGivesTheNearestOne) {
  const std::string huge = "1" + std::string(400, '0');
  EXPECT_EQ(VOVal(huge), std::numeric_limits<double>::max());
  EXPECT_EQ(VOVal("-" + huge + ",5"), -std::numeric_limits<double>::max());
  EXPECT_EQ(VOVal("0," + std::string(400, '0') + "1"), 0.0);
}

}  // namespace
