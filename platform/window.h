#pragma once
// Base of every window class: owns the HWND link and routes every message
// through the overridable Dispatch, so a subclass can look at a message
// before the base handling does.
#include <windows.h>

#include <string>

struct Event {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

  // The message filter. Overrides end by calling the base for what they pass on.
  virtual LRESULT Dispatch(const Event& event);

  std::string Caption() const;
  void Caption(const std::string& text);

  void Show();
  void Hide();
  bool IsVisible() const;
  // True when this window, or a window it owns (its message box), is the
  // foreground window.
  bool IsForeground() const;
  // Moves the window to the centre of the work area of the monitor it is on
  // (the nearest one when it is on none) and shows it.
  void ShowCentered();
  void Center();
  void Destroy();

 protected:
  // The handling a message gets when no subclass takes it.
  virtual LRESULT DefaultHandling(const Event& event);
  // Links an HWND created with this object as its creation parameter.
  void Attach(HWND hwnd);
  void Detach();

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static Window* FromHandle(HWND hwnd);

  HWND hwnd_ = nullptr;
  bool isDialog_ = false;
};

// Runs the thread's message loop until WM_QUIT; dialog keys (Tab, arrows)
// go to the active dialog-style window. Returns the quit code.
int RunMessageLoop();
