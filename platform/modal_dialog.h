#pragma once
// A modal dialog built from a dialog template of the program's module: Run
// returns only when the dialog ends, its owner disabled meanwhile.
#include <windows.h>

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
};
