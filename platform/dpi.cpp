#include "platform/dpi.h"

#include "platform/handles.h"

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: older systems (and the oldest we run on) lack it.
GetDpiForWindowFn DpiForWindow() {
  static const auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  return fn;
}
}  // namespace

UINT WindowDpi(HWND window) {
  if (GetDpiForWindowFn fn = DpiForWindow(); fn != nullptr && window != nullptr) {
    if (const UINT dpi = fn(window); dpi != 0) return dpi;
  }
  WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

int ScaleToDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDefaultDpi)); }

int TextWidth(HWND window, const std::string& text) {
  WindowDC dc(window);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  // A window without a font of its own draws with the system font.
  SelectedObject selected(dc.Get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}
