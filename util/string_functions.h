#pragma once
// Text helpers: character codes, digit grouping, random texts, blank tests
// and the scrambling of stored texts. Texts are byte strings: every byte
// value 0 to 255 is a character, 0 included.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// "65,66,67" gives "ABC": each comma-separated part is a decimal code
// (an empty or non-numeric part is 0, codes are taken modulo 256), so an
// empty text gives one character of code 0 and ",," gives three.
std::string ReturnChr(const std::string& codes);
// One element of a list for ReturnChr: a text or a number.
using ChrListItem = std::variant<std::string, long long, double>;
// The elements' text forms, each trimmed, joined with nothing between them:
// {"A", "B"} gives "AB", {65, 66} gives "6566".
std::string ReturnChr(const std::vector<ChrListItem>& list);
// The decimal codes of the characters joined by ",": "AB" gives "65,66".
std::string ReturnAsc(const std::string& text);

// "," between groups of three characters counted from the right.
std::string VORetPicture(const std::string& text);

// `len` random characters from "A" to "Z", no two neighbours equal.
std::string RetRandomString(std::uint16_t len);
// `len` random characters from the first character of `from` to the first
// of `to`, no two neighbours equal and never `from` first. The range needs
// two characters at least: a smaller or reversed range, or an empty `from`
// or `to`, gives an empty text.
std::string RetRandomString2(std::uint16_t len, const std::string& from, const std::string& to);

// True for an empty text or one of blanks only (space, tab, CR, LF); a text
// that is exactly CR, LF or CR LF is a line break and so not empty.
bool VOEmptyStr(const std::string& text);

// Our symmetric cipher: the result is as long as the text, and applying it
// again with the same key restores the text.
std::string Crypt(const std::string& text, const std::string& key);
// Scrambles a text for storage (three characters longer than the text);
// TeDecrypt restores it.
std::string TeEncrypt(const std::string& text);
std::string TeDecrypt(const std::string& text);
