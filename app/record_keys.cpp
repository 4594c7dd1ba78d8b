#include "app/record_keys.h"

#include <windows.h>

void RecordKeys::Rules(RuleSet rules) {
  rules_ = std::move(rules);
  Reset();
}

void RecordKeys::Reset() {
  cutter_.Reset();
  asItCame_.Reset();
}

std::vector<TextKey> RecordKeys::Translate(const std::string& bytes, TextKeys& plain) {
  if (rules_.Empty() && !always_) return plain.Translate(bytes);
  return Keys(cutter_.Cut(bytes));
}

std::vector<TextKey> RecordKeys::EndOfGap() { return Keys(cutter_.EndOfGap()); }

std::vector<TextKey> RecordKeys::Keys(const std::vector<RecordPiece>& pieces) {
  std::vector<TextKey> keys;
  for (const RecordPiece& piece : pieces) {
    std::vector<TextKey> pieceKeys;
    if (piece.kind == RecordPiece::Kind::Record) {
      if (onRecord_ && !onRecord_(piece.bytes)) continue;
      RuleOutcome outcome = rules_.Apply(RecordText(piece.bytes));
      if (outcome.rule >= 0) {
        pieceKeys = std::move(outcome.keys);
      } else {
        pieceKeys = asItCame_.Translate(piece.bytes + piece.lineEnd);
      }
    } else {
      pieceKeys = asItCame_.Translate(piece.bytes);
    }
    keys.insert(keys.end(), pieceKeys.begin(), pieceKeys.end());
  }
  return keys;
}

std::wstring RecordText(const std::string& bytes) {
  std::wstring text;
  TextKeys translator;
  for (const TextKey& key : translator.Translate(bytes)) {
    if (key.kind == TextKey::Kind::Character) {
      text += static_cast<wchar_t>(key.code);
    } else if (key.code == VK_TAB) {
      text += L'\t';
    } else if (key.code == VK_BACK) {
      text += L'\b';
    } else if (key.code == VK_ESCAPE) {
      text += L'\x1B';
    }
  }
  return text;
}

std::string TryRecord(const std::vector<DataRule>& rules, const std::string& sample) {
  std::vector<RuleProblem> problems;
  const RuleSet set = RuleSet::Build(rules, &problems);
  if (!problems.empty()) {
    return "Rule " + std::to_string(problems.front().rule + 1) + " cannot be used: " + problems.front().what;
  }
  const std::wstring record = RecordText(sample);
  if (record.size() > RecordCutter::kLongestRecord) {
    return "Longer than " + std::to_string(RecordCutter::kLongestRecord) + " characters: typed as it came.";
  }
  const RuleOutcome outcome = set.Apply(record);
  if (outcome.rule < 0) return "No rule matches: typed as it came, with its line end.";
  const std::string rule = "Rule " + std::to_string(outcome.rule + 1);
  if (outcome.keys.empty()) return "Dropped by " + rule + ".";
  return rule + " types: " + KeysShown(outcome.keys);
}
