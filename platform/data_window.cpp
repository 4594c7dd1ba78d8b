#include "platform/data_window.h"

#include <commctrl.h>

#include <cstdio>

#include "platform/dpi.h"

namespace {
constexpr const char* kFrameClass = "TvSerkeyDataWindow";
// Timer of the status-bar clock. Deliberately far from 9999, which the main
// window treats as a start/stop request.
constexpr UINT_PTR kClockTimer = 0x7C10;
constexpr int kNotePart = 0;
constexpr int kClockPart = 1;
// The widest the clock gets, and room for the part's edges and margins at 96 DPI.
constexpr const char* kWidestClock = "00:00:00";
constexpr int kClockMargin = 14;
#ifndef WM_GETDPISCALEDSIZE
constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

bool RegisterFrameClass(WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), kFrameClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFrameClass;
  return RegisterClassExA(&wc) != 0;
}

int WindowHeight(HWND window) {
  RECT rect{};
  if (window != nullptr) GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}
}  // namespace

DataWindow::~DataWindow() { Destroy(); }

bool DataWindow::Create(const char* templateName, HWND owner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (!RegisterFrameClass(&Window::WindowProc)) return false;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  HWND frame = CreateWindowExA(0, kFrameClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, owner, nullptr,
                               GetModuleHandleA(nullptr), this);
  if (frame == nullptr) return false;
  form_ = CreateDialogParamA(GetModuleHandleA(nullptr), templateName, frame, &DataWindow::FormProc,
                             reinterpret_cast<LPARAM>(this));
  if (form_ == nullptr) {
    Destroy();
    return false;
  }
  TakeOverDialogScaling(form_);
  layout_.Load(templateName);
  dpi_ = WindowDpi(hwnd_);
  // The dialog manager has laid the form out already; at another
  // resolution than 96 it is laid out the way a DPI change does it.
  if (dpi_ != kDefaultDpi) ApplyDpi(dpi_);
  ShowWindow(form_, SW_SHOW);
  Layout();
  return true;
}

void DataWindow::SetIcons(HICON large, HICON small) {
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void DataWindow::EnableStatusBarClock() {
  if (statusBar_ == nullptr) {
    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (dpi_ != kDefaultDpi) ApplyDpi(dpi_);
  }
  Layout();
  UpdateClock();
  SetTimer(hwnd_, kClockTimer, 1000, nullptr);
}

void DataWindow::UpdateClock() {
  if (statusBar_ == nullptr) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  SendMessageA(statusBar_, SB_SETTEXTA, kClockPart, reinterpret_cast<LPARAM>(text));
}

void DataWindow::StatusBarNote(const std::string& text) {
  if (statusBar_ != nullptr) SendMessageA(statusBar_, SB_SETTEXTA, kNotePart, reinterpret_cast<LPARAM>(text.c_str()));
}

SIZE DataWindow::FormSize() const {
  if (layout_.Loaded()) return layout_.ClientSize(dpi_);
  RECT formRect{};
  GetWindowRect(form_, &formRect);
  return {formRect.right - formRect.left, formRect.bottom - formRect.top};
}

// The outer size that holds the form and the status bar at `dpi`, in a
// frame the system draws at `frameDpi`.
SIZE DataWindow::FrameSize(UINT dpi, UINT frameDpi) const {
  const SIZE form = dpi == dpi_ || !layout_.Loaded() ? FormSize() : layout_.ClientSize(dpi);
  // The bar's height follows its font, which ApplyDpi remakes: asked
  // before a change, it is taken to grow as the resolution does.
  const int statusHeight = MulDiv(WindowHeight(statusBar_), static_cast<int>(dpi), static_cast<int>(dpi_));
  return FrameSizeForClient(hwnd_, {form.cx, form.cy + statusHeight}, frameDpi);
}

void DataWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  layout_.Apply(form_, dpi);
  if (layout_.Loaded()) {
    const SIZE form = layout_.ClientSize(dpi);
    SetWindowPos(form_, nullptr, 0, 0, form.cx, form.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (statusBar_ != nullptr) {
    GdiObject font(CreateStatusFontForDpi(dpi));
    if (font.Get() != nullptr) {
      SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
      statusBarFont_ = std::move(font);
    }
    SendMessageA(statusBar_, WM_SIZE, 0, 0);
  }
}

// Sizes the frame so that the form and the status bar fit exactly.
void DataWindow::Layout() {
  if (form_ == nullptr) return;
  const SIZE form = FormSize();
  if (statusBar_ != nullptr) SendMessageA(statusBar_, WM_SIZE, 0, 0);
  const SIZE frame = FrameSize(dpi_, WindowDpi(hwnd_));
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(form_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (statusBar_ != nullptr) {
    SendMessageA(statusBar_, WM_SIZE, 0, 0);
    // The clock's part is as wide as its text in the bar's own font, which
    // grows with the resolution (a fixed width cut it off at 150%).
    const int clockWidth = TextWidth(statusBar_, kWidestClock) + ScaleToDpi(kClockMargin, dpi_);
    int parts[2] = {form.cx - clockWidth, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  }
}

INT_PTR CALLBACK DataWindow::FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<DataWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return TRUE;
  }
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
      // The form's notifications belong to the frame's message filter.
      return static_cast<INT_PTR>(SendMessageA(self->hwnd_, message, wParam, lParam));
    default:
      return FALSE;
  }
}

void DataWindow::OnCommand(int, int) {}

HBRUSH DataWindow::OnControlColor(HDC, HWND) { return nullptr; }

LRESULT DataWindow::Close(const Event&) {
  Destroy();
  return 0;
}

LRESULT DataWindow::Dispatch(const Event& event) {
  switch (event.message) {
    case WM_COMMAND:
      if (event.lParam != 0) {
        OnCommand(LOWORD(event.wParam), HIWORD(event.wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HBRUSH brush = OnControlColor(reinterpret_cast<HDC>(event.wParam), reinterpret_cast<HWND>(event.lParam));
      if (brush != nullptr) return reinterpret_cast<LRESULT>(brush);
      // Default look of the form's statics.
      return DefWindowProcA(form_, event.message, event.wParam, event.lParam);
    }
    case WM_TIMER:
      if (event.wParam == kClockTimer) {
        UpdateClock();
        return 0;
      }
      break;
    case WM_GETDPISCALEDSIZE: {
      // Windows 10 1703 and later ask first: the suggested rectangle of the
      // WM_DPICHANGED that follows then has the size the form needs.
      const auto dpi = static_cast<UINT>(event.wParam);
      *reinterpret_cast<SIZE*>(event.lParam) = FrameSize(dpi, dpi);
      return TRUE;
    }
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the form is laid out again at
      // the resolution the message carries, and the frame, fitted around
      // it, takes the place the system suggests. The caption and borders
      // are the system's, at the resolution it now gives the window.
      ApplyDpi(HIWORD(event.wParam));
      const auto* suggested = reinterpret_cast<const RECT*>(event.lParam);
      const SIZE frame = FrameSize(dpi_, WindowDpi(hwnd_));
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_CLOSE:
      return Close(event);
    case WM_DESTROY:
      KillTimer(hwnd_, kClockTimer);
      if (quitOnClose_) PostQuitMessage(0);
      break;
    default:
      break;
  }
  return Window::Dispatch(event);
}
