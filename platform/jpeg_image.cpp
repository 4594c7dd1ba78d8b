#include "platform/jpeg_image.h"

// GDI+'s headers want IStream and friends, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cwchar>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct FabDIBImage {
  GpBitmap* bitmap = nullptr;
};

GdiplusSession::GdiplusSession() {
  GdiplusStartupInput input;
  if (GdiplusStartup(&token_, &input, nullptr) != Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) GdiplusShutdown(token_);
}

namespace {
// The installed encoder for a MIME type, looked up rather than hard-coded.
bool EncoderFor(const wchar_t* mimeType, CLSID& clsid) {
  UINT count = 0;
  UINT bytes = 0;
  if (GdipGetImageEncodersSize(&count, &bytes) != Ok || count == 0 || bytes == 0) return false;
  std::vector<unsigned char> buffer(bytes);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  if (GdipGetImageEncoders(count, bytes, codecs) != Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType != nullptr && std::wcscmp(codecs[i].MimeType, mimeType) == 0) {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}
}  // namespace

FabDIB FabDIBCreateFromHBitmap(HBITMAP bitmap) {
  if (bitmap == nullptr) return nullptr;
  GpBitmap* image = nullptr;
  if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Ok || image == nullptr) return nullptr;
  return new FabDIBImage{image};
}

bool FabDIBSaveAsJPEG(FabDIB dib, const std::string& fileName) {
  if (dib == nullptr || fileName.empty()) return false;
  CLSID jpeg;
  if (!EncoderFor(L"image/jpeg", jpeg)) return false;
  const std::wstring name = Wide(fileName);
  return GdipSaveImageToFile(dib->bitmap, name.c_str(), &jpeg, nullptr) == Ok;
}

void FabDIBDelete(FabDIB dib) {
  if (dib == nullptr) return;
  GdipDisposeImage(dib->bitmap);
  delete dib;
}
