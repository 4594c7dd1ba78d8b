#pragma once
// Received bytes become key presses: the byte is the virtual-key code.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/text_keys.h"

// Keys that act on the whole system instead of typing into the focused
// window (Print Screen, the Windows keys, Sleep, browser/volume/media/launch
// keys). A byte with such a code is never pressed.
bool IsSystemWideKey(std::uint8_t virtualKey);

// Presses and releases one key per byte, in order, skipping the system-wide ones.
void TypeBytes(const std::string& bytes);
// The keys TypeBytes would press, for the typing queue.
std::vector<TextKey> BytesAsKeys(const std::string& bytes);
// Press and release of virtual key `vk`, scan code 0.
void PressRawKey(std::uint8_t vk);

// How many bytes one batch takes: what is waiting, at most `batchLimit`.
std::size_t BatchSize(std::size_t pending, std::size_t batchLimit);

// Whether bytes left behind by a batch get a batch of their own at once:
// only when this batch took some, so a read that keeps failing cannot loop.
bool AnotherBatchDue(std::size_t taken, std::size_t pending);
