#pragma once
// Whether keys typed now would reach a window that takes them: not our own
// window (they would press its buttons), not nothing or the desktop, and not
// a program with higher rights (Windows drops our keys there without a word).
#include <windows.h>

#include <optional>

enum class KeyTarget { Window, OwnWindow, NoFocus, HigherRights };

struct KeyTargetCheck {
  KeyTarget target = KeyTarget::Window;
  HWND window = nullptr;  // the window in front
};

class KeyTargets {
 public:
  explicit KeyTargets(HWND own);
  // Asked before keys go out. Where a level cannot be read the keys are
  // typed: a false alarm must never keep them from an ordinary window.
  KeyTargetCheck Check();

 private:
  HWND own_;
  std::optional<DWORD> ownLevel_;
  // The last window asked about and its process: the level is read once per
  // window, not once per key.
  HWND lastWindow_ = nullptr;
  DWORD lastPid_ = 0;
  bool lastHigher_ = false;
};
