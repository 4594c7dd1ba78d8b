#pragma once
// Names of window messages for the trace log.
#include <cstddef>
#include <cstdint>
#include <string>

struct MessageName {
  std::uint32_t number;
  const char* name;
};

// The name table, in its order; where two names share a number it holds
// the first of the pair only.
const MessageName* MessageNameTable(std::size_t* count);

// The name of a message number: the first table entry with that number,
// else "WM_USER + n" for WM_USER + 1 to 100, else "... " + the number.
std::string MessageNameOf(std::uint32_t message);
