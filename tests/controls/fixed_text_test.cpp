#include <gtest/gtest.h>

#include "app/globals.h"
#include "controls/control_helpers.h"
#include "controls/fixed_text.h"
#include "platform/handles.h"
#include "tests/controls/paint_support.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool IsInk(COLORREF c) { return c != kWhite; }

TEST(FixedText, BorderedDialogItemPaintsAFullFrameAndCentredText) {
  paint::Host host;
  GdiObject white(CreateSolidBrush(kWhite));
  HWND item = host.AddStatic(200, "Centre me", SS_LEFT | WS_BORDER, {10, 10, 210, 40});
  _FixedText text;
  text.Init(host.Handle(), 200);
  ASSERT_EQ(text.Handle(), item);
  EXPECT_TRUE(text.Border()) << "the item's WS_BORDER switches self-painting on";
  text.Background(static_cast<HBRUSH>(white.Get()));
  text.RedrawControl();
  paint::Pixels pixels = paint::Capture(item);
  EXPECT_TRUE(paint::EdgesAre(pixels, kBlack)) << "all four sides of the frame";
  const RECT ink = paint::BoxOf(pixels, IsInk, 1);
  ASSERT_LT(ink.left, ink.right) << "the caption is drawn";
  EXPECT_NEAR(ink.left + ink.right, pixels.width, 3) << "centred horizontally";
  EXPECT_NEAR(ink.top + ink.bottom, pixels.height, 3) << "centred vertically";

  // Without WS_BORDER it is a plain left-aligned static until Border is set.
  HWND plainItem = host.AddStatic(201, "Left", SS_LEFT, {10, 60, 210, 90});
  _FixedText plain;
  plain.Init(host.Handle(), 201);
  EXPECT_FALSE(plain.Border());
  plain.Background(static_cast<HBRUSH>(white.Get()));
  pixels = paint::Capture(plainItem);
  const RECT plainInk =
      paint::BoxOf(pixels, [&](COLORREF c) { return c != GetSysColor(COLOR_BTNFACE) && c != kWhite; });
  ASSERT_LT(plainInk.left, plainInk.right);
  EXPECT_LT(plainInk.left, 4) << "left-aligned by the static itself";
  EXPECT_FALSE(paint::EdgesAre(pixels, kBlack));
  plain.Border(true);
  plain.RedrawControl();
  pixels = paint::Capture(plainItem);
  EXPECT_TRUE(paint::EdgesAre(pixels, kBlack));
  EXPECT_NEAR(paint::BoxOf(pixels, IsInk, 1).left + paint::BoxOf(pixels, IsInk, 1).right, pixels.width, 3);
}

// Distinct shadow and grey-text colours for one test (Wine's defaults are
// the same grey), put back afterwards.
class DistinctGreys {
 public:
  DistinctGreys() : old_{GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_GRAYTEXT)} {
    const COLORREF distinct[] = {RGB(128, 0, 0), RGB(0, 128, 0)};
    SetSysColors(2, kElements, distinct);
  }
  ~DistinctGreys() { SetSysColors(2, kElements, old_); }

 private:
  static constexpr INT kElements[] = {COLOR_BTNSHADOW, COLOR_GRAYTEXT};
  COLORREF old_[2];
};

TEST(FixedText, DisabledBorderedTextIsEmbossed) {
  DistinctGreys greys;
  paint::Host host;
  // A background that neither embossing colour has.
  GdiObject blue(CreateSolidBrush(RGB(0, 0, 160)));
  _FixedText text;
  text.Init(host.Handle(), 300, {10, 10}, {200, 30}, "Disabled");
  ASSERT_NE(text.Handle(), nullptr);
  text.Border(true);
  text.Background(static_cast<HBRUSH>(blue.Get()));
  paint::Capture(text.Handle());
  text.Disable();  // repaints through WM_ENABLE, nothing else invalidates it
  EXPECT_FALSE(text.IsEnable());
  const paint::Pixels pixels = paint::Capture(text.Handle());
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  const RECT light = paint::BoxOf(pixels, [&](COLORREF c) { return c == highlight; }, 1);
  const RECT dark = paint::BoxOf(pixels, [&](COLORREF c) { return c == shadow; }, 1);
  ASSERT_LT(light.left, light.right) << "highlight layer drawn";
  ASSERT_LT(dark.left, dark.right) << "shadow layer drawn, in COLOR_BTNSHADOW";
  EXPECT_EQ(light.right, dark.right + 1) << "highlight one pixel right of the shadow";
  EXPECT_EQ(light.bottom, dark.bottom + 1) << "highlight one pixel below the shadow";
}

TEST(FixedText, CaptionsFollowTheLanguageAndStylesAreTaken) {
  paint::Host host;
  const std::uint16_t language = LanguageGet();
  LanguageSet(1);
  _FixedText text;
  text.Init(host.Handle(), 400, {0, 0}, {100, 20}, "", WS_BORDER, WS_EX_TRANSPARENT);
  EXPECT_TRUE(text.HasStyle(WS_BORDER)) << "pending style added at creation";
  EXPECT_TRUE(text.HasStyleEx(WS_EX_TRANSPARENT));
  EXPECT_TRUE(text.HasStyle(WS_BORDER | WS_DISABLED)) << "any one bit of the mask";
  EXPECT_FALSE(VOHasStyle(text.Handle(), WS_DISABLED | WS_TABSTOP));
  EXPECT_TRUE(VOHasStyleEx(text.Handle(), WS_EX_TRANSPARENT | WS_EX_CLIENTEDGE));

  text.Caption("Halo");
  EXPECT_EQ(text.Caption(), "Halo");
  text.CapEnglish("Hello");
  EXPECT_EQ(text.Caption(), "Halo") << "English waits for language 2";
  LanguageSet(2);
  text.RefreshCaption();
  EXPECT_EQ(text.Caption(), "Hello");
  text.Caption("Dua");
  EXPECT_EQ(text.Caption(), "Dua") << "the default caption shows in either language";
  text.CapEnglish("");
  text.RefreshCaption();
  EXPECT_EQ(text.Caption(), "Dua") << "a blank English caption falls back";
  text.CapEnglish("Two");
  EXPECT_EQ(text.Caption(), "Two");
  LanguageSet(1);
  text.RefreshCaption();
  EXPECT_EQ(text.Caption(), "Dua");
  LanguageSet(language);

  HWND window = text.Handle();
  ShouldDestroy(&text);
  EXPECT_FALSE(IsWindow(window)) << "a code-created control's window goes with it";
  ShouldDestroy(static_cast<_FixedText*>(nullptr));
}

TEST(FixedText, DrawTextControlFramesWithABlackOutline) {
  paint::Host host;
  FixedText field;
  HDC screen = GetDC(host.Handle());
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT rect{0, 0, 40, 20};
  // White first: a fresh bitmap is black, where the outline is to be seen.
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  field.DrawTextControl(dc, rect, true, false, false);
  for (POINT p : {POINT{0, 10}, POINT{39, 10}, POINT{20, 0}, POINT{20, 19}}) {
    EXPECT_EQ(GetPixel(dc, p.x, p.y), kBlack) << "outline at " << p.x << "," << p.y;
  }
  EXPECT_EQ(GetPixel(dc, 20, 10), GetSysColor(COLOR_WINDOW));
  field.DrawTextControl(dc, rect, true, true, false);
  EXPECT_EQ(GetPixel(dc, 20, 10), GetSysColor(COLOR_BTNFACE)) << "grey field";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(host.Handle(), screen);
}

class Counting : public _FixedText {
 public:
  LRESULT Dispatch(const Event& event) override {
    if (event.message == WM_APP) ++seen;
    return _FixedText::Dispatch(event);
  }
  int seen = 0;
};

TEST(Control, TwoObjectsOnOneWindowKeepTheirOwnHooks) {
  paint::Host host;
  HWND item = host.AddStatic(500, "Shared", SS_LEFT, {10, 10, 110, 30});
  Counting first, second;
  first.Init(host.Handle(), 500);
  second.Init(host.Handle(), 500);
  SendMessageA(item, WM_APP, 0, 0);
  EXPECT_EQ(first.seen, 1);
  EXPECT_EQ(second.seen, 1);
  first.Destroy();
  SendMessageA(item, WM_APP, 0, 0);
  EXPECT_EQ(first.seen, 1);
  EXPECT_EQ(second.seen, 2) << "the other object's hook stays";
}

}  // namespace
