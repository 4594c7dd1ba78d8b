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

template <class F>
F UserFunction(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
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

SIZE FrameSizeForClient(HWND window, SIZE client, UINT dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = UserFunction<AdjustFn>("AdjustWindowRectExForDpi");
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  RECT frame{0, 0, client.cx, client.cy};
  if (adjust == nullptr || !adjust(&frame, style, FALSE, exStyle, dpi)) {
    frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

int SystemMetricForDpi(int index, UINT dpi) {
  using MetricFn = int(WINAPI*)(int, UINT);
  static const auto metric = UserFunction<MetricFn>("GetSystemMetricsForDpi");
  return metric != nullptr ? metric(index, dpi) : GetSystemMetrics(index);
}

HFONT CreateStatusFontForDpi(UINT dpi) {
  using ParametersFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const auto parameters = UserFunction<ParametersFn>("SystemParametersInfoForDpi");
  if (parameters == nullptr) return nullptr;
  // The call has no ANSI form.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return nullptr;
  return CreateFontIndirectW(&metrics.lfStatusFont);
}
