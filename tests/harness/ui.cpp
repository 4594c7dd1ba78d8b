#include "tests/harness/ui.h"

#include <thread>

namespace ui {
namespace {

struct EnumState {
  DWORD pid;
  const std::function<bool(HWND)>* match;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  if (state->pid != 0 && ProcessOf(hwnd) != state->pid) return TRUE;
  if ((*state->match)(hwnd)) state->found.push_back(hwnd);
  return TRUE;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

IconKind IconOf(HWND box) {
  HWND icon = GetDlgItem(box, 0x440);
  if (icon == nullptr) icon = GetDlgItem(box, 0x14);
  if (icon == nullptr) return IconKind::None;
  const HICON shown = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
  if (shown == nullptr) return IconKind::None;
  struct Known {
    LPCSTR id;
    IconKind kind;
  };
  const Known known[] = {{IDI_HAND, IconKind::Error},
                         {IDI_ASTERISK, IconKind::Information},
                         {IDI_QUESTION, IconKind::Question},
                         {IDI_EXCLAMATION, IconKind::Warning}};
  for (const Known& k : known) {
    if (LoadIconA(nullptr, k.id) == shown) return k.kind;
  }
  return IconKind::Unknown;
}

BOOL CALLBACK CollectButtons(HWND hwnd, LPARAM param) {
  auto* buttons = reinterpret_cast<std::vector<BoxButton>*>(param);
  if (ClassName(hwnd) != "Button") return TRUE;
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  const LONG_PTR kind = style & BS_TYPEMASK;
  if (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON) return TRUE;
  if (!IsWindowVisible(hwnd)) return TRUE;
  BoxButton button;
  button.id = GetDlgCtrlID(hwnd);
  button.text = WindowTextW(hwnd);
  button.isDefault = kind == BS_DEFPUSHBUTTON;
  buttons->push_back(button);
  return TRUE;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (GetDlgCtrlID(hwnd) == search->id) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const std::function<bool(HWND)>& match) {
  EnumState state{pid, &match, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessages(10);
  }
}

HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        auto windows = TopLevelWindows(pid, [&](HWND h) { return IsWindowVisible(h) && match(h); });
        if (windows.empty()) return false;
        found = windows.front();
        return true;
      },
      timeoutMs);
  return found;
}

HWND WaitForWindowTitled(DWORD pid, const std::string& title, DWORD timeoutMs) {
  return WaitForWindow(pid, [&](HWND h) { return WindowTextW(h) == title; }, timeoutMs);
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
  return WaitForWindow(pid, [](HWND h) { return ClassName(h) == "#32770"; }, timeoutMs);
}

bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeoutMs);
}

std::string ClassName(HWND hwnd) {
  char name[256] = {};
  const int length = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

std::string WindowTextW(HWND hwnd) {
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return Narrow(text);
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

bool BoxSnapshot::HasButton(int id) const {
  for (const BoxButton& b : buttons)
    if (b.id == id) return true;
  return false;
}

int BoxSnapshot::DefaultButton() const {
  for (const BoxButton& b : buttons)
    if (b.isDefault) return b.id;
  return 0;
}

BoxSnapshot ReadMessageBox(HWND box) {
  BoxSnapshot snap;
  snap.hwnd = box;
  snap.owner = GetWindow(box, GW_OWNER);
  snap.title = WindowTextW(box);
  HWND text = GetDlgItem(box, 0xFFFF);
  if (text != nullptr) snap.text = WindowTextW(text);
  snap.icon = IconOf(box);
  EnumChildWindows(box, &CollectButtons, reinterpret_cast<LPARAM>(&snap.buttons));
  snap.style = GetWindowLongPtrA(box, GWL_STYLE);
  snap.exStyle = GetWindowLongPtrA(box, GWL_EXSTYLE);
  return snap;
}

void PressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::future<BoxSnapshot> AnswerNextBox(int buttonId, DWORD pid, DWORD timeoutMs) {
  return std::async(std::launch::async, [=] {
    BoxSnapshot snap;
    HWND box = WaitForMessageBox(pid, timeoutMs);
    if (box == nullptr) return snap;
    // Let the box finish laying itself out before reading it.
    Sleep(50);
    snap = ReadMessageBox(box);
    PressButton(box, buttonId);
    WaitForWindowGone(box, timeoutMs);
    return snap;
  });
}

HWND Child(HWND parent, int id) {
  ChildSearch search{id, nullptr};
  EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsEnabled(HWND hwnd) { return IsWindowEnabled(hwnd) != FALSE; }

std::string ComboSelectedText(HWND combo) {
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    items.push_back(Narrow(text));
  }
  return items;
}

void PumpMessages(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (GetTickCount64() >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount64() < end);
}

}  // namespace ui
