#pragma once
// UI driving for tests, in plain Win32 so it works on Windows as well: find
// top-level windows and message boxes of a process, read them, press buttons.
#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

namespace ui {

constexpr DWORD kDefaultTimeoutMs = 20000;

// Top-level windows of process `pid` (0: any process) that satisfy `match`.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::function<bool(HWND)>& match);
// Waits for a visible top-level window; null on time-out.
HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs = kDefaultTimeoutMs);
HWND WaitForWindowTitled(DWORD pid, const std::string& title, DWORD timeoutMs = kDefaultTimeoutMs);
// Waits for a visible dialog-class window (#32770) such as a message box.
HWND WaitForMessageBox(DWORD pid = GetCurrentProcessId(), DWORD timeoutMs = kDefaultTimeoutMs);
// Waits until `hwnd` is gone or hidden; false on time-out.
bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);
// Polls `condition` until it holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);

std::string ClassName(HWND hwnd);
std::string WindowText(HWND hwnd);
// Text through the wide API: reads another process's controls correctly.
std::string WindowTextW(HWND hwnd);
DWORD ProcessOf(HWND hwnd);

enum class IconKind { None, Error, Information, Question, Warning, Unknown };

struct BoxButton {
  int id = 0;
  std::string text;
  bool isDefault = false;
};

struct BoxSnapshot {
  HWND hwnd = nullptr;
  HWND owner = nullptr;
  std::string title;
  std::string text;
  IconKind icon = IconKind::None;
  std::vector<BoxButton> buttons;  // in window order
  LONG_PTR style = 0;
  LONG_PTR exStyle = 0;

  bool HasButton(int id) const;
  int DefaultButton() const;  // id of the default button, 0 when none
};

BoxSnapshot ReadMessageBox(HWND box);
// Clicks the button with `id` of a dialog or message box (posted: works
// while the box runs its own modal loop).
void PressButton(HWND dialog, int id);

// Starts a helper thread that waits for the next message box of `pid`,
// records it, and answers it with `buttonId`. The future holds the snapshot
// (hwnd null when no box appeared in time).
std::future<BoxSnapshot> AnswerNextBox(int buttonId, DWORD pid = GetCurrentProcessId(),
                                       DWORD timeoutMs = kDefaultTimeoutMs);

// Child controls.
HWND Child(HWND parent, int id);  // searches nested children too
bool IsEnabled(HWND hwnd);
std::string ComboSelectedText(HWND combo);  // wide API, safe across processes
std::vector<std::string> ComboItems(HWND combo);

// Runs the calling thread's pending messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

}  // namespace ui
