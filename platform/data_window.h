#pragma once
// A framed top-level window whose client area shows a form built from a
// dialog template, with an optional status bar below it.
#include <windows.h>

#include <string>

#include "platform/dialog_layout.h"
#include "platform/handles.h"
#include "platform/window.h"

class DataWindow : public Window {
 public:
  DataWindow() = default;
  ~DataWindow() override;

  // Creates the hidden frame and its form from the named template.
  bool Create(const char* templateName, HWND owner = nullptr);

  HWND Form() const { return form_; }
  HWND StatusBar() const { return statusBar_; }
  // The resolution the window is laid out for: its monitor's when it was
  // made, then the one the last WM_DPICHANGED gave.
  UINT Dpi() const { return dpi_; }

  void SetIcons(HICON large, HICON small);
  // The whole program ends when this window closes.
  void QuitOnClose(bool quit) { quitOnClose_ = quit; }
  // A status bar whose right part shows the time of day, updated each second.
  void EnableStatusBarClock();
  // The status bar's part beside the clock.
  void StatusBarNote(const std::string& text);

  LRESULT Dispatch(const Event& event) override;

 protected:
  // Called for WM_COMMAND from the form's controls.
  virtual void OnCommand(int id, int notifyCode);
  // Colours for a static control of the form; null brush means the default.
  virtual HBRUSH OnControlColor(HDC dc, HWND control);
  // Closing handler: the base destroys the window.
  virtual LRESULT Close(const Event& event);

 private:
  static INT_PTR CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Layout();
  // The form's controls, its fonts and the status bar's at `dpi`.
  void ApplyDpi(UINT dpi);
  SIZE FormSize() const;
  SIZE FrameSize(UINT dpi, UINT frameDpi) const;
  void UpdateClock();

  HWND form_ = nullptr;
  HWND statusBar_ = nullptr;
  bool quitOnClose_ = false;
  DialogLayout layout_;
  UINT dpi_ = 96;
  GdiObject statusBarFont_;  // made for dpi_; none while the bar keeps its own
};
