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

// Whether bytes waiting after a batch get a batch of their own at once.
// Yes when the batch took some and left the rest, and when it asked for
// none (its notification was stale) while bytes arrived meanwhile: where
// EV_RXCHAR is an edge, as on Windows, their own notification may have been
// drained with the stale ones. Not after a read that asked and took nothing
// (a failing read with bytes still counted): that would post itself for good.
bool AnotherBatchDue(std::size_t asked, std::size_t taken, std::size_t pending);
