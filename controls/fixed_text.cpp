#include "controls/fixed_text.h"

#include "app/globals.h"
#include "platform/handles.h"

namespace {
constexpr std::uint16_t kEnglish = 2;

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }
}  // namespace

_FixedText& _FixedText::Init(HWND owner, int id, POINT position, SIZE size, const std::string& text,
                             std::optional<DWORD> style, std::optional<DWORD> exStyle) {
  if (style) pendingStyle_ = *style;
  if (exStyle) ExStyle(ExStyle() | *exStyle);
  FixedText::Init(owner, id, position, size, text);
  return *this;
}

_FixedText& _FixedText::Init(HWND owner, int resourceId, std::optional<DWORD> style, std::optional<DWORD> exStyle) {
  if (FixedText::Init(owner, resourceId)) {
    if (style) Style(Style() | *style);
    if (exStyle) ExStyle(ExStyle() | *exStyle);
    border_ = HasStyle(WS_BORDER);
  }
  return *this;
}

bool _FixedText::Create() {
  if (pendingStyle_ != 0) {
    Style(Style() | pendingStyle_);
    pendingStyle_ = 0;
  }
  return FixedText::Create();
}

bool _FixedText::Border(bool border) {
  border_ = border;
  return border_;
}

const std::string& _FixedText::Caption(const std::string& text) {
  default_ = text;
  FixedText::Caption(text);
  return default_;
}

const std::string& _FixedText::CapEnglish(const std::string& text) {
  if (LanguageGet() == kEnglish) FixedText::Caption(text);
  english_ = text;
  return english_;
}

void _FixedText::RefreshCaption() {
  FixedText::Caption(LanguageGet() == kEnglish && !IsBlank(english_) ? english_ : default_);
}

LRESULT _FixedText::Dispatch(const Event& event) {
  if (border_ && event.message == WM_PAINT) {
    DrawBorder();
    return 1;
  }
  if (border_ && event.message == WM_ENABLE) {
    // Painting here would find no update region and draw nothing; the new
    // look comes with the next WM_PAINT instead.
    RedrawControl();
    return 0;
  }
  return FixedText::Dispatch(event);
}

void _FixedText::DrawBorder() {
  PaintDC paint(hwnd_);
  const HDC dc = paint.Get();
  if (dc == nullptr) return;
  RECT rect{};
  GetClientRect(hwnd_, &rect);
  SetBkMode(dc, TRANSPARENT);
  if (Background() != nullptr) FillRect(dc, &rect, Background());
  {
    // Along the last pixel row and column: right and bottom lie outside the
    // client area the paint is clipped to.
    SelectedObject pen(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, rect.left, rect.top, nullptr);
    LineTo(dc, rect.left, rect.bottom - 1);
    LineTo(dc, rect.right - 1, rect.bottom - 1);
    LineTo(dc, rect.right - 1, rect.top);
    LineTo(dc, rect.left, rect.top);
  }
  HGDIOBJ font = FontHandle();
  if (font == nullptr) font = GetStockObject(DEFAULT_GUI_FONT);
  if (font == nullptr) font = GetStockObject(SYSTEM_FONT);
  {
    SelectedObject selected(dc, font);
    const std::string text = FixedText::Caption();
    const int length = static_cast<int>(text.size());
    constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (IsEnable()) {
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      DrawTextA(dc, text.data(), length, &rect, kFormat);
    } else {
      OffsetRect(&rect, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextA(dc, text.data(), length, &rect, kFormat);
      OffsetRect(&rect, -1, -1);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      DrawTextA(dc, text.data(), length, &rect, kFormat);
    }
  }
}
