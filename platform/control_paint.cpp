// The drawing helpers every control has, for controls that paint themselves.
#include "platform/control.h"
#include "platform/handles.h"

void Control::DrawTextControl(HDC dc, const RECT& rect, bool frame, bool grey, bool flat) const {
  RECT copy = rect;
  HBRUSH brush = background_;
  if (brush == nullptr) brush = GetSysColorBrush(frame && !grey ? COLOR_WINDOW : COLOR_BTNFACE);
  SelectedObject pen(dc, GetStockObject(BLACK_PEN));
  if (flat) {
    FillRect(dc, &copy, brush);
    if (frame) {
      MoveToEx(dc, copy.left, copy.bottom, nullptr);
      LineTo(dc, copy.right, copy.bottom);
    }
  } else if (frame) {
    SelectedObject fill(dc, brush);
    Rectangle(dc, copy.left, copy.top, copy.right, copy.bottom);
  } else {
    FillRect(dc, &copy, brush);
  }
}

void Control::DrawTextDisable(HDC dc, const RECT& rect, const std::string& text, UINT format) const {
  RECT copy = rect;
  const int length = static_cast<int>(text.size());
  OffsetRect(&copy, 1, 1);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawTextA(dc, text.data(), length, &copy, format);
  OffsetRect(&copy, -1, -1);
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text.data(), length, &copy, format);
}
