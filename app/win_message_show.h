#pragma once
// Caption-less popup showing a running message while a longer job works.
// The user of the window writes the message into oDCMessage, shows the
// window, and ends it with EndDialog when the work is done.
#include <windows.h>

#include "platform/control.h"
#include "platform/dialog_window.h"

class WinMessageShow : public DialogWindow {
 public:
  // `unused` is accepted for callers that pass a second argument.
  explicit WinMessageShow(HWND owner, const void* unused = nullptr);

  MultiLineEdit oDCMessage;
};
