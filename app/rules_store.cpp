#include "app/rules_store.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "registry/tv_registry.h"

namespace {
// Subkey names that are rule numbers, in numeric order ("10" after "9").
std::vector<std::pair<unsigned long, std::string>> RuleKeys() {
  std::vector<std::pair<unsigned long, std::string>> keys;
  for (const std::string& name : TVRegGetAllSubKey(kRulesKey)) {
    if (name.empty() || name.size() > 9 || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
    keys.emplace_back(std::stoul(name), name);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}
}  // namespace

StoredRules LoadRules() {
  StoredRules stored;
  for (const auto& [number, name] : RuleKeys()) {
    const std::string subkey = std::string(kRulesKey) + "\\" + name;
    DataRule rule;
    rule.match = TVRegGetString(subkey, "Match");
    const bool hasMatch = TVRegSuccess();
    rule.type = TVRegGetString(subkey, "Type");
    const bool hasType = TVRegSuccess();
    const std::size_t position = stored.rules.size();
    stored.rules.push_back(rule);
    stored.names.push_back(name);
    if (!hasMatch || !hasType) {
      // A missing "Type" must not pass for an empty one, which drops records.
      stored.problems.push_back({position, !hasMatch, hasMatch ? "it has no \"Type\" text." : "it has no \"Match\" text."});
    } else if (auto problem = CheckRule(rule, position)) {
      stored.problems.push_back(*problem);
    }
  }
  return stored;
}

bool SaveRules(const std::vector<DataRule>& rules) {
  const std::int32_t removed = TVRegDeleteKey(kRulesKey);
  if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) return false;
  for (std::size_t i = 0; i < rules.size(); ++i) {
    const std::string subkey = std::string(kRulesKey) + "\\" + std::to_string(i + 1);
    if (TVRegWriteString(subkey, "Match", rules[i].match) != ERROR_SUCCESS) return false;
    if (TVRegWriteString(subkey, "Type", rules[i].type) != ERROR_SUCCESS) return false;
  }
  return true;
}

std::string SkippedRulesText(const StoredRules& stored) {
  std::string text;
  for (const RuleProblem& problem : stored.problems) {
    if (!text.empty()) text += "\r\n";
    text += "Rule " + stored.names[problem.rule] + " skipped: " + problem.what;
  }
  return text;
}
