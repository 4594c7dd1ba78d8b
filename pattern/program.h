#pragma once
// Inside the matcher: the parsed expression (a tree kept in one vector, so
// that nothing walks it by recursion) and the program the matcher runs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pattern {

// A set of UTF-16 code units: sorted, disjoint, inclusive ranges.
struct CharSet {
  std::vector<std::pair<char16_t, char16_t>> ranges;
  bool Has(char16_t c) const;
};

// Adds the ranges of \d, \w, \s or their complements \D, \W, \S (as
// JavaScript defines them) to `ranges`.
void AddClassEscape(std::vector<std::pair<char16_t, char16_t>>& ranges, wchar_t letter);
// `ranges` sorted and merged, complemented when `negated`.
CharSet MakeSet(std::vector<std::pair<char16_t, char16_t>> ranges, bool negated);
inline bool IsWordChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

struct Node {
  enum class Kind { Empty, Char, Set, Any, Begin, End, WordBoundary, NotWordBoundary, Concat, Alt, Group, Repeat };
  Kind kind = Kind::Empty;
  char16_t c = 0;      // Char
  int set = -1;        // Set: index into Tree::sets
  int group = -1;      // Group: its number (1-based); -1: non-capturing
  unsigned min = 0, max = 0;  // Repeat; max kInfinite: no upper bound
  bool greedy = true;
  bool nullable = false;            // can match the empty text
  int firstGroup = 0, endGroup = 0;  // the groups inside: [first, end)
  std::vector<int> kids;
};
constexpr unsigned kInfinite = 0xFFFFFFFFu;

struct Tree {
  std::vector<Node> nodes;
  std::vector<CharSet> sets;
  int root = -1;
  unsigned groups = 0;
};

// An empty text when `expression` parses into `tree`, else why not.
std::string Parse(std::wstring_view expression, Tree& tree);

struct Inst {
  enum class Op : std::uint8_t {
    Char,       // x: the code unit
    Set,        // x: index into sets
    Any,
    Split,      // try x first, then y
    Jump,       // x
    Save,       // slot x = position
    Clear,      // slots [x, y) = unset (a repeated group's captures, each iteration)
    LoopStart,  // slot x = position: where this iteration began
    LoopCheck,  // fail when slot x is the position: an empty iteration beyond the minimum
    Begin, End, WordBoundary, NotWordBoundary,
    Match,
  };
  Op op;
  int x = 0, y = 0;
  bool Consumes() const { return op == Op::Char || op == Op::Set || op == Op::Any; }
};

struct Program {
  std::vector<Inst> code;
  std::vector<CharSet> sets;
  unsigned groups = 0;
  std::size_t slots = 0;  // 2 per group and the match, then one per nesting level of checked loops
  // Where a thread waiting at an instruction that consumes (or at Match)
  // keeps its slots in a thread list; -1 for the others.
  std::vector<int> row;
  std::size_t rows = 0;
  // How many checked loops enclose each instruction (up to `loops`): a path's
  // future depends on its instruction and on which of them it entered at
  // this position, so that is what the matcher keeps one path for.
  std::vector<int> depth;
  int loops = 0;
};

// An empty text when `tree` fits in `program`, else why not.
std::string Emit(const Tree& tree, Program& program);

}  // namespace pattern
