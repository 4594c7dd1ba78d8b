#include "platform/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace {
ShellNotifyFunction shellNotify = &Shell_NotifyIconA;

NOTIFYICONDATAA Base(HWND owner, UINT id) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  return data;
}

void Copy(char* target, size_t size, const std::string& text) {
  const size_t n = std::min(size - 1, text.size());
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}
}  // namespace

bool AddTrayIcon(HWND owner, HICON icon, UINT id, const std::string& tooltip) {
  NOTIFYICONDATAA data = Base(owner, id);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  Copy(data.szTip, sizeof data.szTip, tooltip);
  return shellNotify(NIM_ADD, &data) != FALSE || shellNotify(NIM_MODIFY, &data) != FALSE;
}

bool ShowBalloonTrayTip(HWND owner, HICON icon, UINT id, const std::string& title, const std::string& text,
                        UINT timeoutMs, DWORD kind) {
  NOTIFYICONDATAA data = Base(owner, id);
  data.uFlags = NIF_INFO | NIF_ICON;
  data.hIcon = icon;
  data.uTimeout = timeoutMs;
  data.dwInfoFlags = kind;
  Copy(data.szInfoTitle, sizeof data.szInfoTitle, title);
  Copy(data.szInfo, sizeof data.szInfo, text);
  return shellNotify(NIM_MODIFY, &data) != FALSE;
}

bool DeleteTrayIcon(HWND owner, UINT id) {
  NOTIFYICONDATAA data = Base(owner, id);
  return shellNotify(NIM_DELETE, &data) != FALSE;
}

bool IsTrayClick(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsTrayMenuRequest(LPARAM mouseMessage) {
  const auto message = static_cast<UINT>(mouseMessage);
  return message == WM_RBUTTONUP || message == WM_CONTEXTMENU;
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void AcceptTaskbarCreated(HWND window) {
  if (TaskbarCreatedMessage() != 0) ChangeWindowMessageFilterEx(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

ShellNotifyFunction UseShellNotify(ShellNotifyFunction function) {
  const ShellNotifyFunction previous = shellNotify;
  shellNotify = function;
  return previous;
}
