// Character sets: \d, \w and \s as JavaScript defines them (ASCII digits and
// word characters; its white space and line terminators), classes.
#include <algorithm>

#include "pattern/program.h"

namespace pattern {

bool CharSet::Has(char16_t c) const {
  auto after = std::upper_bound(ranges.begin(), ranges.end(), c,
                                [](char16_t value, const auto& range) { return value < range.first; });
  return after != ranges.begin() && c <= std::prev(after)->second;
}

CharSet MakeSet(std::vector<std::pair<char16_t, char16_t>> ranges, bool negated) {
  std::sort(ranges.begin(), ranges.end());
  CharSet set;
  for (const auto& range : ranges) {
    if (!set.ranges.empty() && range.first <= set.ranges.back().second + 1) {
      set.ranges.back().second = std::max(set.ranges.back().second, range.second);
    } else {
      set.ranges.push_back(range);
    }
  }
  if (!negated) return set;
  CharSet complement;
  char32_t next = 0;
  for (const auto& range : set.ranges) {
    if (range.first > next) complement.ranges.push_back({static_cast<char16_t>(next), static_cast<char16_t>(range.first - 1)});
    next = static_cast<char32_t>(range.second) + 1;
  }
  if (next <= 0xFFFF) complement.ranges.push_back({static_cast<char16_t>(next), u'\xFFFF'});
  return complement;
}

void AddClassEscape(std::vector<std::pair<char16_t, char16_t>>& ranges, wchar_t letter) {
  static constexpr std::pair<char16_t, char16_t> kDigits[] = {{u'0', u'9'}};
  static constexpr std::pair<char16_t, char16_t> kWord[] = {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
  static constexpr std::pair<char16_t, char16_t> kSpace[] = {
      {u'\t', u'\r'},         {u' ', u' '},           {u'\x00A0', u'\x00A0'}, {u'\x1680', u'\x1680'},
      {u'\x2000', u'\x200A'}, {u'\x2028', u'\x2029'}, {u'\x202F', u'\x202F'}, {u'\x205F', u'\x205F'},
      {u'\x3000', u'\x3000'}, {u'\xFEFF', u'\xFEFF'}};
  const wchar_t lower = letter | 0x20;
  std::vector<std::pair<char16_t, char16_t>> own;
  if (lower == L'd') own.assign(std::begin(kDigits), std::end(kDigits));
  if (lower == L'w') own.assign(std::begin(kWord), std::end(kWord));
  if (lower == L's') own.assign(std::begin(kSpace), std::end(kSpace));
  // \D, \W and \S are the complements.
  const CharSet set = MakeSet(std::move(own), letter != lower);
  ranges.insert(ranges.end(), set.ranges.begin(), set.ranges.end());
}

}  // namespace pattern
