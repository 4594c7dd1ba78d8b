#include "util/binary.h"

#include "errors/callstack.h"

namespace {
// Shifting a 32-bit value by 32 or more is undefined; such bits do not exist.
std::uint32_t Mask(std::uint32_t bit) { return bit < 32 ? (std::uint32_t{1} << bit) : 0; }
}  // namespace

std::uint32_t VOSetBit(std::uint32_t n, std::uint32_t bit) {
  CALLSTACK_ENTER("VOSetBit", "Func  Binary");
  return n | Mask(bit);
}

std::uint32_t VOTestBit(std::uint32_t n, std::uint32_t bit) {
  CALLSTACK_ENTER("VOTestBit", "Func  Binary");
  return n & Mask(bit);
}

std::uint32_t VOSetBit0(std::uint32_t n, std::uint32_t bit) {
  CALLSTACK_ENTER("VOSetBit0", "Func  Binary");
  return VOTestBit(n, bit) == 0 ? n : n ^ Mask(bit);
}
