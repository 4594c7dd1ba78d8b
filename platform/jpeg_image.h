#pragma once
// Screen pictures as JPEG files, through GDI+ (part of the system). The
// caller keeps a GdiplusSession alive around the other calls.
#include <windows.h>

#include <string>

class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// A device-independent copy of a bitmap; null when it cannot be made.
struct FabDIBImage;
using FabDIB = FabDIBImage*;

FabDIB FabDIBCreateFromHBitmap(HBITMAP bitmap);
// Writes the image as a JPEG file of that (ANSI) name; false on failure.
bool FabDIBSaveAsJPEG(FabDIB dib, const std::string& fileName);
// Frees the image; a null image is ignored.
void FabDIBDelete(FabDIB dib);

// Owns a FabDIB for one scope.
class FabDIBOwner {
 public:
  explicit FabDIBOwner(FabDIB dib) : dib_(dib) {}
  ~FabDIBOwner() { FabDIBDelete(dib_); }
  FabDIBOwner(const FabDIBOwner&) = delete;
  FabDIBOwner& operator=(const FabDIBOwner&) = delete;
  FabDIB Get() const { return dib_; }

 private:
  FabDIB dib_;
};
