#include "app/text_keys.h"

#include <windows.h>

#include "app/keystrokes.h"
#include "platform/send_input.h"

namespace {
TextKey Key(WORD virtualKey) { return {TextKey::Kind::Key, virtualKey}; }

// The character of one or two code-page bytes; 0 when there is none.
wchar_t CodePageCharacter(const char* bytes, int count) {
  wchar_t character = 0;
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, count, &character, 1) != 1) return 0;
  return character;
}

// C0 and C1 controls and DEL type nothing in a text field (a code page may
// map an undefined byte to a C1 control).
bool IsControl(wchar_t character) {
  return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}
}  // namespace

void TextKeys::Reset() {
  afterCR_ = false;
  leadByte_ = -1;
}

std::vector<TextKey> TextKeys::Translate(const std::string& bytes) {
  std::vector<TextKey> keys;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const bool wasAfterCR = afterCR_;
    afterCR_ = b == '\r';
    if (leadByte_ >= 0) {
      const char pair[2] = {static_cast<char>(leadByte_), c};
      leadByte_ = -1;
      const wchar_t character = CodePageCharacter(pair, 2);
      if (character != 0 && !IsControl(character)) {
        keys.push_back({TextKey::Kind::Character, static_cast<std::uint16_t>(character)});
        continue;
      }
      // Not a pair after all: the byte stands on its own below.
    }
    switch (b) {
      case '\r':
        keys.push_back(Key(VK_RETURN));
        continue;
      case '\n':
        if (!wasAfterCR) keys.push_back(Key(VK_RETURN));
        continue;
      case '\t':
        keys.push_back(Key(VK_TAB));
        continue;
      case '\b':
        keys.push_back(Key(VK_BACK));
        continue;
      case 0x1B:
        keys.push_back(Key(VK_ESCAPE));
        continue;
      default:
        break;
    }
    if (b >= 0x80 && IsDBCSLeadByte(b)) {
      leadByte_ = b;
      continue;
    }
    const wchar_t character = CodePageCharacter(&c, 1);
    if (character != 0 && !IsControl(character)) {
      keys.push_back({TextKey::Kind::Character, static_cast<std::uint16_t>(character)});
    }
  }
  return keys;
}

void TypeText(const std::vector<TextKey>& keys) {
  for (const TextKey& key : keys) {
    switch (key.kind) {
      case TextKey::Kind::Key:
        SendKey(key.code);
        break;
      case TextKey::Kind::RawKey:
        PressRawKey(static_cast<std::uint8_t>(key.code));
        break;
      case TextKey::Kind::Character:
        SendCharacter(static_cast<wchar_t>(key.code));
        break;
    }
  }
}
