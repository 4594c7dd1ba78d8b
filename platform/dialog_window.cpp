#include "platform/dialog_window.h"

DialogWindow::~DialogWindow() { Destroy(); }

bool DialogWindow::Create(const char* templateName, HWND owner) {
  return CreateDialogParamA(GetModuleHandleA(nullptr), templateName, owner, &Window::DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void DialogWindow::EndDialog() { Destroy(); }
