#include <gtest/gtest.h>

#include "errors/callstack.h"
#include "errors/error_handler.h"
#include "errors/error_texts.h"
#include "errors/screen_capture.h"
#include "platform/handles.h"
#include "tests/harness/ui.h"
#include "util/system.h"

namespace {

TEST(MyErrorHandler, RetryQuestionsSetTheRetryRequestOnYes) {
  Error open;
  open.SubCode = kSubCodeOpenFailed;
  open.CanRetry = true;
  open.FileName = "DATA.DBF";
  open.Description = "gone";
  open.OsCode = ERROR_FILE_NOT_FOUND;
  auto answer = ui::AnswerNextBox(IDYES);
  MyErrorHandler(open);
  ui::BoxSnapshot box = answer.get();
  EXPECT_EQ(open.RetryRequest, kRetryRequested);
  EXPECT_EQ(box.title, "Open failed");
  const std::string start = "Cannot open file : DATA.DBF, try again ?\r\nError Message: gone\r\nDOS Error: " +
                            ErrorOsCodeText(ERROR_FILE_NOT_FOUND) + "\r\n\r\n___";
  EXPECT_EQ(box.text.substr(0, start.size()), start) << box.text;
  // The first listed row is the handler's own: "Line: nnnnn   MyErrorHandler".
  const std::string heading = " PROGRAMMER INFORMATION :\r\n" + std::string(35, '_') + "\r\n\r\nLine: ";
  const size_t row = box.text.find(heading);
  ASSERT_NE(row, std::string::npos) << box.text;
  EXPECT_EQ(box.text.substr(row + heading.size() + 5, 17), "   MyErrorHandler") << "the listing starts at the handler";
  EXPECT_EQ(box.DefaultButton(), IDYES);

  Error disk;
  disk.SubCode = kSubCodeWriteProtected;
  disk.CanRetry = true;
  disk.FileName = "A:\\X.TXT";
  disk.OsCode = ERROR_WRITE_PROTECT;
  answer = ui::AnswerNextBox(IDYES);
  MyErrorHandler(disk);
  box = answer.get();
  EXPECT_EQ(disk.RetryRequest, kRetryRequested);
  EXPECT_EQ(box.title, "Write protected");
  EXPECT_EQ(box.text, "Write protected disk/diskette !!!\r\nA:\\X.TXT\r\nDOS Error: " +
                          ErrorOsCodeText(ERROR_WRITE_PROTECT) + "\r\nTry again ?");
}

// Opened without a window, the clipboard has no owner after EmptyClipboard
// and Windows refuses the text (Wine takes it). The owner before the copy
// is told while the clipboard is open, and sees which window opened it.
HWND openedWith = nullptr;
LRESULT CALLBACK PreviousOwner(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROYCLIPBOARD) openedWith = GetOpenClipboardWindow();
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(CallStack, PutsItsTextOnTheClipboardThroughAWindow) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PreviousOwner;
  wc.lpszClassName = "PreviousClipboardOwner";
  RegisterClassA(&wc);
  HWND previous = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(OpenClipboard(previous));
  EmptyClipboard();
  CloseClipboard();
  const std::string text = CallStack(0);
  DestroyWindow(previous);
  EXPECT_NE(openedWith, nullptr) << "the clipboard was opened without a window";
  EXPECT_EQ(VOClipboardGet(), "1" + text);
}

TEST(SaveScreenToJpg, NameRuleWorksOnTheFileNamePartOnly) {
  const struct {
    const char* chosen;
    const char* saved;
  } cases[] = {
      {"shot", "shot.JPG"},
      {"shot.png", "shot.JPG"},
      {"a.b.c", "a.JPG"},
      {"x.jpg", "x.jpg"},
      {"C:\\pics\\y.Jpg", "C:\\pics\\y.Jpg"},
      {"C:\\my.pics\\shot", "C:\\my.pics\\shot.JPG"},
      {"C:\\my.pics\\shot.bmp", "C:\\my.pics\\shot.JPG"},
  };
  for (const auto& c : cases) EXPECT_EQ(JpgFileName(c.chosen), c.saved) << c.chosen;
}

TEST(CopyScreenToBitmap, OutOfRangeEdgesTakeTheScreen) {
  const RECT clipped = ScreenCaptureRect(-5, 20, 5000, 300, 1280, 800);
  EXPECT_TRUE(clipped.left == 0 && clipped.top == 20 && clipped.right == 1280 && clipped.bottom == 300);
  GdiObject bitmap(CopyScreenToBitmap(-5, -5, 0, 0));
  ASSERT_TRUE(bitmap.Valid());
  BITMAP info{};
  ASSERT_NE(GetObjectA(bitmap.Get(), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(info.bmHeight, GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace
