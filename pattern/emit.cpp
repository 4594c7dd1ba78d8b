// The tree into the matcher's program. Counted repetitions are copies of
// their body, so the program's size is what the limit counts; the tree is
// walked with an explicit list of tasks, not by recursion.
#include <string>

#include "pattern/pattern.h"
#include "pattern/program.h"

namespace pattern {
namespace {

class Emitter {
 public:
  Emitter(const Tree& tree, Program& program)
      : tree_(tree), program_(program), base_(2 * (static_cast<int>(tree.groups) + 1)) {}
  std::string Run();

 private:
  enum class Op { Node, Save, AltBranch, AltAfter, RepeatMin, LoopEnd, RepeatOpt, OptEnd };
  struct Task {
    Op op;
    int node;
    unsigned count = 0;  // copies still to emit; AltBranch/AltAfter: the branch
    int depth = 0;       // checked loops around it
    int at = 0;          // a pending list, a split's position or the size when a copy began
  };

  int Pc() const { return static_cast<int>(program_.code.size()); }
  void Put(Inst::Op op, int x = 0, int y = 0) {
    program_.code.push_back({op, x, y});
    program_.depth.push_back(op == Inst::Op::LoopCheck ? depth_here_ + 1 : depth_here_);
  }
  // A repetition's choice between one more iteration and going on.
  void PutChoice(const Node& node) {
    Put(Inst::Op::Split, node.greedy ? Pc() + 1 : -1, node.greedy ? -1 : Pc() + 1);
  }
  void SetExit(int split, bool greedy) {
    (greedy ? program_.code[split].y : program_.code[split].x) = Pc();
  }
  // The start of an iteration: its groups' captures are forgotten and, when
  // the body can match nothing, where it began is noted for the check.
  void BeginIteration(const Node& node, int depth, bool checked) {
    if (node.endGroup > node.firstGroup) {
      Put(Inst::Op::Clear, 2 * node.firstGroup, 2 * node.endGroup);
      extra_ += static_cast<std::size_t>(node.endGroup - node.firstGroup);
    }
    if (checked) {
      Put(Inst::Op::LoopStart, base_ + depth);
      if (depth + 1 > depth_) depth_ = depth + 1;
    }
  }
  bool Checked(const Node& node) const { return tree_.nodes[node.kids.front()].nullable; }
  void Step(const Task& task);

  const Tree& tree_;
  Program& program_;
  const int base_;
  int depth_ = 0;
  int depth_here_ = 0;  // the depth of the task being emitted
  std::size_t extra_ = 0;  // cost not in the program's length
  std::vector<Task> tasks_;
  std::vector<std::vector<int>> pending_;
};

void Emitter::Step(const Task& task) {
  const Node& node = tree_.nodes[task.node];
  depth_here_ = task.depth;
  switch (task.op) {
    case Op::Save:
      Put(Inst::Op::Save, task.at);
      return;
    case Op::AltBranch: {
      const bool last = task.count + 1 == node.kids.size();
      if (!last) {
        pending_[task.at].push_back(Pc());
        Put(Inst::Op::Split, Pc() + 1, -1);
      }
      tasks_.push_back({Op::AltAfter, task.node, task.count, task.depth, task.at});
      tasks_.push_back({Op::Node, node.kids[task.count], 0, task.depth, 0});
      return;
    }
    case Op::AltAfter: {
      std::vector<int>& list = pending_[task.at];
      if (task.count + 1 == node.kids.size()) {
        for (const int jump : list) program_.code[jump].x = Pc();
        return;
      }
      const int split = list.back();
      list.back() = Pc();
      Put(Inst::Op::Jump, -1);
      program_.code[split].y = Pc();
      tasks_.push_back({Op::AltBranch, task.node, task.count + 1, task.depth, task.at});
      return;
    }
    case Op::RepeatMin:
      if (task.count > 0) {
        if (Pc() == task.at) ++extra_;  // copies of a body that is nothing still count
        BeginIteration(node, task.depth, false);
        tasks_.push_back({Op::RepeatMin, task.node, task.count - 1, task.depth, Pc()});
        tasks_.push_back({Op::Node, node.kids.front(), 0, task.depth, 0});
      } else if (node.max == kInfinite) {
        const int choice = Pc();
        PutChoice(node);
        BeginIteration(node, task.depth, Checked(node));
        tasks_.push_back({Op::LoopEnd, task.node, 0, task.depth, choice});
        tasks_.push_back({Op::Node, node.kids.front(), 0, task.depth + (Checked(node) ? 1 : 0), 0});
      } else {
        pending_.emplace_back();
        tasks_.push_back({Op::RepeatOpt, task.node, node.max - node.min, task.depth,
                          static_cast<int>(pending_.size() - 1)});
      }
      return;
    case Op::LoopEnd:
      if (Checked(node)) Put(Inst::Op::LoopCheck, base_ + task.depth);
      Put(Inst::Op::Jump, task.at);
      SetExit(task.at, node.greedy);
      return;
    case Op::RepeatOpt:
      if (task.count == 0) {
        for (const int split : pending_[task.at]) SetExit(split, node.greedy);
        return;
      }
      pending_[task.at].push_back(Pc());
      PutChoice(node);
      BeginIteration(node, task.depth, Checked(node));
      tasks_.push_back({Op::OptEnd, task.node, task.count, task.depth, task.at});
      tasks_.push_back({Op::Node, node.kids.front(), 0, task.depth + (Checked(node) ? 1 : 0), 0});
      return;
    case Op::OptEnd:
      if (Checked(node)) Put(Inst::Op::LoopCheck, base_ + task.depth);
      tasks_.push_back({Op::RepeatOpt, task.node, task.count - 1, task.depth, task.at});
      return;
    case Op::Node:
      break;
  }
  switch (node.kind) {
    case Node::Kind::Empty: break;
    case Node::Kind::Char: Put(Inst::Op::Char, node.c); break;
    case Node::Kind::Set: Put(Inst::Op::Set, node.set); break;
    case Node::Kind::Any: Put(Inst::Op::Any); break;
    case Node::Kind::Begin: Put(Inst::Op::Begin); break;
    case Node::Kind::End: Put(Inst::Op::End); break;
    case Node::Kind::WordBoundary: Put(Inst::Op::WordBoundary); break;
    case Node::Kind::NotWordBoundary: Put(Inst::Op::NotWordBoundary); break;
    case Node::Kind::Concat:
      for (auto kid = node.kids.rbegin(); kid != node.kids.rend(); ++kid) {
        tasks_.push_back({Op::Node, *kid, 0, task.depth, 0});
      }
      break;
    case Node::Kind::Alt:
      pending_.emplace_back();
      tasks_.push_back({Op::AltBranch, task.node, 0, task.depth, static_cast<int>(pending_.size() - 1)});
      break;
    case Node::Kind::Group:
      Put(Inst::Op::Save, 2 * node.group);
      tasks_.push_back({Op::Save, task.node, 0, task.depth, 2 * node.group + 1});
      tasks_.push_back({Op::Node, node.kids.front(), 0, task.depth, 0});
      break;
    case Node::Kind::Repeat:
      tasks_.push_back({Op::RepeatMin, task.node, node.min, task.depth, -1});
      break;
  }
}

std::string Emitter::Run() {
  program_ = Program();
  program_.sets = tree_.sets;
  program_.groups = tree_.groups;
  Put(Inst::Op::Save, 0);
  tasks_.push_back({Op::Node, tree_.root, 0, 0, 0});
  while (!tasks_.empty()) {
    const Task task = tasks_.back();
    tasks_.pop_back();
    Step(task);
    if (program_.code.size() + extra_ > Pattern::kMostSteps) {
      program_ = Program();
      return "the expression is too large: more than " + std::to_string(Pattern::kMostSteps) +
             " steps once its counted repetitions are expanded (a{1000} alone is 1000)";
    }
  }
  depth_here_ = 0;
  Put(Inst::Op::Save, 1);
  Put(Inst::Op::End);
  Put(Inst::Op::Match);
  if (depth_ > Pattern::kMostNesting) {
    program_ = Program();
    return "repetitions of what can match nothing (such as (a*)*) are nested more than " +
           std::to_string(Pattern::kMostNesting) + " deep";
  }
  program_.slots = static_cast<std::size_t>(base_ + depth_);
  program_.loops = depth_;
  for (const Inst& inst : program_.code) {
    program_.row.push_back(inst.Consumes() || inst.op == Inst::Op::Match ? static_cast<int>(program_.rows++) : -1);
  }
  return {};
}

}  // namespace

std::string Emit(const Tree& tree, Program& program) { return Emitter(tree, program).Run(); }

}  // namespace pattern
