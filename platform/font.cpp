#include "platform/font.h"

#include "platform/dpi.h"

Font::Font(const std::string& face, int points, bool bold) : Font(face, points, bold, WindowDpi(nullptr)) {}

Font::Font(const std::string& face, int points, bool bold, UINT dpi) {
  const int height = -MulDiv(points, static_cast<int>(dpi), 72);
  font_.Reset(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                          face.c_str()));
}
