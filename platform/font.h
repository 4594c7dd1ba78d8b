#pragma once
// A GDI font owned for the life of the object.
#include <windows.h>

#include <string>

#include "platform/handles.h"

class Font {
 public:
  // `points` at the screen's resolution.
  Font(const std::string& face, int points, bool bold);
  // `points` at `dpi` dots per inch: the resolution of the window it is for.
  Font(const std::string& face, int points, bool bold, UINT dpi);
  HFONT Get() const { return static_cast<HFONT>(font_.Get()); }

 private:
  GdiObject font_;
};
