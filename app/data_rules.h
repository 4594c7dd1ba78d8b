#pragma once
// Data rules: an expression a whole record must match, and a template of
// what to type for it. "$0"-"$9" are the match and its groups, "{TAB}" and
// the other key names in braces are keys, "{{" and "$$" a brace and a dollar.
// An empty template drops the record.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text_keys.h"

// A rule as the user writes it (code-page text).
struct DataRule {
  std::string match;
  std::string type;
  bool operator==(const DataRule&) const = default;
};

// Why a rule cannot be used.
struct RuleProblem {
  std::size_t rule;  // zero-based position in the list
  bool inMatch;      // the expression is at fault, else the template
  std::string what;
};

// What a record turns into under a rule set.
struct RuleOutcome {
  int rule = -1;              // zero-based position of the deciding rule; -1: none matched
  std::vector<TextKey> keys;  // what that rule types; empty: the record is dropped
};

class RuleSet {
 public:
  // Rules that cannot be used are left out, each reported in `problems` (may be null).
  static RuleSet Build(const std::vector<DataRule>& rules, std::vector<RuleProblem>* problems);
  bool Empty() const { return rules_.empty(); }
  // The first rule whose expression matches the whole record decides.
  RuleOutcome Apply(const std::wstring& record) const;

 private:
  struct Compiled;
  // Shared: a copied set copies no compiled expression.
  std::vector<std::shared_ptr<const Compiled>> rules_;
};

// The problem of the rule at `position`, none when it can be used.
std::optional<RuleProblem> CheckRule(const DataRule& rule, std::size_t position);

// The virtual key of a name in braces ("TAB", any case); 0 when unknown.
WORD KeyByName(std::string_view name);
// Keys as the user reads them: characters as themselves ("{" as "{{"),
// keys by their names in braces.
std::string KeysShown(const std::vector<TextKey>& keys);
// Characters typed as text mode types them: TAB, BS and ESC as their keys,
// CR, LF and CR LF as one Enter, other control characters not at all.
void AppendCharacters(std::vector<TextKey>& keys, std::wstring_view text);
// Code-page text to UTF-16 and back.
std::wstring Widen(const std::string& text);
std::string Narrow(std::wstring_view text);
