// The expression's text into a tree. Groups nest on an explicit stack: an
// expression of thousands of nested groups costs memory, not the stack.
#include <string>

#include "pattern/pattern.h"
#include "pattern/program.h"

namespace pattern {
namespace {

// An escape, in a class or out of it.
struct Escape {
  enum class Kind { Char, Set, Assertion } kind = Kind::Char;
  char16_t c = 0;
  wchar_t letter = 0;  // Set: d, D, w, W, s, S; Assertion: b or B
};

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

class Parser {
 public:
  Parser(std::wstring_view text, Tree& tree) : text_(text), tree_(tree) {}
  std::string Run();

 private:
  struct Frame {
    int group;        // its number; -1: does not capture; 0: the whole expression
    int firstGroup;   // the first group number inside it
    std::vector<int> alts, terms;
    bool canRepeat = false;
  };

  std::string Fail(const std::string& what, std::size_t at) const {
    return what + " (at character " + std::to_string(at + 1) + ")";
  }
  int Add(Node node) {
    tree_.nodes.push_back(std::move(node));
    return static_cast<int>(tree_.nodes.size() - 1);
  }
  int Leaf(Node::Kind kind, bool nullable) {
    Node node;
    node.kind = kind;
    node.nullable = nullable;
    node.firstGroup = node.endGroup = static_cast<int>(tree_.groups) + 1;
    return Add(std::move(node));
  }
  int CharLeaf(char16_t c) {
    const int at = Leaf(Node::Kind::Char, false);
    tree_.nodes[at].c = c;
    return at;
  }
  int SetLeaf(CharSet set) {
    tree_.sets.push_back(std::move(set));
    const int at = Leaf(Node::Kind::Set, false);
    tree_.nodes[at].set = static_cast<int>(tree_.sets.size() - 1);
    return at;
  }
  int Combine(Node::Kind kind, std::vector<int> kids, int firstGroup);
  void EndAlternative(Frame& frame);
  std::string ParseEscape(std::size_t& i, bool inClass, Escape& escape) const;
  std::string ParseClass(std::size_t& i, int& node);
  // A counted repetition "{m}", "{m,}" or "{m,n}" at `i`; false when the
  // brace starts none (it is then a literal brace, as in JavaScript).
  bool ParseBraces(std::size_t& i, unsigned& min, unsigned& max) const;

  std::wstring_view text_;
  Tree& tree_;
};

int Parser::Combine(Node::Kind kind, std::vector<int> kids, int firstGroup) {
  if (kids.size() == 1) return kids.front();
  Node node;
  node.kind = kids.empty() ? Node::Kind::Empty : kind;
  node.nullable = kind == Node::Kind::Concat;
  for (const int kid : kids) {
    node.nullable = kind == Node::Kind::Concat ? node.nullable && tree_.nodes[kid].nullable
                                               : node.nullable || tree_.nodes[kid].nullable;
  }
  node.firstGroup = firstGroup;
  node.endGroup = static_cast<int>(tree_.groups) + 1;
  node.kids = std::move(kids);
  return Add(std::move(node));
}

void Parser::EndAlternative(Frame& frame) {
  const int first = frame.terms.empty() ? static_cast<int>(tree_.groups) + 1
                                        : tree_.nodes[frame.terms.front()].firstGroup;
  frame.alts.push_back(Combine(Node::Kind::Concat, std::move(frame.terms), first));
  frame.terms.clear();
  frame.canRepeat = false;
}

std::string Parser::ParseEscape(std::size_t& i, bool inClass, Escape& escape) const {
  const std::size_t at = i;
  if (++i >= text_.size()) return Fail("\"\\\" at the end of the expression", at);
  const wchar_t c = text_[i++];
  switch (c) {
    case L'd': case L'D': case L'w': case L'W': case L's': case L'S':
      escape.kind = Escape::Kind::Set;
      escape.letter = c;
      return {};
    case L'b':
      if (inClass) {
        escape.c = 0x08;
      } else {
        escape.kind = Escape::Kind::Assertion;
        escape.letter = c;
      }
      return {};
    case L'B':
      if (inClass) break;
      escape.kind = Escape::Kind::Assertion;
      escape.letter = c;
      return {};
    case L't': escape.c = L'\t'; return {};
    case L'n': escape.c = L'\n'; return {};
    case L'r': escape.c = L'\r'; return {};
    case L'f': escape.c = L'\f'; return {};
    case L'v': escape.c = L'\v'; return {};
    case L'0':
      if (i < text_.size() && text_[i] >= L'0' && text_[i] <= L'9') {
        return Fail("octal escapes such as \\01 are not supported (\\0 alone is the NUL character)", at);
      }
      escape.c = 0;
      return {};
    case L'x':
    case L'u': {
      const std::size_t digits = c == L'x' ? 2 : 4;
      unsigned value = 0;
      for (std::size_t k = 0; k < digits; ++k) {
        const int digit = i + k < text_.size() ? HexValue(text_[i + k]) : -1;
        if (digit < 0) {
          return Fail(c == L'x' ? "\\x must be followed by two hexadecimal digits"
                                : "\\u must be followed by four hexadecimal digits (\\u{...} is not supported)",
                      at);
        }
        value = value * 16 + static_cast<unsigned>(digit);
      }
      i += digits;
      escape.c = static_cast<char16_t>(value);
      return {};
    }
    case L'c':
      if (i >= text_.size() || !IsAsciiLetter(text_[i])) return Fail("\\c must be followed by a letter", at);
      escape.c = static_cast<char16_t>(text_[i++] % 32);
      return {};
    case L'k':
      return Fail("named back-references (\\k<name>) are not supported", at);
    case L'p': case L'P':
      return Fail("Unicode property escapes (\\p{...}) are not supported", at);
    default:
      if (c >= L'1' && c <= L'9') {
        return Fail(inClass ? "octal escapes such as \\1 are not supported"
                            : "back-references such as \\1 are not supported",
                    at);
      }
      break;
  }
  if (IsAsciiLetter(c) || (c >= L'0' && c <= L'9')) {
    return Fail(std::string("unknown escape \\") + static_cast<char>(c), at);
  }
  escape.c = static_cast<char16_t>(c);  // escaped punctuation stands for itself
  return {};
}

std::string Parser::ParseClass(std::size_t& i, int& node) {
  const std::size_t at = i++;
  const bool negated = i < text_.size() && text_[i] == L'^';
  if (negated) ++i;
  std::vector<std::pair<char16_t, char16_t>> ranges;
  auto atom = [&](Escape& item) -> std::string {
    if (text_[i] == L'\\') return ParseEscape(i, true, item);
    item.kind = Escape::Kind::Char;
    item.c = static_cast<char16_t>(text_[i++]);
    return {};
  };
  auto add = [&](const Escape& item) {
    if (item.kind == Escape::Kind::Set) {
      AddClassEscape(ranges, item.letter);
    } else {
      ranges.push_back({item.c, item.c});
    }
  };
  while (true) {
    if (i >= text_.size()) return Fail("a class \"[\" has no \"]\"", at);
    if (text_[i] == L']') break;
    const std::size_t start = i;
    Escape first;
    if (std::string problem = atom(first); !problem.empty()) return problem;
    if (i + 1 < text_.size() && text_[i] == L'-' && text_[i + 1] != L']') {
      ++i;
      Escape last;
      if (std::string problem = atom(last); !problem.empty()) return problem;
      if (first.kind == Escape::Kind::Set || last.kind == Escape::Kind::Set) {
        // As JavaScript reads "[\d-z]": the hyphen is itself.
        add(first);
        ranges.push_back({u'-', u'-'});
        add(last);
      } else if (first.c > last.c) {
        return Fail("the range of a class is out of order", start);
      } else {
        ranges.push_back({first.c, last.c});
      }
      continue;
    }
    add(first);
  }
  ++i;
  node = SetLeaf(MakeSet(std::move(ranges), negated));
  return {};
}

bool Parser::ParseBraces(std::size_t& i, unsigned& min, unsigned& max) const {
  std::size_t k = i + 1;
  auto number = [&](unsigned& value) {
    const std::size_t start = k;
    value = 0;
    while (k < text_.size() && text_[k] >= L'0' && text_[k] <= L'9') {
      const unsigned digit = static_cast<unsigned>(text_[k++] - L'0');
      // Large counts saturate, as in JavaScript; the size limit refuses them.
      value = value > (kInfinite - 1 - digit) / 10 ? kInfinite - 1 : value * 10 + digit;
    }
    return k > start;
  };
  if (!number(min)) return false;
  max = min;
  if (k < text_.size() && text_[k] == L',') {
    ++k;
    if (!number(max)) max = kInfinite;
  }
  if (k >= text_.size() || text_[k] != L'}') return false;
  i = k + 1;
  return true;
}

std::string Parser::Run() {
  std::vector<Frame> stack;
  stack.push_back({0, 1, {}, {}, false});
  std::size_t i = 0;
  while (i < text_.size()) {
    Frame& frame = stack.back();
    const std::size_t at = i;
    const wchar_t c = text_[i];
    unsigned min = 0, max = 0;
    bool quantifier = true;
    if (c == L'*') {
      max = kInfinite, ++i;
    } else if (c == L'+') {
      min = 1, max = kInfinite, ++i;
    } else if (c == L'?') {
      max = 1, ++i;
    } else if (c != L'{' || !ParseBraces(i, min, max)) {
      quantifier = false;
    }
    if (quantifier) {
      if (!frame.canRepeat) return Fail("nothing to repeat before \"" + std::string(1, static_cast<char>(c)) + "\"", at);
      if (min > max) return Fail("the numbers of {m,n} are out of order", at);
      Node repeat;
      repeat.kind = Node::Kind::Repeat;
      repeat.min = min;
      repeat.max = max;
      repeat.greedy = !(i < text_.size() && text_[i] == L'?');
      if (!repeat.greedy) ++i;
      const Node& kid = tree_.nodes[frame.terms.back()];
      repeat.nullable = min == 0 || kid.nullable;
      repeat.firstGroup = kid.firstGroup;
      repeat.endGroup = kid.endGroup;
      repeat.kids = {frame.terms.back()};
      frame.terms.back() = Add(std::move(repeat));
      frame.canRepeat = false;
      continue;
    }
    ++i;
    int term = -1;
    bool canRepeat = true;
    switch (c) {
      case L'(': {
        int group = -1;
        if (i < text_.size() && text_[i] == L'?') {
          const wchar_t kind = i + 1 < text_.size() ? text_[i + 1] : L'\0';
          const wchar_t after = i + 2 < text_.size() ? text_[i + 2] : L'\0';
          if (kind == L'=' || kind == L'!') return Fail("lookahead (?= ) and (?! ) is not supported", at);
          if (kind == L'<' && (after == L'=' || after == L'!')) {
            return Fail("lookbehind (?<= ) and (?<! ) is not supported", at);
          }
          if (kind == L'<') return Fail("named groups (?<name> ) are not supported", at);
          if (kind != L':') return Fail("\"(?\" must be followed by \":\" (a group that does not capture)", at);
          i += 2;
        } else {
          if (tree_.groups >= Pattern::kMostGroups) {
            return Fail("more than " + std::to_string(Pattern::kMostGroups) +
                            " groups \"( )\" (write \"(?: )\" where no $N needs the group)",
                        at);
          }
          group = static_cast<int>(++tree_.groups);
        }
        stack.push_back({group, static_cast<int>(tree_.groups) + (group < 0 ? 1 : 0), {}, {}, false});
        continue;
      }
      case L')': {
        if (stack.size() == 1) return Fail("\")\" closes no group", at);
        EndAlternative(frame);
        const int inside = Combine(Node::Kind::Alt, std::move(frame.alts), frame.firstGroup);
        const int group = frame.group, firstGroup = frame.firstGroup;
        stack.pop_back();
        if (group < 0) {
          term = inside;
        } else {
          Node node;
          node.kind = Node::Kind::Group;
          node.group = group;
          node.nullable = tree_.nodes[inside].nullable;
          node.firstGroup = firstGroup;
          node.endGroup = static_cast<int>(tree_.groups) + 1;
          node.kids = {inside};
          term = Add(std::move(node));
        }
        break;
      }
      case L'|':
        EndAlternative(frame);
        continue;
      case L'^': term = Leaf(Node::Kind::Begin, true), canRepeat = false; break;
      case L'$': term = Leaf(Node::Kind::End, true), canRepeat = false; break;
      case L'.': term = Leaf(Node::Kind::Any, false); break;
      case L'[': {
        --i;
        if (std::string problem = ParseClass(i, term); !problem.empty()) return problem;
        break;
      }
      case L'\\': {
        --i;
        Escape escape;
        if (std::string problem = ParseEscape(i, false, escape); !problem.empty()) return problem;
        if (escape.kind == Escape::Kind::Assertion) {
          term = Leaf(escape.letter == L'b' ? Node::Kind::WordBoundary : Node::Kind::NotWordBoundary, true);
          canRepeat = false;
        } else if (escape.kind == Escape::Kind::Set) {
          std::vector<std::pair<char16_t, char16_t>> ranges;
          AddClassEscape(ranges, escape.letter);
          term = SetLeaf(MakeSet(std::move(ranges), false));
        } else {
          term = CharLeaf(escape.c);
        }
        break;
      }
      default:
        term = CharLeaf(static_cast<char16_t>(c));
        break;
    }
    Frame& into = stack.back();
    into.terms.push_back(term);
    into.canRepeat = canRepeat;
  }
  if (stack.size() > 1) return Fail("a group \"(\" has no \")\"", text_.size() - 1);
  EndAlternative(stack.back());
  tree_.root = Combine(Node::Kind::Alt, std::move(stack.back().alts), 1);
  return {};
}

}  // namespace

std::string Parse(std::wstring_view expression, Tree& tree) {
  tree = Tree();
  return Parser(expression, tree).Run();
}

}  // namespace pattern
