#pragma once
// A visible host window at the screen's corner and read-back of what a
// control painted in its client area.
#include <windows.h>

#include <functional>
#include <vector>

namespace paint {

class Host {
 public:
  Host();
  ~Host();
  HWND Handle() const { return hwnd_; }
  // A "Static" child with `style`, as a dialog template would make it.
  HWND AddStatic(int id, const char* text, DWORD style, RECT at, DWORD exStyle = 0);

 private:
  HWND hwnd_ = nullptr;
};

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;
  COLORREF At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// Paints what is pending, then copies the client area of `hwnd`.
Pixels Capture(HWND hwnd);
// Bounding box of the pixels inside `inset` of the edges that satisfy
// `match`; empty (right <= left) when none.
RECT BoxOf(const Pixels& pixels, const std::function<bool(COLORREF)>& match, int inset = 0);
bool EdgesAre(const Pixels& pixels, COLORREF colour);

}  // namespace paint
