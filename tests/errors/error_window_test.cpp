// The error window shown in this process (it returns; only the handler ends
// the application): the screen picture offered on Yes, the save dialog and
// the JPEG file it writes.
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
#include "errors/callstack.h"
#include "errors/error_window.h"
#include "errors/screen_capture.h"
#include "tests/harness/process.h"
#include "tests/harness/ui.h"

namespace {

std::string TodayJpg() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[32];
  std::snprintf(name, sizeof name, "%04u%02u%02u.JPG", now.wYear, now.wMonth, now.wDay);
  return name;
}

// The file-name field of the save dialog: an edit with the name control's
// id, nested inside the name combo (explorer style) or on its own.
BOOL CALLBACK FindNameEdit(HWND hwnd, LPARAM param) {
  const int id = GetDlgCtrlID(hwnd);
  if (ui::ClassName(hwnd) == "Edit" && (id == cmb13 || id == edt1)) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FileNameEdit(HWND dialog) {
  HWND edit = nullptr;
  EnumChildWindows(dialog, FindNameEdit, reinterpret_cast<LPARAM>(&edit));
  return edit;
}

struct DialogRun {
  bool dialogSeen = false;
  std::string defaultName;
  std::vector<ui::BoxSnapshot> after;  // the boxes after the dialog, in order
};

// Answers the error window with Yes after the capture timer has ticked,
// then types `name` into the save dialog and confirms it (or cancels when
// `name` is empty), and answers every box that follows.
std::future<DialogRun> SaveThroughDialog(const std::string& caption, const std::string& name) {
  return std::async(std::launch::async, [=] {
    DialogRun run;
    HWND box = ui::WaitForMessageBox();
    if (box == nullptr) return run;
    Sleep(1200);  // more than two ticks of the 500 ms capture timer
    ui::PressButton(box, IDYES);
    HWND dialog = ui::WaitForWindowTitled(GetCurrentProcessId(), caption);
    if (dialog == nullptr) return run;
    run.dialogSeen = true;
    Sleep(200);
    HWND edit = FileNameEdit(dialog);
    run.defaultName = ui::WindowText(edit);
    if (name.empty()) {
      ui::PressButton(dialog, IDCANCEL);
    } else {
      SetWindowTextA(edit, name.c_str());
      ui::PressButton(dialog, IDOK);
    }
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

// Width and height from a JPEG's start-of-frame segment; 0, 0 if none.
std::pair<int, int> JpegSize(const std::string& data) {
  for (size_t i = 2; i + 9 < data.size();) {
    if (static_cast<unsigned char>(data[i]) != 0xFF) break;
    const unsigned marker = static_cast<unsigned char>(data[i + 1]);
    const size_t length = (static_cast<unsigned char>(data[i + 2]) << 8) | static_cast<unsigned char>(data[i + 3]);
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
      const int height = (static_cast<unsigned char>(data[i + 5]) << 8) | static_cast<unsigned char>(data[i + 6]);
      const int width = (static_cast<unsigned char>(data[i + 7]) << 8) | static_cast<unsigned char>(data[i + 8]);
      return {width, height};
    }
    i += 2 + length;
  }
  return {0, 0};
}

std::string Folder() {
  const std::string folder = testing_process::ExeDirectory() + "jpg.test.dir\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(ErrorWindow, YesAfterATickSavesTheScreenAsJpeg) {
  LanguageSet(2);
  const std::string folder = Folder();  // a dot in the folder's name: kept
  DeleteFileA((folder + "shot.JPG").c_str());
  auto run = SaveThroughDialog("Fillup file name", folder + "shot");
  EXPECT_TRUE(ErrorWindow(nullptr, "picture", 0));
  DialogRun r = run.get();
  ASSERT_TRUE(r.dialogSeen);
  EXPECT_EQ(r.defaultName, TodayJpg());
  ASSERT_EQ(r.after.size(), 1u);
  EXPECT_EQ(r.after[0].title, "Successfully");
  EXPECT_EQ(r.after[0].text, "File: " + folder + "shot.JPG created !");
  std::ifstream in(folder + "shot.JPG", std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(data.size(), 4u);
  EXPECT_EQ(data.substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(data.substr(data.size() - 2), "\xFF\xD9");
  EXPECT_EQ(JpegSize(data), std::make_pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  in.close();
  DeleteFileA((folder + "shot.JPG").c_str());
}

TEST(ErrorWindow, CancelledDialogSavesNothingAndSaysNothing) {
  LanguageSet(1);
  const std::string folder = Folder();
  auto run = SaveThroughDialog("Isikan nama file", "");
  EXPECT_TRUE(ErrorWindow(nullptr, "", 0));
  DialogRun r = run.get();
  EXPECT_TRUE(r.dialogSeen);
  EXPECT_TRUE(r.after.empty());
}

TEST(ErrorWindow, FailedSaveIsNotAnnouncedAsCreated) {
  LanguageSet(2);
  // A folder where the picture should go: no file can be written there.
  const std::string blocked = Folder() + "taken.JPG";
  CreateDirectoryA(blocked.c_str(), nullptr);
  auto run = SaveThroughDialog("Fillup file name", Folder() + "taken.png");
  EXPECT_TRUE(ErrorWindow(nullptr, "", 0));
  DialogRun r = run.get();
  RemoveDirectoryA(blocked.c_str());
  ASSERT_FALSE(r.after.empty());
  EXPECT_EQ(r.after.back().title, "Error");
  EXPECT_EQ(r.after.back().text, "File: " + blocked + " cannot be created !");
}

// Presses Yes 10 ms after the error window is activated, long before the
// first 500 ms capture tick: there is no picture yet, so no dialog may follow.
// A timer of the same thread: it runs inside the box's modal loop, once the
// box has laid itself out, and always expires before the capture timer.
HHOOK yesHook = nullptr;
HWND activatedBox = nullptr;
ui::BoxSnapshot activated;

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
  auto watcher = std::async(std::launch::async, [&] {
    HWND dialog = nullptr;
    ui::WaitUntil([&] { return done || (dialog = ui::WaitForWindowTitled(GetCurrentProcessId(), "Fillup file name", 50)); });
    if (dialog != nullptr) ui::PressButton(dialog, IDCANCEL);
    return dialog != nullptr;
  });
  yesHook = SetWindowsHookExA(WH_CBT, PressYesOnActivate, nullptr, GetCurrentThreadId());
  ASSERT_NE(yesHook, nullptr);
  EXPECT_TRUE(ErrorWindow(nullptr, "", 0));
  UnhookWindowsHookEx(yesHook);
  done = true;
  EXPECT_FALSE(watcher.get()) << "no save dialog without a picture";
  // The window itself: Yes/No, stop icon, No the default, no owner.
  EXPECT_EQ(activated.title, "Error");
  EXPECT_EQ(activated.icon, ui::IconKind::Error);
  ASSERT_EQ(activated.buttons.size(), 2u);
  EXPECT_TRUE(activated.HasButton(IDYES) && activated.HasButton(IDNO));
  EXPECT_EQ(activated.DefaultButton(), IDNO);
  EXPECT_EQ(activated.owner, nullptr);
}

TEST(ErrorWindowText, RecordLinesTypeMismatchAndPosition) {
  LanguageSet(1);
  ErrorRemarkSet("catatan");
  Error e;
  e.GenCode = kGenArgument;
  e.Arg = "x";
  e.OsCode = 2;
  e.ArgType = kTypeText;
  e.ArgTypeReq = kTypeInteger;
  CALLSTACK_ENTER("WindowCaller", "Func  Test");
  callFrame_.Line(9);
  const std::string text = ErrorWindowText(&e, "", 0);
  ErrorRemarkSet("");
  const std::string expected = "APLIKASI ERROR!!!\r\n\r\nKeterangan : \tArgument error (x) \r\nDOS Error : \t";
  EXPECT_EQ(text.substr(0, expected.size()), expected) << "no description: no \" - \" either";
  EXPECT_NE(text.find("\r\nArgument Beda : \tTEXT dan INTEGER\r\nCatatan 1 : \tcatatan\r\nCatatan 2 : \t\r\n"
                      "Posisi Error : \r\nFunc  Test:WindowCaller Baris ke: 9\r\n"),
            std::string::npos)
      << text;
  e.ArgTypeReq = kTypeText;
  e.Description = "Bad";
  LanguageSet(2);
  const std::string same = ErrorWindowText(&e, "m", 0);
  EXPECT_EQ(same.find("Argument Diff"), std::string::npos);
  EXPECT_NE(same.find("Description : \tBad - Argument error (x) \r\n"), std::string::npos) << same;
  EXPECT_NE(same.find("Remarks 2 : \tm\r\n"), std::string::npos) << same;
}

}  // namespace
