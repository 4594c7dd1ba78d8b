#pragma once
// The data rules' expressions: ECMAScript syntax with JavaScript's answers,
// matched against a whole record in time linear in its length (all paths at
// once, no backtracking) and without recursion, so that no expression can
// take exponential time or exhaust a stack. What it cannot do (back-
// references, lookaround, named groups...) is refused with the reason.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pattern {

struct Program;

// Where a group's text lies in the record; `taken` false: it took no part.
struct Span {
  std::size_t start = 0;
  std::size_t length = 0;
  bool taken = false;
};

enum class Outcome { NoMatch, Match, NoMemory };

class Pattern {
 public:
  // Most groups "( )" an expression may have.
  static constexpr unsigned kMostGroups = 99;
  // Most steps once counted repetitions are expanded (a{1000} alone is
  // 1,000): bounds the time per character and the memory of a match.
  static constexpr std::size_t kMostSteps = 10000;
  // Deepest nesting of repetitions whose body can match nothing, as (a*)*:
  // each level is one more position every path carries.
  static constexpr int kMostNesting = 100;

  // An empty `problem` when the expression can be used, else why not.
  static Pattern Compile(std::wstring_view expression, std::string& problem);

  bool Valid() const { return program_ != nullptr; }
  unsigned Groups() const;
  // Whether all of `text` matches; `groups` gets the match and each group
  // (Groups() + 1 spans) when it does.
  Outcome Match(std::wstring_view text, std::vector<Span>& groups) const;

 private:
  std::shared_ptr<const Program> program_;
};

}  // namespace pattern
