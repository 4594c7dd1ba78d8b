#pragma once
// A modeless dialog built from a dialog template of the program's module.
#include <windows.h>

#include "platform/window.h"

class DialogWindow : public Window {
 public:
  DialogWindow() { isDialog_ = true; }
  ~DialogWindow() override;

  bool Create(const char* templateName, HWND owner);
  // The dialog's end operation: closes the modeless window.
  void EndDialog();
};
