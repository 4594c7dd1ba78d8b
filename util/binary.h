#pragma once
// Single bits of 32-bit values. Bit numbers count from 0; a bit number
// above 31 names no bit: setting or clearing it leaves the value as it is
// and testing it gives 0.
#include <cstdint>

std::uint32_t VOSetBit(std::uint32_t n, std::uint32_t bit);
std::uint32_t VOSetBit0(std::uint32_t n, std::uint32_t bit);
// The bit's own value (2 to the power `bit`) when set, 0 when clear.
std::uint32_t VOTestBit(std::uint32_t n, std::uint32_t bit);
