#include "tests/controls/paint_support.h"

namespace paint {

Host::Host() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "ControlsTestHost";
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(WS_EX_TOPMOST, "ControlsTestHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                          nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(hwnd_);
}

Host::~Host() { DestroyWindow(hwnd_); }

HWND Host::AddStatic(int id, const char* text, DWORD style, RECT at, DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, "Static", text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                               at.right - at.left, at.bottom - at.top, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

Pixels Capture(HWND hwnd) {
  UpdateWindow(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  Pixels pixels;
  pixels.width = client.right;
  pixels.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC window = GetDC(hwnd);
  HDC memory = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, pixels.width, pixels.height, window, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* quads = static_cast<const RGBQUAD*>(bits);
  for (int i = 0; i < pixels.width * pixels.height; ++i) {
    pixels.data.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd, window);
  return pixels;
}

RECT BoxOf(const Pixels& pixels, const std::function<bool(COLORREF)>& match, int inset) {
  RECT box{pixels.width, pixels.height, 0, 0};
  for (int y = inset; y < pixels.height - inset; ++y) {
    for (int x = inset; x < pixels.width - inset; ++x) {
      if (!match(pixels.At(x, y))) continue;
      if (x < box.left) box.left = x;
      if (y < box.top) box.top = y;
      if (x + 1 > box.right) box.right = x + 1;
      if (y + 1 > box.bottom) box.bottom = y + 1;
    }
  }
  return box;
}

bool EdgesAre(const Pixels& pixels, COLORREF colour) {
  for (int x = 0; x < pixels.width; ++x) {
    if (pixels.At(x, 0) != colour || pixels.At(x, pixels.height - 1) != colour) return false;
  }
  for (int y = 0; y < pixels.height; ++y) {
    if (pixels.At(0, y) != colour || pixels.At(pixels.width - 1, y) != colour) return false;
  }
  return true;
}

}  // namespace paint
