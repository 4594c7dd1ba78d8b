#pragma once
// Characters as two-digit hexadecimal text and back. Texts are byte
// strings; a character's code is its byte value.
#include <cstdint>
#include <string>

// The value of one hexadecimal digit: a-f and A-F give 10 to 15 (letters
// beyond F go on counting: g gives 16), 0-9 their value, anything else 0.
std::uint32_t VOHex2AscEx(char c);
// The value of a pair of digits, the first the more significant. A text
// that is not exactly two characters long is a fatal error: the error
// report is written and the application ends.
std::uint32_t VOHex2Asc(const std::string& hex);
// The character whose code is VOHex2Asc(hex) (its low byte).
std::string VOHex2Chr(const std::string& hex);
// VOHex2Chr of each pair from the start; a last single digit is ignored.
std::string VOHex2String(const std::string& hex);
// The code of a single character as two capital hexadecimal digits; empty
// for a blank or empty text and for a text longer than one character.
std::string VOChr2Hex(const std::string& c);
// VOChr2Hex of each character, joined: blanks vanish, CR and LF do not.
std::string VOString2Hex(const std::string& text);
