#pragma once
// Small non-copyable owners, one per Win32 handle kind, each with the
// "invalid" value its creating call returns on failure.
#include <windows.h>

#include <utility>

template <class Traits>
class UniqueOwner {
 public:
  using Type = typename Traits::Type;

  UniqueOwner() = default;
  explicit UniqueOwner(Type value) : value_(value) {}
  ~UniqueOwner() { Close(); }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;
  UniqueOwner(UniqueOwner&& other) noexcept : value_(other.Detach()) {}
  UniqueOwner& operator=(UniqueOwner&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }

  Type Get() const { return value_; }
  bool Valid() const { return value_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }

  void Reset(Type value = Traits::Invalid()) {
    Close();
    value_ = value;
  }
  Type Detach() { return std::exchange(value_, Traits::Invalid()); }
  // Closes now; true when there was nothing to close or the close succeeded.
  bool Close() {
    if (!Valid()) return true;
    return Traits::Close(std::exchange(value_, Traits::Invalid()));
  }

 private:
  Type value_ = Traits::Invalid();
};

// CreateEvent, CreateThread, OpenProcess: failure is null.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};
// CreateFile: failure is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};
struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static bool Close(Type h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() { return nullptr; }
  static bool Close(Type h) { return DeleteObject(h) != FALSE; }
};
struct IconTraits {
  using Type = HICON;
  static Type Invalid() { return nullptr; }
  static bool Close(Type h) { return DestroyIcon(h) != FALSE; }
};

// A window of our own making (CreateWindowEx: failure is null).
struct WindowTraits {
  using Type = HWND;
  static Type Invalid() { return nullptr; }
  static bool Close(Type h) { return DestroyWindow(h) != FALSE; }
};

using KernelHandle = UniqueOwner<KernelHandleTraits>;
using FileHandle = UniqueOwner<FileHandleTraits>;
using RegKey = UniqueOwner<RegKeyTraits>;
using GdiObject = UniqueOwner<GdiObjectTraits>;
using IconHandle = UniqueOwner<IconTraits>;
using WindowHandle = UniqueOwner<WindowTraits>;

// A DC from GetDC, released to its window.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// The DC of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintDC() {
    if (dc_ != nullptr) EndPaint(hwnd_, &paint_);
  }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};
