#include "platform/send_input.h"

namespace {
bool SendPair(WORD virtualKey, WORD scan, DWORD flags) {
  INPUT events[2] = {};
  for (INPUT& event : events) {
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = virtualKey;
    event.ki.wScan = scan;
    event.ki.dwFlags = flags;
  }
  events[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  return SendInput(2, events, sizeof(INPUT)) == 2;
}

// The navigation block shares its scan codes with the numeric keypad; only
// the extended flag tells a program that reads scan codes which one it got.
bool IsExtendedKey(WORD virtualKey) {
  switch (virtualKey) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
      return true;
    default:
      return false;
  }
}
}  // namespace

bool SendCharacter(wchar_t character) { return SendPair(0, static_cast<WORD>(character), KEYEVENTF_UNICODE); }

bool SendKey(WORD virtualKey) {
  return SendPair(virtualKey, static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)),
                  IsExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
}
