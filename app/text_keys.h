#pragma once
// Text mode: received bytes typed as the characters they stand for in the
// system's ANSI code page, instead of as virtual-key codes.
#include <cstdint>
#include <string>
#include <vector>

// One key to type. Key mode's bytes are RawKey: the byte pressed as the
// virtual-key code it is, with scan code 0, exactly as the device sent it.
struct TextKey {
  enum class Kind { Character, Key, RawKey };
  Kind kind;
  std::uint16_t code;  // UTF-16 unit for a character, virtual-key code for a key
  bool operator==(const TextKey&) const = default;
};

// Keeps what one batch leaves open for the next: a CR whose LF may follow,
// and the lead byte of a double-byte character.
class TextKeys {
 public:
  // CR, LF and CR LF give one Enter each; TAB, BS and ESC their keys; other
  // control bytes and bytes the code page has no character for give nothing.
  std::vector<TextKey> Translate(const std::string& bytes);
  // Forgets the open CR and lead byte (a new start of the port).
  void Reset();

 private:
  bool afterCR_ = false;
  int leadByte_ = -1;
};

// Types the keys into the focused window, in order.
void TypeText(const std::vector<TextKey>& keys);
