#include <gtest/gtest.h>

#include "errors/error_handler.h"
#include "errors/error_texts.h"
#include "errors/exception_filter.h"
#include "errors/screen_capture.h"
#include "platform/handles.h"
#include "tests/harness/ui.h"

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
  EXPECT_NE(box.text.find("   MyErrorHandler"), std::string::npos) << "the listing starts at the handler";
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

TEST(ErrorTexts, OsTextHasNoLineBreakAndUnknownCodesAreNamed) {
  const std::string text = ErrorOsCodeText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
  EXPECT_EQ(ErrorGenCodeText(999), "Generic error 999");
  EXPECT_EQ(ErrorTypeName(77), "type 77");
}

TEST(ExceptionFilter, RecordFromAnAccessViolation) {
  EXCEPTION_RECORD record{};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  record.ExceptionAddress = reinterpret_cast<void*>(0x1234);
  record.NumberParameters = 2;
  record.ExceptionInformation[0] = 0;
  record.ExceptionInformation[1] = 0x10;
  const Error e = ErrorFromException(record);
  EXPECT_EQ(e.SubCode, 0xC0000005u);
  EXPECT_EQ(e.SubCodeText, "EXCEPTION_ACCESS_VIOLATION");
  EXPECT_EQ(e.Description, "Access violation reading " + ErrorAddressText(0x10));
  EXPECT_EQ(e.FuncPtr, 0x1234u);
  EXPECT_EQ(e.OsCode, static_cast<std::uint32_t>(ERROR_NOACCESS));
  EXPECT_FALSE(e.CanRetry) << "a faulting instruction cannot be retried";
  record.ExceptionCode = EXCEPTION_IN_PAGE_ERROR;
  EXPECT_EQ(ErrorFromException(record).Description, "In page error") << "the handler's lost-network case";
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
  const RECT whole = ScreenCaptureRect(-5, -5, 0, 0, 1280, 800);
  EXPECT_EQ(whole.left, 0);
  EXPECT_EQ(whole.top, 0);
  EXPECT_EQ(whole.right, 1280);
  EXPECT_EQ(whole.bottom, 800);
  const RECT clipped = ScreenCaptureRect(10, 20, 5000, 300, 1280, 800);
  EXPECT_EQ(clipped.right, 1280);
  EXPECT_EQ(clipped.bottom, 300);

  GdiObject bitmap(CopyScreenToBitmap(-5, -5, 0, 0));
  ASSERT_TRUE(bitmap.Valid());
  BITMAP info{};
  ASSERT_NE(GetObjectA(bitmap.Get(), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(info.bmHeight, GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace
