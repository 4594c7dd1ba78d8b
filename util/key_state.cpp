#include "util/key_state.h"

#include <windows.h>

#include "errors/callstack.h"

namespace {
bool KeyStateDown(int vk) { return (GetKeyState(vk) & 0x80) != 0; }

bool KeyboardBit(int vk, BYTE bit) {
  BYTE state[256] = {};
  if (!GetKeyboardState(state)) return false;
  return (state[vk] & bit) != 0;
}
}  // namespace

bool IsAltControlPress() {
  CALLSTACK_ENTER("IsAltControlPress", "Func  Key");
  return KeyStateDown(VK_MENU);
}

bool IsKeyControlPress() {
  CALLSTACK_ENTER("IsKeyControlPress", "Func  Key");
  return KeyStateDown(VK_CONTROL);
}

bool IsKeyShiftPress() {
  CALLSTACK_ENTER("IsKeyShiftPress", "Func  Key");
  return KeyStateDown(VK_SHIFT);
}

bool IsKeyPurePress() {
  CALLSTACK_ENTER("IsKeyPurePress", "Func  Key");
  return !IsKeyControlPress() && !IsKeyShiftPress();
}

bool IsShiftControlPress() {
  CALLSTACK_ENTER("IsShiftControlPress", "Func  Key");
  return KeyboardBit(VK_SHIFT, 0x80);
}

bool IsCapLockOn() {
  CALLSTACK_ENTER("IsCapLockOn", "Func  Key");
  return KeyboardBit(VK_CAPITAL, 0x01);
}

bool IsKeyBackspacePress() {
  CALLSTACK_ENTER("IsKeyBackspacePress", "Func  Key");
  return KeyboardBit(VK_BACK, 0x80);
}

bool IsKeyDeletePress() {
  CALLSTACK_ENTER("IsKeyDeletePress", "Func  Key");
  return KeyboardBit(VK_DELETE, 0x80);
}

bool IsKeyEnterPress() {
  CALLSTACK_ENTER("IsKeyEnterPress", "Func  Key");
  return KeyboardBit(VK_RETURN, 0x80);
}

bool IsKeyTabPress() {
  CALLSTACK_ENTER("IsKeyTabPress", "Func  Key");
  return KeyboardBit(VK_TAB, 0x80);
}
