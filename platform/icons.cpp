#include "platform/icons.h"

#include <string>

#include "platform/dpi.h"

HICON LoadIconForDpi(const char* name, int metric, UINT dpi) {
  const int size = SystemMetricForDpi(metric, dpi);
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, 0));
}

HICON LoadNotificationIcon(const char* name) {
  // Common Controls 6 (Vista and later) has the call made for this; the
  // library is loaded already, as the program's windows use it.
  using MetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
  static const auto loadMetric = reinterpret_cast<MetricFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comctl32.dll"), "LoadIconMetric")));
  constexpr int kSmall = 0;  // LIM_SMALL
  if (loadMetric != nullptr) {
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    HICON icon = nullptr;
    if (SUCCEEDED(loadMetric(GetModuleHandleA(nullptr), wide.c_str(), kSmall, &icon)) && icon != nullptr) return icon;
  }
  const int size = GetSystemMetrics(SM_CXSMICON);
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, 0));
}
