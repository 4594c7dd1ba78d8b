#include <gtest/gtest.h>

#include "app/win_message_show.h"
#include "resources/resource_ids.h"
#include "tests/harness/ui.h"

namespace {

TEST(WinMessageShow, CentredCaptionlessPopupWithAReadOnlyMessage) {
  WinMessageShow window(nullptr);
  ASSERT_NE(window.Handle(), nullptr);
  EXPECT_FALSE(IsWindowVisible(window.Handle())) << "not visible until shown";
  window.oDCMessage.TextValue("Copying files...\r\nPlease wait");
  window.Show();
  ui::PumpMessages(50);

  const LONG_PTR style = GetWindowLongPtrA(window.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_EQ(window.Caption(), "");

  HWND edit = GetDlgItem(window.Handle(), IDC_MESSAGE);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(ui::ClassName(edit), "Edit");
  EXPECT_FALSE(IsWindowEnabled(edit)) << "the user cannot type into it";
  EXPECT_TRUE(IsWindowVisible(edit));
  const LONG_PTR editStyle = GetWindowLongPtrA(edit, GWL_STYLE);
  EXPECT_TRUE(editStyle & ES_MULTILINE);
  EXPECT_TRUE(editStyle & ES_WANTRETURN);
  EXPECT_TRUE(editStyle & ES_AUTOVSCROLL);
  EXPECT_TRUE(editStyle & ES_AUTOHSCROLL);
  EXPECT_EQ(window.oDCMessage.TextValue(), "Copying files...\r\nPlease wait");

  RECT rect{};
  GetWindowRect(window.Handle(), &rect);
  const int cx = (rect.left + rect.right) / 2;
  const int cy = (rect.top + rect.bottom) / 2;
  EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 40);  // the work area may leave room for a bar

  window.EndDialog();
  EXPECT_EQ(window.Handle(), nullptr);
}

}  // namespace
