#include <gtest/gtest.h>

#include "app/app.h"
#include "app/app_functions.h"
#include "app/conventions.h"
#include "app/globals.h"
#include "errors/callstack.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"

namespace {

using testing_process::ChildProcess;

TEST(Initialize, SetsLanguageNamesReleaseAndConventions) {
  App app;
  app.Initialize();
  EXPECT_EQ(LanguageGet(), 1);
  EXPECT_EQ(ApplicationNameGet(), "TV-SERKEY");
  EXPECT_EQ(AppReleaseGet(), " Build 2014.02.13");
  EXPECT_EQ(Ret_Build(), "TV-SERKEY, Release :  Build 2014.02.13");
  const Conventions& c = ConventionsGet();
  EXPECT_EQ(c.dateFormat, "DD/MM/YYYY");
  EXPECT_EQ(c.epoch, 1970);
  EXPECT_EQ(c.decimalSep, ',');
  EXPECT_EQ(c.thousandsSep, '.');
  EXPECT_EQ(c.digits, 20);
  EXPECT_EQ(c.decimals, 4);
  EXPECT_DOUBLE_EQ(c.floatDelta, 1e-8);
  EXPECT_EQ(c.timeSep, ':');
  EXPECT_FALSE(c.amPm);
  EXPECT_EQ(ErrorFileGet(), "VOError.log");
}

TEST(Globals, SettersReturnWhatTheyStore) {
  EXPECT_EQ(ErrorRemarkSet("remark"), "remark");
  EXPECT_EQ(ErrorRemarkGet(), "remark");
  EXPECT_TRUE(GlobalErrorSet(true));
  EXPECT_TRUE(GlobalErrorGet());
  GlobalErrorSet(false);
  EXPECT_EQ(LanguageSet(2), 2);
  EXPECT_EQ(IndexCreatedSet("x.ntx"), "x.ntx");
  EXPECT_EQ(ReleaseFromBuildDate("20140213"), " Build 2014.02.13");
}

TEST(StartSwitch, OnlyTheTextAfterTheLastQuoteCounts) {
  EXPECT_TRUE(CommandLineRequestsStart("\"C:\\Program Files\\TV-SERKEY.exe\" /start"));
  EXPECT_TRUE(CommandLineRequestsStart("\"C:\\a.exe\"    /START"));
  EXPECT_TRUE(CommandLineRequestsStart("\"C:\\a.exe\"/Start"));
  // Without quotes the whole line is compared, which is never just "/START".
  EXPECT_FALSE(CommandLineRequestsStart("C:\\TV-SERKEY.exe /START"));
  EXPECT_FALSE(CommandLineRequestsStart("\"C:\\a.exe\""));
  EXPECT_FALSE(CommandLineRequestsStart("\"C:\\a.exe\" /START "));
  // The comparison is exact: a word that merely begins with /START does not start.
  EXPECT_FALSE(CommandLineRequestsStart("\"C:\\a.exe\" /STARTUP"));
  EXPECT_FALSE(CommandLineRequestsStart("\"C:\\a.exe\" \"/START\""));
  EXPECT_TRUE(CommandLineRequestsStart("/start"));
}

TEST(DriveType, PathsReduceToTheirRoot) {
  EXPECT_EQ(DriveRootOf("C"), "C:\\");
  EXPECT_EQ(DriveRootOf("C:"), "C:\\");
  EXPECT_EQ(DriveRootOf("C:\\Windows\\"), "C:\\");
  EXPECT_EQ(DriveRootOf("\\\\server\\share"), "\\\\s");
  EXPECT_EQ(DriveRootOf(""), "");
  EXPECT_EQ(VOGetDriveType(nullptr, "C"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(VOGetDriveType(nullptr, "C:"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(VOGetDriveType(nullptr, "C:\\Windows\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(VOGetDriveType(nullptr, "N:\\"), static_cast<UINT>(DRIVE_REMOTE));
}

TEST(DriveType, MissingRootShowsItsBoxWithTheCallersChain) {
  App app;
  app.Initialize();
  auto answer = ui::AnswerNextBox(IDOK);
  UINT type;
  {
    CALLSTACK_ENTER("DriveTypeCaller", "Func  Test");
    callFrame_.Line(77);
    type = VOGetDriveType(nullptr, "Q:");
  }
  ui::BoxSnapshot box = answer.get();
  EXPECT_EQ(type, static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  EXPECT_EQ(box.icon, ui::IconKind::Error);
  const std::string expectedStart = "The root path is invalid or does not exist !\r\n\r\n____";
  EXPECT_EQ(box.text.substr(0, expectedStart.size()), expectedStart) << box.text;
  EXPECT_NE(box.text.find("\r\nLine: 00077   DriveTypeCaller"), std::string::npos) << box.text;
  EXPECT_EQ(box.text.find("VOGetDriveType"), std::string::npos) << "the listing starts at the caller";
  EXPECT_NE(box.text.find("TV-SERKEY, Release :  Build 2014.02.13"), std::string::npos);
}

TEST(NetworkRefusal, UncDirectoryIsRefusedWithTheIndonesianText) {
  App app;
  auto answer = ui::AnswerNextBox(IDOK);
  EXPECT_FALSE(app.StartInitFor("\\\\server\\share\\tools\\"));
  ui::BoxSnapshot box = answer.get();
  EXPECT_EQ(box.text, kNetworkRefusalText);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.icon, ui::IconKind::Error);
  EXPECT_EQ(std::string(kNetworkRefusalText),
            "Aplikasi ini tidak boleh dijalankan langsung melalui Network,\r\n"
            "Anda mesti menginstall aplikasi ini pada Local Drive, dan menjalankannya dari Local Drive,\r\n"
            "kemudian baru boleh buka data melalui Network\r\n\r\n"
            "Bagaimana cara membuka data melalui Network, dapat anda baca melalui Help/Bantuan!");
}

TEST(NetworkRefusal, LocalDirectoryIsAccepted) {
  App app;
  EXPECT_TRUE(app.StartInitFor("C:\\windows\\"));
}

// The real program started from drive N:, which Wine reports as remote.
TEST(NetworkRefusal, ProgramOnARemoteDriveShowsTheBoxAndEndsWithoutAWindow) {
  ChildProcess program;
  ASSERT_TRUE(program.Start("\"N:\\TV-SERKEY.exe\""));
  HWND box = ui::WaitForMessageBox(program.Pid());
  ASSERT_NE(box, nullptr) << "no refusal box";
  ui::BoxSnapshot snap = ui::ReadMessageBox(box);
  EXPECT_EQ(snap.text, kNetworkRefusalText);
  EXPECT_EQ(snap.owner, nullptr);
  auto windows = ui::TopLevelWindows(program.Pid(), [&](HWND h) { return h != box && IsWindowVisible(h); });
  EXPECT_TRUE(windows.empty()) << "the main window must not appear";
  ui::PressButton(box, IDOK);
  DWORD code = 1;
  EXPECT_TRUE(program.Wait(10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(StartUp, ProgramFromALocalDriveShowsItsMainWindow) {
  ChildProcess program;
  ASSERT_TRUE(program.Start(testing_process::ProductPath()));
  HWND main = ui::WaitForWindowTitled(program.Pid(), "TV-SERKEY, Release :  Build 2014.02.13");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::WindowText(ui::Child(main, 114)), "Start");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.Wait(10000));
}

TEST(StartUp, MainWindowThatCannotBeBuiltShowsAnErrorAndEndsWithFailure) {
  ChildProcess program;
  ASSERT_TRUE(program.Start(testing_process::ProgramPath("app_without_templates.exe")));
  HWND box = ui::WaitForMessageBox(program.Pid(), 10000);
  ASSERT_NE(box, nullptr) << "the process lives on without a window";
  EXPECT_EQ(ui::ReadMessageBox(box).text, kNoWindowText);
  ui::PressButton(box, IDOK);
  DWORD code = 0;
  EXPECT_TRUE(program.Wait(10000, &code));
  EXPECT_NE(code, 0u);
}

TEST(Random, NonNegativeAndRepeatableFromASeed) {
  const double a = VORandom(42);
  const double b = VORandom(0);
  EXPECT_GE(a, 0);
  EXPECT_GE(b, 0);
  EXPECT_EQ(VORandom(42), a);
  EXPECT_EQ(VORandom(0), b);
}

}  // namespace
