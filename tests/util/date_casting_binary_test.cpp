#include <gtest/gtest.h>

#include <windows.h>

#include "util/binary.h"
#include "util/casting.h"
#include "util/date_time.h"

namespace {

TEST(DateTime, NToDBuildsValidDatesOnly) {
  EXPECT_EQ(VONToD(2024, 2, 9), (Date{2024, 2, 9}));
  EXPECT_TRUE(VONToD(2024, 2, 30).IsEmpty());
  EXPECT_EQ(VONToD(2024, 2, 29), (Date{2024, 2, 29}));
  EXPECT_TRUE(VONToD(2023, 2, 29).IsEmpty());
  EXPECT_TRUE(VONToD(1900, 2, 29).IsEmpty()) << "centuries are leap years only every 400 years";
  EXPECT_EQ(VONToD(2000, 2, 29), (Date{2000, 2, 29}));
  EXPECT_EQ(VONToD(5, 12, 31), (Date{5, 12, 31})) << "short years are padded, not refused";
  EXPECT_TRUE(VONToD(2024, 4, 31).IsEmpty());
  EXPECT_TRUE(VONToD(2024, 13, 1).IsEmpty());
  EXPECT_TRUE(VONToD(2024, 0, 1).IsEmpty());
  EXPECT_TRUE(VONToD(2024, 1, 0).IsEmpty());
  EXPECT_TRUE(VONToD(0, 1, 1).IsEmpty());
  EXPECT_TRUE(VONToD(10000, 1, 1).IsEmpty()) << "a five-digit year does not fit the form";
  EXPECT_TRUE(VONToD(2024, 101, 1).IsEmpty());
}

TEST(DateTime, SToDNeedsEightDigits) {
  EXPECT_EQ(VOSToD("20240209"), (Date{2024, 2, 9}));
  EXPECT_EQ(VOSToD("19991231"), (Date{1999, 12, 31}));
  EXPECT_TRUE(VOSToD("").IsEmpty());
  EXPECT_TRUE(VOSToD("2024029").IsEmpty());
  EXPECT_TRUE(VOSToD("202402090").IsEmpty());
  EXPECT_TRUE(VOSToD("2024-2-9").IsEmpty());
  EXPECT_TRUE(VOSToD("2024 209").IsEmpty());
  EXPECT_TRUE(VOSToD("abcdefgh").IsEmpty());
  EXPECT_TRUE(Date::Empty().IsEmpty());
  EXPECT_FALSE((Date{2024, 2, 9}).IsEmpty());
}

TEST(DateTime, TimeTextsWrapIntoOneDay) {
  EXPECT_EQ(SecondsOfTimeText("01:02:03"), 3723);
  EXPECT_EQ(SecondsOfTimeText("24:30:00"), 88200);
  EXPECT_EQ(SecondsOfTimeText("7:5"), 7 * 3600 + 5 * 60);
  EXPECT_EQ(SecondsOfTimeText(""), 0);
  EXPECT_EQ(TimeTextOfSeconds(0), "00:00:00");
  EXPECT_EQ(TimeTextOfSeconds(86399), "23:59:59");
  EXPECT_EQ(TimeTextOfSeconds(86400), "00:00:00");
  EXPECT_EQ(TimeTextOfSeconds(-1), "23:59:59");
  EXPECT_EQ(TimeTextOfSeconds(3723), "01:02:03");
}

TEST(Casting, LengthsAndDateParts) {
  EXPECT_EQ(SLenInt(""), 0);
  EXPECT_EQ(SLenInt(std::string("a\0b", 3)), 3) << "a zero byte is part of the text";
  EXPECT_EQ(PszLenInt("a\0b"), 1);
  EXPECT_EQ(PszLenInt(""), 0);
  EXPECT_EQ(PszLenInt(nullptr), 0);
  const Date d{2024, 2, 9};
  EXPECT_EQ(TcDay(d), 9);
  EXPECT_EQ(TcMonth(d), 2);
  EXPECT_EQ(TcYear(d), 2024);
  EXPECT_EQ(TcDay(Date::Empty()), 0);
}

TEST(Casting, DayOfWeekRunsFromSundayOne) {
  EXPECT_EQ(TcDoW(Date{2023, 1, 1}), 1);   // Sunday
  EXPECT_EQ(TcDoW(Date{2024, 2, 9}), 6);   // Friday
  EXPECT_EQ(TcDoW(Date{2000, 1, 1}), 7);   // Saturday
  EXPECT_EQ(TcDoW(Date{2024, 2, 29}), 5);  // Thursday
  EXPECT_EQ(TcDoW(Date{2024, 3, 1}), 6);   // Friday
  EXPECT_EQ(TcDoW(Date{1900, 3, 1}), 5);   // Thursday
  EXPECT_EQ(TcDoW(Date::Empty()), 0);
}

TEST(Casting, RgbUsesLowBytes) {
  EXPECT_EQ(TcRGB(1, 2, 3), 0x030201u);
  EXPECT_EQ(TcRGB(0x1FF, 0x100, 0xABC), 0xBC00FFu);
  EXPECT_EQ(TcRGB(255, 255, 255), RGB(255, 255, 255));
}

TEST(Casting, EnableMenuItemGreysOnTrue) {
  HMENU menu = CreatePopupMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(AppendMenuA(menu, MF_STRING, 100, "Item"));
  EXPECT_EQ(VOEnableMenuItem(menu, 100, true), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(menu, 100, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), UINT{MF_GRAYED | MF_DISABLED});
  EXPECT_EQ(VOEnableMenuItem(menu, 100, false), static_cast<BOOL>(MF_GRAYED | MF_DISABLED));
  EXPECT_EQ(GetMenuState(menu, 100, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
  EXPECT_EQ(VOEnableMenuItem(menu, 999, true), -1) << "an unknown item";
  DestroyMenu(menu);
}

TEST(Binary, SetTestAndClear) {
  EXPECT_EQ(VOSetBit(0, 3), 8u);
  EXPECT_EQ(VOSetBit(8, 3), 8u);
  EXPECT_EQ(VOTestBit(12, 2), 4u);
  EXPECT_EQ(VOTestBit(12, 0), 0u);
  EXPECT_EQ(VOSetBit0(12, 2), 8u);
  EXPECT_EQ(VOSetBit0(8, 2), 8u) << "clearing a clear bit leaves the value";
  EXPECT_EQ(VOSetBit(0, 31), 0x80000000u);
  EXPECT_EQ(VOTestBit(0x80000000u, 31), 0x80000000u);
  EXPECT_EQ(VOSetBit0(0xFFFFFFFFu, 31), 0x7FFFFFFFu);
}

TEST(Binary, BitNumbersPast31NameNoBit) {
  EXPECT_EQ(VOSetBit(5, 32), 5u);
  EXPECT_EQ(VOTestBit(0xFFFFFFFFu, 32), 0u);
  EXPECT_EQ(VOSetBit0(0xFFFFFFFFu, 40), 0xFFFFFFFFu);
}

}  // namespace
