#include "platform/modal_dialog.h"

INT_PTR ModalDialog::Run(const char* templateName, HWND owner) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), templateName, owner, &Window::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

void ModalDialog::End(INT_PTR result) {
  if (hwnd_ != nullptr) EndDialog(hwnd_, result);
}

void ModalDialog::FocusControl(HWND control) {
  if (hwnd_ != nullptr) SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}
