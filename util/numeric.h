#pragma once
// Numbers: safe division, absolute values, and numbers read from formatted
// text with the process's decimal and thousands separators.
#include <string>

// 0 when b counts as 0 (RealsEqual), otherwise a / b.
double VODivide(double a, double b);
// n when it is not negative (a value that counts as 0 is not), otherwise -n.
double VODebet(double n);
// True when a and b differ by less than the process's float tolerance.
bool RealsEqual(double a, double b);
// A real as text without a picture: the process's decimals and decimal
// separator, the whole part right-aligned in its fixed digit positions. A
// whole part wider than those positions is written out in full.
std::string RealText(double value);
// The process's decimal separator as a one-character text.
std::string VODecimalSepChr();

// The number inside formatted text: from the first digit, minus sign or
// decimal separator (the first character of `decSep`) on, those characters
// are kept, "," and the thousands separator are passed over, and anything
// else ends it ("Total 1.234,50 net" with "," gives "1234,50").
std::string VOUnTransValue(const std::string& text, const std::string& decSep);
// The characters of `value` at the positions where `picture` holds "9", "-"
// or "."; a "," in the picture is passed over, any other picture character
// after the first wanted one ends it.
std::string VOUnTransValuePict(const std::string& value, const std::string& picture);
// The number in a text, read with the process's separators; 0 for a text
// with no number.
double VOVal(const std::string& text);
