#pragma once
// System-wide hotkeys (RegisterHotKey) and the Win32 hotkey control. A
// hotkey is kept in the control's form: the virtual key in the low byte,
// HOTKEYF_* modifiers in the next; 0 is none.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/control.h"

// The virtual key of a hotkey in the control's form; 0 when it has none.
inline UINT HotkeyKey(std::uint32_t form) { return form & 0xFF; }
// The MOD_* flags RegisterHotKey takes for the HOTKEYF_* modifiers of `form`
// (HOTKEYF_EXT only tells the key's kind); with MOD_NOREPEAT when asked, so
// that a held key asks once.
UINT HotkeyModifiers(std::uint32_t form, bool noRepeat);
// The combination as the keyboard names it: "Ctrl+Alt+P", "Shift+F9".
std::string HotkeyName(std::uint32_t form);

// One hotkey of one window, registered only while this object holds it.
// WM_HOTKEY comes to the window with wParam = the id.
class SystemHotkey {
 public:
  SystemHotkey() = default;
  ~SystemHotkey() { Unregister(); }
  SystemHotkey(const SystemHotkey&) = delete;
  SystemHotkey& operator=(const SystemHotkey&) = delete;

  // Registers `form` for `window` under `id` (0 to 0xBFFF), replacing what
  // this object held. False with ErrorDesc set when the system refused:
  // most often because another program holds the combination.
  bool Register(HWND window, int id, std::uint32_t form);
  void Unregister();
  bool Registered() const { return window_ != nullptr; }
  int Id() const { return id_; }
  const std::string& ErrorDesc() const { return errorDesc_; }

 private:
  HWND window_ = nullptr;
  int id_ = 0;
  std::string errorDesc_;
};

// The call SystemHotkey makes; tests put a system in its place that refuses
// MOD_NOREPEAT, as Windows Vista does. Returns the one it replaces.
using RegisterHotKeyFunction = BOOL(WINAPI*)(HWND, int, UINT, UINT);
RegisterHotKeyFunction UseRegisterHotKey(RegisterHotKeyFunction function);

// The hotkey control (HOTKEY_CLASS) of a dialog. Its window class must be
// there before the dialog is made: RegisterHotkeyControl first.
bool RegisterHotkeyControl();
class HotkeyControl : public Control {
 public:
  std::uint32_t Value() const;
  void Value(std::uint32_t form);
};
