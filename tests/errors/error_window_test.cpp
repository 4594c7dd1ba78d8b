// The error window in this process (only the handler ends the application):
// the picture offered on Yes, the save dialog and the JPEG file it writes.
#include <windows.h>
// after windows.h: the dialog control ids need its types
#include <dlgs.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <future>
#include <iterator>
#include <vector>

#include "app/globals.h"
#include "errors/error_texts.h"
#include "errors/error_window.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"

namespace {

// The dialog's file-name edit: nested in the name combo (explorer style).
BOOL CALLBACK FindNameEdit(HWND hwnd, LPARAM found) {
  if (ui::ClassName(hwnd) != "Edit" || (GetDlgCtrlID(hwnd) != cmb13 && GetDlgCtrlID(hwnd) != edt1)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

struct DialogRun {
  bool dialogSeen = false;
  std::string defaultName;
  std::vector<ui::BoxSnapshot> after;  // the boxes after the dialog
};

// Yes once the 500 ms capture timer has ticked, then `name` into the save
// dialog and OK (Cancel for an empty name), then OK to every box after it.
std::future<DialogRun> SaveThroughDialog(const std::string& caption, const std::string& name) {
  return std::async(std::launch::async, [=] {
    DialogRun run;
    HWND box = ui::WaitForMessageBox();
    if (box == nullptr) return run;
    Sleep(1200);
    ui::PressButton(box, IDYES);
    HWND dialog = ui::WaitForWindowTitled(GetCurrentProcessId(), caption);
    if (dialog == nullptr) return run;
    run.dialogSeen = true;
    Sleep(200);
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindNameEdit, reinterpret_cast<LPARAM>(&edit));
    run.defaultName = ui::WindowText(edit);
    SetWindowTextA(edit, name.c_str());
    ui::PressButton(dialog, name.empty() ? IDCANCEL : IDOK);
    ui::WaitForWindowGone(dialog);
    for (HWND after; (after = ui::WaitForMessageBox(GetCurrentProcessId(), 1500)) != nullptr;) {
      Sleep(50);
      run.after.push_back(ui::ReadMessageBox(after));
      ui::PressButton(after, IDOK);
      ui::WaitForWindowGone(after);
    }
    return run;
  });
}

unsigned Word(const std::string& d, size_t at) {
  return static_cast<unsigned char>(d[at]) << 8 | static_cast<unsigned char>(d[at + 1]);
}

// Width and height from the JPEG's start-of-frame segment.
std::pair<int, int> JpegSize(const std::string& d) {
  for (size_t i = 2; i + 9 < d.size() && static_cast<unsigned char>(d[i]) == 0xFF; i += 2 + Word(d, i + 2)) {
    const unsigned marker = static_cast<unsigned char>(d[i + 1]);
    if (marker >= 0xC0 && marker <= 0xC2) return {static_cast<int>(Word(d, i + 7)), static_cast<int>(Word(d, i + 5))};
  }
  return {0, 0};
}

// A dot in the folder's name: the name rule must leave the folder alone.
std::string Folder() {
  const std::string folder = testing_process::ExeDirectory() + "jpg.test.dir\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(ErrorWindow, YesAfterATickSavesTheScreenAsJpeg) {
  LanguageSet(2);
  const std::string file = Folder() + "shot.JPG";
  DeleteFileA(file.c_str());
  auto run = SaveThroughDialog("Fillup file name", Folder() + "shot");
  EXPECT_TRUE(ErrorWindow(nullptr, "picture", 0));
  DialogRun r = run.get();
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[16];
  std::snprintf(today, sizeof today, "%04u%02u%02u.JPG", now.wYear, now.wMonth, now.wDay);
  EXPECT_EQ(r.defaultName, today);
  ASSERT_EQ(r.after.size(), 1u);
  EXPECT_EQ(r.after[0].title, "Successfully");
  EXPECT_EQ(r.after[0].text, "File: " + file + " created !");
  std::ifstream in(file, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  DeleteFileA(file.c_str());
  ASSERT_GT(data.size(), 4u);
  EXPECT_EQ(data.substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(data.substr(data.size() - 2), "\xFF\xD9");
  EXPECT_EQ(JpegSize(data), std::make_pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
}

TEST(ErrorWindow, CancelSavesNothingAndAFailedSaveIsNotCalledCreated) {
  LanguageSet(1);
  auto cancelled = SaveThroughDialog("Isikan nama file", "");
  EXPECT_TRUE(ErrorWindow(nullptr, "", 0));
  DialogRun r = cancelled.get();
  EXPECT_TRUE(r.dialogSeen);
  EXPECT_TRUE(r.after.empty()) << "no message after a cancel";

  LanguageSet(2);
  const std::string blocked = Folder() + "taken.JPG";  // a folder: no picture can go there
  CreateDirectoryA(blocked.c_str(), nullptr);
  auto failed = SaveThroughDialog("Fillup file name", Folder() + "taken.png");
  EXPECT_TRUE(ErrorWindow(nullptr, "", 0));
  r = failed.get();
  RemoveDirectoryA(blocked.c_str());
  ASSERT_EQ(r.after.size(), 1u);
  EXPECT_EQ(r.after[0].title, "Error");
  EXPECT_EQ(r.after[0].text, "File: " + blocked + " cannot be created !");
}

// Yes 10 ms after the window is activated, long before the first capture
// tick: no picture yet, so no dialog may follow. A timer of this thread runs
// inside the box's modal loop once the box is laid out, and expires first.
HWND activatedBox = nullptr;
ui::BoxSnapshot activated;
HHOOK yesHook = nullptr;

void CALLBACK ReadAndPressYes(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  activated = ui::ReadMessageBox(activatedBox);
  ui::PressButton(activatedBox, IDYES);
}

LRESULT CALLBACK PressYesOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && activatedBox == nullptr && ui::ClassName(reinterpret_cast<HWND>(wParam)) == "#32770") {
    activatedBox = reinterpret_cast<HWND>(wParam);
    SetTimer(nullptr, 0, 10, ReadAndPressYes);
  }
  return CallNextHookEx(yesHook, code, wParam, lParam);
}

TEST(ErrorWindow, YesBeforeTheFirstTickSavesNothing) {
  LanguageSet(2);
  std::atomic<bool> done{false};
  auto dialogSeen = std::async(std::launch::async, [&] {
    while (!done) {
      if (HWND dialog = ui::WaitForWindowTitled(GetCurrentProcessId(), "Fillup file name", 50)) {
        ui::PressButton(dialog, IDCANCEL);
        return true;
      }
    }
    return false;
  });
  yesHook = SetWindowsHookExA(WH_CBT, PressYesOnActivate, nullptr, GetCurrentThreadId());
  ASSERT_NE(yesHook, nullptr);
  EXPECT_TRUE(ErrorWindow(nullptr, "", 0));
  UnhookWindowsHookEx(yesHook);
  done = true;
  EXPECT_FALSE(dialogSeen.get()) << "no save dialog without a picture";
  EXPECT_EQ(activated.title, "Error");
  EXPECT_EQ(activated.icon, ui::IconKind::Error);
  ASSERT_EQ(activated.buttons.size(), 2u);
  EXPECT_TRUE(activated.HasButton(IDYES) && activated.HasButton(IDNO));
  EXPECT_EQ(activated.DefaultButton(), IDNO);
  EXPECT_EQ(activated.owner, nullptr);
}

TEST(ErrorWindowText, TypeMismatchLineAndNoDashWithoutDescription) {
  LanguageSet(1);
  Error e;
  e.GenCode = kGenArgument;
  e.Arg = "x";
  e.ArgType = kTypeText;
  e.ArgTypeReq = kTypeInteger;
  const std::string text = ErrorWindowText(&e, "", 0);
  EXPECT_EQ(text.rfind("APLIKASI ERROR!!!\r\n\r\nKeterangan : \tArgument error (x) \r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nArgument Beda : \tTEXT dan INTEGER\r\nCatatan 1 : \t\r\n"), std::string::npos) << text;
  e.ArgTypeReq = kTypeText;
  EXPECT_EQ(ErrorWindowText(&e, "", 0).find("Argument Beda"), std::string::npos);
}

// A system message that runs over several lines stays on its report line
// (Wine's messages have no break inside; Windows' do).
TEST(ErrorOsCodeText, MessageWithALineBreakInsideStaysOnOneLine) {
  EXPECT_EQ(ErrorOneLine("The file\r\nis in use.\r\n"), "The file is in use.");
  EXPECT_EQ(ErrorOneLine("a\nb\rc\r\n\r\n"), "a b c");
  const std::string text = ErrorOsCodeText(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
}

}  // namespace
