#pragma once
// A modal dialog built from a dialog template of the program's module: Run
// returns only when the dialog ends, its owner disabled meanwhile. It is
// laid out again at the resolution of each monitor it is moved to.
#include <windows.h>

#include "platform/dialog_layout.h"
#include "platform/window.h"

class ModalDialog : public Window {
 public:
  ModalDialog() { isDialog_ = true; }

  // The result given to End; -1 when the dialog could not be shown.
  INT_PTR Run(const char* templateName, HWND owner);
  void End(INT_PTR result);
  // Gives the keyboard focus to `control` the way the dialog manager does
  // (the default button follows, an edit's text is selected).
  void FocusControl(HWND control);
  // The resolution the dialog is laid out for.
  UINT Dpi() const { return dpi_; }

  LRESULT Dispatch(const Event& event) override;

 private:
  static INT_PTR CALLBACK ModalProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyDpi(UINT dpi);

  DialogLayout layout_;
  UINT dpi_ = 96;
};
