#include <gtest/gtest.h>

#include "app/globals.h"
#include "controls/fixed_text_blinking.h"
#include "platform/handles.h"
#include "tests/controls/paint_support.h"
#include "tests/harness/ui.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

void Tick(const FixedTextBlinking& text) {
  SendMessageA(text.Handle(), WM_TIMER, FixedTextBlinking::kTimerId, 0);
}

// Anywhere, the outer pixel ring included: that is where the frame goes.
bool HasInk(HWND hwnd) {
  const paint::Pixels pixels = paint::Capture(hwnd);
  const RECT ink = paint::BoxOf(pixels, [](COLORREF c) { return c != kWhite; });
  return ink.left < ink.right;
}

TEST(FixedTextBlinking, TimerFlipsThePhaseExceptWhileAnErrorIsReportedOrHidden) {
  paint::Host host;
  GdiObject white(CreateSolidBrush(kWhite));
  FixedTextBlinking text;
  text.Init(host.Handle(), 500, {10, 10}, {200, 30}, "Blink");
  ASSERT_NE(text.Handle(), nullptr);
  text.Border(true);
  text.Background(static_cast<HBRUSH>(white.Get()));
  EXPECT_FALSE(text.OffPhase());
  EXPECT_TRUE(HasInk(text.Handle()));

  Tick(text);
  EXPECT_TRUE(text.OffPhase());
  EXPECT_FALSE(HasInk(text.Handle())) << "no text and no frame in the off phase";

  GlobalErrorSet(true);
  Tick(text);
  EXPECT_TRUE(text.OffPhase()) << "no blink step while the error flag is set";
  GlobalErrorSet(false);
  Tick(text);
  EXPECT_FALSE(text.OffPhase()) << "resumes from the same phase";
  EXPECT_TRUE(HasInk(text.Handle()));

  text.Hide();
  Tick(text);
  EXPECT_FALSE(text.OffPhase()) << "a hidden control keeps its phase";
}

TEST(FixedTextBlinking, OffPhaseWithoutBackgroundFillsButFaceUnlessTransparent) {
  paint::Host host;
  FixedTextBlinking opaque, transparent;
  opaque.Init(host.Handle(), 600, {10, 10}, {100, 20}, "Opaque");
  transparent.Init(host.Handle(), 601, {10, 50}, {100, 20}, "Clear", std::nullopt, WS_EX_TRANSPARENT);
  GdiObject red(CreateSolidBrush(kRed));
  for (FixedTextBlinking* text : {&opaque, &transparent}) {
    Tick(*text);  // invalidates; the paint comes below
    WindowDC dc(text->Handle());
    RECT all{0, 0, 100, 20};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(red.Get()));
  }
  EXPECT_EQ(paint::Capture(opaque.Handle()).At(50, 10), GetSysColor(COLOR_BTNFACE));
  const paint::Pixels clear = paint::Capture(transparent.Handle());
  EXPECT_EQ(clear.At(50, 10), kRed) << "nothing painted";
  EXPECT_EQ(clear.At(2, 2), kRed);
}

TEST(FixedTextBlinking, StartsWithoutHoldingTheThreadAndDestroyStopsTheTimer) {
  paint::Host host;
  HWND item = host.AddStatic(700, "Item", SS_LEFT, {10, 10, 110, 30});
  // Just after a whole second: waiting for the next one would take most of a second.
  SYSTEMTIME now;
  ASSERT_TRUE(ui::WaitUntil([&] {
    GetLocalTime(&now);
    return now.wMilliseconds >= 50 && now.wMilliseconds < 250;
  }, 3000));
  FixedTextBlinking text;
  text.Init(host.Handle(), 700);
  SYSTEMTIME after;
  GetLocalTime(&after);
  EXPECT_EQ(after.wSecond, now.wSecond) << "Init returned within the same second";
  ASSERT_EQ(text.Handle(), item);

  // The real timers: the first blink comes on its own.
  ASSERT_TRUE(ui::WaitUntil([&] {
    ui::PumpMessages(20);
    return text.OffPhase();
  }, 5000));
  // Bound again: both timers (the blink and the one-shot 2002 that starts
  // it) leave the old item.
  HWND other = host.AddStatic(701, "Other", SS_LEFT, {10, 40, 110, 60});
  text.Init(host.Handle(), 701);
  EXPECT_FALSE(KillTimer(item, FixedTextBlinking::kTimerId)) << "the old item's blink timer is gone";
  text.Init(host.Handle(), 700);
  EXPECT_FALSE(KillTimer(other, 2002)) << "the old item's starting timer is gone";
  ASSERT_TRUE(ui::WaitUntil([&] {
    ui::PumpMessages(20);
    return text.OffPhase();
  }, 5000));
  text.Destroy();
  EXPECT_TRUE(IsWindow(item)) << "a dialog item stays with its form";
  EXPECT_FALSE(KillTimer(item, FixedTextBlinking::kTimerId)) << "the blink timer is gone";
}

}  // namespace
