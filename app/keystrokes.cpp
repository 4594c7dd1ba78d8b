#include "app/keystrokes.h"

#include <windows.h>

#include <algorithm>

bool IsSystemWideKey(std::uint8_t vk) {
  return vk == VK_SNAPSHOT || vk == VK_LWIN || vk == VK_RWIN || vk == VK_SLEEP ||
         (vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2);
}

void PressRawKey(std::uint8_t vk) {
  keybd_event(vk, 0, 0, 0);
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}

void TypeBytes(const std::string& bytes) {
  for (const char c : bytes) {
    const auto vk = static_cast<std::uint8_t>(c);
    if (!IsSystemWideKey(vk)) PressRawKey(vk);
  }
}

std::vector<TextKey> BytesAsKeys(const std::string& bytes) {
  std::vector<TextKey> keys;
  keys.reserve(bytes.size());
  for (const char c : bytes) {
    const auto vk = static_cast<std::uint8_t>(c);
    if (!IsSystemWideKey(vk)) keys.push_back({TextKey::Kind::RawKey, vk});
  }
  return keys;
}

std::size_t BatchSize(std::size_t pending, std::size_t batchLimit) { return std::min(pending, batchLimit); }

bool AnotherBatchDue(std::size_t asked, std::size_t taken, std::size_t pending) {
  return pending > 0 && (taken > 0 || asked == 0);
}
