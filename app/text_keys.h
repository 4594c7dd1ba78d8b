#pragma once
// Text mode: received bytes typed as the characters they stand for in the
// system's ANSI code page, instead of as virtual-key codes.
#include <cstdint>
#include <string>
#include <vector>

struct TextKey {
  enum class Kind { Character, Key };
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

// Types the translated keys into the focused window.
void TypeText(const std::vector<TextKey>& keys);
