#include "controls/fixed_text_blinking.h"

#include "app/globals.h"
#include "platform/handles.h"

FixedTextBlinking::~FixedTextBlinking() { StopTimers(); }

FixedTextBlinking& FixedTextBlinking::Init(HWND owner, int id, POINT position, SIZE size, const std::string& text,
                                           std::optional<DWORD> style, std::optional<DWORD> exStyle) {
  StopTimers();  // bound again: the old window blinks no more
  _FixedText::Init(owner, id, position, size, text, style, exStyle);
  StartBlinking();
  return *this;
}

FixedTextBlinking& FixedTextBlinking::Init(HWND owner, int resourceId, std::optional<DWORD> style,
                                           std::optional<DWORD> exStyle) {
  StopTimers();
  _FixedText::Init(owner, resourceId, style, exStyle);
  StartBlinking();
  return *this;
}

void FixedTextBlinking::StartBlinking() {
  offPhase_ = false;
  timerId_ = kTimerId;
  busy_ = false;
  if (hwnd_ == nullptr) return;
  // Blinks start on a whole second, so that several controls blink together;
  // a timer waits for it rather than the window thread.
  SYSTEMTIME now;
  GetLocalTime(&now);
  const UINT toNextSecond = 1000u - now.wMilliseconds;
  SetTimer(hwnd_, kAlignTimerId, toNextSecond > 0 ? toNextSecond : 1, nullptr);
}

void FixedTextBlinking::StopTimers() {
  if (hwnd_ == nullptr) return;
  KillTimer(hwnd_, kAlignTimerId);
  KillTimer(hwnd_, timerId_);
}

LRESULT FixedTextBlinking::Dispatch(const Event& event) {
  if (event.message == WM_TIMER && event.wParam == kAlignTimerId) {
    KillTimer(hwnd_, kAlignTimerId);
    SetTimer(hwnd_, timerId_, kBlinkMs, nullptr);
    return 0;
  }
  if (event.message == WM_TIMER && event.wParam == timerId_ && !busy_ && !GlobalErrorGet() && IsVisible()) {
    busy_ = true;
    offPhase_ = !offPhase_;
    RedrawControl();
    busy_ = false;
  }
  if (event.message == WM_PAINT && IsVisible() && offPhase_) {
    PaintOffPhase();
    return 1;
  }
  return _FixedText::Dispatch(event);
}

// The hidden phase: background only, no text.
void FixedTextBlinking::PaintOffPhase() {
  PaintDC paint(hwnd_);
  const HDC dc = paint.Get();
  if (dc == nullptr) return;
  RECT rect{};
  GetClientRect(hwnd_, &rect);
  if (Background() != nullptr) {
    FillRect(dc, &rect, Background());
  } else if (!HasStyleEx(WS_EX_TRANSPARENT)) {
    FillRect(dc, &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  }
}

void FixedTextBlinking::Destroy() {
  StopTimers();
  _FixedText::Destroy();
}
