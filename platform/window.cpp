#include "platform/window.h"

#include <algorithm>
#include <vector>

#include "platform/menu_registry.h"

namespace {
constexpr const char* kPropName = "TvSerkeyWindow";
}

Window::~Window() { Destroy(); }

Window* Window::FromHandle(HWND hwnd) { return static_cast<Window*>(GetPropA(hwnd, kPropName)); }

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kPropName, this);
}

void Window::Detach() {
  if (hwnd_ != nullptr) RemovePropA(hwnd_, kPropName);
  hwnd_ = nullptr;
}

void Window::Destroy() {
  if (hwnd_ == nullptr) return;
  // WM_DESTROY still reaches Dispatch; WM_NCDESTROY unlinks the object.
  if (!DestroyWindow(hwnd_)) Detach();
  hwnd_ = nullptr;
}

LRESULT Window::Dispatch(const Event& event) { return DefaultHandling(event); }

LRESULT Window::DefaultHandling(const Event& event) {
  if (isDialog_) return FALSE;
  return DefWindowProcA(hwnd_, event.message, event.wParam, event.lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (auto* self = static_cast<Window*>(create->lpCreateParams)) self->Attach(hwnd);
  }
  Window* self = FromHandle(hwnd);
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  // Items with a handler of a menu that belongs to this window.
  if (RouteMenuMessage(hwnd, message, wParam, lParam)) return 0;
  if (message == WM_NCDESTROY) {
    LRESULT result = self->Dispatch({message, wParam, lParam});
    self->Detach();
    return result;
  }
  return self->Dispatch({message, wParam, lParam});
}

INT_PTR CALLBACK Window::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (auto* self = reinterpret_cast<Window*>(lParam)) self->Attach(hwnd);
  }
  Window* self = FromHandle(hwnd);
  if (self == nullptr) return FALSE;
  if (RouteMenuMessage(hwnd, message, wParam, lParam)) return TRUE;
  if (message == WM_NCDESTROY) {
    self->Dispatch({message, wParam, lParam});
    self->Detach();
    return FALSE;
  }
  const LRESULT result = self->Dispatch({message, wParam, lParam});
  switch (message) {
    // These answer with a value of their own rather than a handled flag.
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORLISTBOX:
    case WM_INITDIALOG:
      return result;
    default:
      if (result != 0) SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
      return result != 0 ? TRUE : FALSE;
  }
}

std::string Window::Caption() const {
  if (hwnd_ == nullptr) return {};
  std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1);
  const int length = GetWindowTextA(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

void Window::Caption(const std::string& text) {
  if (hwnd_ != nullptr) SetWindowTextA(hwnd_, text.c_str());
}

void Window::Show() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_SHOW);
}

void Window::Hide() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
}

bool Window::IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

bool Window::IsForeground() const {
  HWND front = GetForegroundWindow();
  return hwnd_ != nullptr && front != nullptr && GetAncestor(front, GA_ROOTOWNER) == hwnd_;
}

void Window::Center() {
  if (hwnd_ == nullptr) return;
  // The monitor the window was last on, not the primary one: shown from
  // the notification icon it comes back where the user left it.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT area{};
  if (GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    area = monitor.rcWork;
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // Larger than the work area: its top left corner stays inside.
  const int x = area.left + std::max(0L, ((area.right - area.left) - width) / 2);
  const int y = area.top + std::max(0L, ((area.bottom - area.top) - height) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ShowCentered() {
  Center();
  if (hwnd_ != nullptr) {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
  }
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    HWND active = GetActiveWindow();
    // Keyboard navigation inside dialog-style forms of the active window.
    if (active != nullptr && root == active) {
      char cls[16] = {};
      GetClassNameA(active, cls, sizeof cls);
      HWND form = lstrcmpA(cls, "#32770") == 0 ? active : FindWindowExA(active, nullptr, "#32770", nullptr);
      if (form != nullptr && IsDialogMessageA(form, &msg)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
