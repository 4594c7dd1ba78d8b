#include "platform/modal_dialog.h"

#include "platform/dpi.h"

#ifndef WM_GETDPISCALEDSIZE
constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

INT_PTR ModalDialog::Run(const char* templateName, HWND owner) {
  layout_.Load(templateName);
  return DialogBoxParamA(GetModuleHandleA(nullptr), templateName, owner, &ModalDialog::ModalProc,
                         reinterpret_cast<LPARAM>(this));
}

// The subclass's own start first; then the dialog is laid out the way a DPI
// change does it where it opens at another resolution than 96.
INT_PTR CALLBACK ModalDialog::ModalProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const INT_PTR result = Window::DialogProc(hwnd, message, wParam, lParam);
  if (message == WM_INITDIALOG) {
    if (auto* self = reinterpret_cast<ModalDialog*>(lParam)) {
      TakeOverDialogScaling(hwnd);
      self->dpi_ = WindowDpi(hwnd);
      if (self->dpi_ != kDefaultDpi) self->ApplyDpi(self->dpi_);
    }
  }
  return result;
}

void ModalDialog::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  if (!layout_.Loaded()) return;
  layout_.Apply(hwnd_, dpi);
  // The caption and borders are the system's, at the resolution it gives the window.
  const SIZE frame = FrameSizeForClient(hwnd_, layout_.ClientSize(dpi), WindowDpi(hwnd_));
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ModalDialog::Dispatch(const Event& event) {
  if (event.message == WM_GETDPISCALEDSIZE && layout_.Loaded()) {
    const auto dpi = static_cast<UINT>(event.wParam);
    *reinterpret_cast<SIZE*>(event.lParam) = FrameSizeForClient(hwnd_, layout_.ClientSize(dpi), dpi);
    return TRUE;
  }
  if (event.message == WM_DPICHANGED) {
    ApplyDpi(HIWORD(event.wParam));
    // The place the system suggests, with the size that fits the template.
    const auto* suggested = reinterpret_cast<const RECT*>(event.lParam);
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  return Window::Dispatch(event);
}

void ModalDialog::End(INT_PTR result) {
  if (hwnd_ != nullptr) EndDialog(hwnd_, result);
}

void ModalDialog::FocusControl(HWND control) {
  if (hwnd_ != nullptr) SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}
