#pragma once
// The data rules in the registry: HKCU\Software\Talvik\<application>\Rules,
// one subkey per rule named "1", "2", ... in order, each with the REG_SZ
// values "Match" and "Type".
#include <string>
#include <vector>

#include "app/data_rules.h"

inline constexpr const char* kRulesKey = "Rules";

struct StoredRules {
  std::vector<DataRule> rules;  // every rule as stored, in order
  // Rules that cannot be used, by position in `rules`. A subkey without a
  // "Match" or "Type" value counts as one too.
  std::vector<RuleProblem> problems;
  std::vector<std::string> names;  // the subkey of each rule
};

StoredRules LoadRules();
// Replaces the stored rules with `rules`; false when the registry refused.
bool SaveRules(const std::vector<DataRule>& rules);
// One line per rule left out, named by its subkey, for the balloon
// ("Rule 2 skipped: ..."); empty when none was.
std::string SkippedRulesText(const StoredRules& stored);
