#include "platform/hotkey.h"

#include <commctrl.h>

namespace {
RegisterHotKeyFunction registerHotKey = &RegisterHotKey;

std::string KeyName(UINT vk, bool extended) {
  // The name comes from the keyboard layout by scan code; the extended bit
  // tells the navigation block from the number pad ("Home", not "Num 7").
  const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  char name[64] = {};
  const LONG lParam = static_cast<LONG>((scan << 16) | (extended ? 1u << 24 : 0u));
  if (scan != 0 && GetKeyNameTextA(lParam, name, sizeof name) > 0) return name;
  char code[16];
  wsprintfA(code, "key 0x%02X", vk);
  return code;
}
}  // namespace

UINT HotkeyModifiers(std::uint32_t form, bool noRepeat) {
  const UINT flags = (form >> 8) & 0xFF;
  UINT modifiers = 0;
  if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
  if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
  if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
  if (noRepeat) modifiers |= MOD_NOREPEAT;
  return modifiers;
}

std::string HotkeyName(std::uint32_t form) {
  const UINT flags = (form >> 8) & 0xFF;
  std::string name;
  if (flags & HOTKEYF_CONTROL) name += "Ctrl+";
  if (flags & HOTKEYF_SHIFT) name += "Shift+";
  if (flags & HOTKEYF_ALT) name += "Alt+";
  return name + (HotkeyKey(form) != 0 ? KeyName(HotkeyKey(form), (flags & HOTKEYF_EXT) != 0) : std::string("?"));
}

RegisterHotKeyFunction UseRegisterHotKey(RegisterHotKeyFunction function) {
  const RegisterHotKeyFunction old = registerHotKey;
  registerHotKey = function != nullptr ? function : &RegisterHotKey;
  return old;
}

bool SystemHotkey::Register(HWND window, int id, std::uint32_t form) {
  // A second registration under the same window and id would be kept beside
  // the first, not replace it.
  Unregister();
  errorDesc_.clear();
  const UINT vk = HotkeyKey(form);
  if (window == nullptr || vk == 0) {
    errorDesc_ = "The hotkey has no key.";
    return false;
  }
  BOOL done = registerHotKey(window, id, HotkeyModifiers(form, true), vk);
  DWORD error = done ? 0 : GetLastError();
  // Windows Vista knows no MOD_NOREPEAT; there a held key repeats the hotkey.
  if (!done && error != ERROR_HOTKEY_ALREADY_REGISTERED) {
    done = registerHotKey(window, id, HotkeyModifiers(form, false), vk);
    error = done ? 0 : GetLastError();
  }
  if (!done) {
    errorDesc_ = error == ERROR_HOTKEY_ALREADY_REGISTERED
                     ? HotkeyName(form) + " is already used by another program."
                     : "Windows refused the hotkey " + HotkeyName(form) + " (error " + std::to_string(error) + ").";
    return false;
  }
  window_ = window;
  id_ = id;
  return true;
}

void SystemHotkey::Unregister() {
  if (window_ == nullptr) return;
  UnregisterHotKey(window_, id_);
  window_ = nullptr;
}

bool RegisterHotkeyControl() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_HOTKEY_CLASS};
  return InitCommonControlsEx(&icc) != FALSE;
}

std::uint32_t HotkeyControl::Value() const {
  if (hwnd_ == nullptr) return 0;
  return static_cast<std::uint32_t>(SendMessageA(hwnd_, HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
}

void HotkeyControl::Value(std::uint32_t form) {
  if (hwnd_ != nullptr) SendMessageA(hwnd_, HKM_SETHOTKEY, form & 0xFFFF, 0);
}
