// The match: every path through the program at once, one character at a
// time (a Pike machine). Each instruction holds at most one path per
// position, the one JavaScript's backtracking would try first, so the time
// is linear in the record and nothing recurses.
#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "pattern/pattern.h"
#include "pattern/program.h"

namespace pattern {
namespace {

class Matcher {
 public:
  Matcher(const Program& program, std::wstring_view text)
      : program_(program),
        text_(text),
        width_(program.slots),
        variants_(static_cast<std::size_t>(program.loops) + 1),
        seen_(program.code.size() * variants_, 0),
        listed_(program.rows, 0) {
    for (List* list : {&current_, &next_}) list->slots.assign(program.rows * width_, -1);
    work_.assign(width_, -1);
  }
  bool Run(std::vector<Span>& groups);

 private:
  struct List {
    std::vector<int> pcs;  // in order of priority
    std::vector<std::int32_t> slots;
  };
  struct Frame {
    int pc;  // -1: put `old` back into `slot`
    int fresh;  // the outermost checked loop whose iteration began at this position
    std::size_t slot;
    std::int32_t old;
  };

  bool Word(std::size_t at) const { return at < text_.size() && IsWordChar(text_[at]); }
  void Set(std::size_t slot, std::int32_t value) {
    stack_.push_back({-1, 0, slot, work_[slot]});
    work_[slot] = value;
  }
  // Follows every path from `pc` that consumes nothing at `pos`; each one
  // that waits for a character (or matches) joins `into`.
  void Follow(int pc, std::size_t pos, List& into);

  const Program& program_;
  std::wstring_view text_;
  const std::size_t width_;
  const std::size_t variants_;
  // The position + 1 an instruction was last reached at, for each depth of
  // the outermost loop entered there (the last one: none).
  std::vector<std::uint32_t> seen_;
  std::vector<std::uint32_t> listed_;  // the position + 1 a waiting instruction last joined a list at
  List current_, next_;
  std::vector<std::int32_t> work_;
  std::vector<Frame> stack_;
};

void Matcher::Follow(int start, std::size_t pos, List& into) {
  const auto mark = static_cast<std::uint32_t>(pos + 1);
  const auto here = static_cast<std::int32_t>(pos);
  stack_.push_back({start, program_.loops, 0, 0});
  while (!stack_.empty()) {
    const Frame frame = stack_.back();
    stack_.pop_back();
    if (frame.pc < 0) {
      work_[frame.slot] = frame.old;
      continue;
    }
    int fresh = frame.fresh;
    for (int pc = frame.pc;;) {
      fresh = std::min(fresh, program_.depth[pc]);
      std::uint32_t& seen = seen_[static_cast<std::size_t>(pc) * variants_ + static_cast<std::size_t>(fresh)];
      if (seen == mark) break;
      seen = mark;
      const Inst& inst = program_.code[pc];
      bool goesOn = true;
      switch (inst.op) {
        case Inst::Op::Char: case Inst::Op::Set: case Inst::Op::Any: case Inst::Op::Match: {
          // Once it consumes, where its loops began no longer matters: the
          // first path to wait here is the one kept.
          const auto row = static_cast<std::size_t>(program_.row[pc]);
          if (listed_[row] != mark) {
            listed_[row] = mark;
            into.pcs.push_back(pc);
            std::copy(work_.begin(), work_.end(), into.slots.begin() + static_cast<std::ptrdiff_t>(row * width_));
          }
          goesOn = false;
          break;
        }
        case Inst::Op::Jump: pc = inst.x; continue;
        case Inst::Op::Split:
          stack_.push_back({inst.y, fresh, 0, 0});
          pc = inst.x;
          continue;
        case Inst::Op::LoopStart:
          fresh = std::min(fresh, inst.x - static_cast<int>(width_) + program_.loops);
          [[fallthrough]];
        case Inst::Op::Save:
          Set(static_cast<std::size_t>(inst.x), here);
          break;
        case Inst::Op::Clear:
          for (int slot = inst.x; slot < inst.y; ++slot) {
            if (work_[slot] >= 0) Set(static_cast<std::size_t>(slot), -1);
          }
          break;
        // An iteration beyond the minimum that matched nothing fails, as in JavaScript.
        case Inst::Op::LoopCheck: goesOn = work_[inst.x] != here; break;
        case Inst::Op::Begin: goesOn = pos == 0; break;
        case Inst::Op::End: goesOn = pos == text_.size(); break;
        case Inst::Op::WordBoundary: goesOn = (pos > 0 && Word(pos - 1)) != Word(pos); break;
        case Inst::Op::NotWordBoundary: goesOn = (pos > 0 && Word(pos - 1)) == Word(pos); break;
      }
      if (!goesOn) break;
      ++pc;
    }
  }
}

bool Matcher::Run(std::vector<Span>& groups) {
  Follow(0, 0, current_);
  for (std::size_t pos = 0; pos < text_.size() && !current_.pcs.empty(); ++pos) {
    const char16_t c = static_cast<char16_t>(text_[pos]);
    next_.pcs.clear();
    for (const int pc : current_.pcs) {
      const Inst& inst = program_.code[pc];
      const bool takes = inst.op == Inst::Op::Any || (inst.op == Inst::Op::Char && c == inst.x) ||
                         (inst.op == Inst::Op::Set && program_.sets[inst.x].Has(c));
      if (!takes) continue;
      const auto row = current_.slots.begin() + static_cast<std::ptrdiff_t>(program_.row[pc] * width_);
      std::copy(row, row + static_cast<std::ptrdiff_t>(width_), work_.begin());
      Follow(pc + 1, pos + 1, next_);
    }
    std::swap(current_, next_);
  }
  for (const int pc : current_.pcs) {
    if (program_.code[pc].op != Inst::Op::Match) continue;
    const std::int32_t* slots = current_.slots.data() + program_.row[pc] * width_;
    groups.assign(program_.groups + 1, Span());
    for (std::size_t group = 0; group < groups.size(); ++group) {
      const std::int32_t start = slots[2 * group], end = slots[2 * group + 1];
      if (start >= 0 && end >= start) {
        groups[group] = {static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), true};
      }
    }
    return true;
  }
  return false;
}

}  // namespace

Pattern Pattern::Compile(std::wstring_view expression, std::string& problem) {
  Pattern pattern;
  try {
    Tree tree;
    problem = Parse(expression, tree);
    if (!problem.empty()) return pattern;
    auto program = std::make_shared<Program>();
    problem = Emit(tree, *program);
    if (problem.empty()) pattern.program_ = std::move(program);
  } catch (const std::bad_alloc&) {
    problem = "not enough memory for the expression";
  } catch (const std::length_error&) {
    problem = "not enough memory for the expression";
  }
  return pattern;
}

unsigned Pattern::Groups() const { return program_ ? program_->groups : 0; }

Outcome Pattern::Match(std::wstring_view text, std::vector<Span>& groups) const {
  if (!program_) return Outcome::NoMatch;
  // Positions are kept in 32 bits (records are far shorter).
  if (text.size() >= 0x7FFFFFFF) return Outcome::NoMemory;
  try {
    return Matcher(*program_, text).Run(groups) ? Outcome::Match : Outcome::NoMatch;
  } catch (const std::bad_alloc&) {
    return Outcome::NoMemory;
  } catch (const std::length_error&) {
    return Outcome::NoMemory;
  }
}

}  // namespace pattern
