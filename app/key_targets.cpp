#include "app/key_targets.h"

#include "platform/key_target.h"

KeyTargets::KeyTargets(HWND own) : own_(own), ownLevel_(OwnIntegrityLevel()) {}

KeyTargetCheck KeyTargets::Check() {
  HWND front = ForegroundWindow();
  if (front == nullptr || IsDesktop(front)) return {KeyTarget::NoFocus, front};
  if (own_ != nullptr && GetAncestor(front, GA_ROOTOWNER) == own_) return {KeyTarget::OwnWindow, front};
  DWORD pid = 0;
  GetWindowThreadProcessId(front, &pid);
  if (front != lastWindow_ || pid != lastPid_) {
    lastWindow_ = front;
    lastPid_ = pid;
    const std::optional<DWORD> level = WindowIntegrityLevel(front);
    lastHigher_ = level && ownLevel_ && *level > *ownLevel_;
  }
  return {lastHigher_ ? KeyTarget::HigherRights : KeyTarget::Window, front};
}
