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
}  // namespace

bool SendCharacter(wchar_t character) { return SendPair(0, static_cast<WORD>(character), KEYEVENTF_UNICODE); }

bool SendKey(WORD virtualKey) {
  return SendPair(virtualKey, static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)), 0);
}
