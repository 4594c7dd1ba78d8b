#pragma once
// The way from received bytes to keys: key mode presses one key per byte;
// text mode types the characters the bytes stand for, cut into records and
// shaped by the data rules when there are any.
#include <functional>
#include <string>
#include <vector>

#include "app/data_rules.h"
#include "app/record_keys.h"
#include "app/text_keys.h"

class ReceivedKeys {
 public:
  // "Type as text", used from the next batch on.
  bool TypeAsText() const { return text_; }
  void TypeAsText(bool on);
  // The rules in use from now on.
  void Rules(RuleSet rules);
  bool HasRules() const { return records_.HasRules(); }
  // Text mode's records, also without rules, each shown to `check` first
  // (false drops it); an empty check stops both.
  void OnRecord(std::function<bool(const std::string&)> check) {
    records_.RecordsAlways(static_cast<bool>(check));
    records_.OnRecord(std::move(check));
  }

  // The keys for one batch (every batch goes through, typed or not, so that
  // state such as a CR whose LF comes next is kept).
  std::vector<TextKey> Translate(const std::string& bytes);
  // Text mode's record has begun and waits for its end.
  bool RecordOpen() const { return text_ && records_.RecordOpen(); }
  // The device was silent for the record gap: the open record's keys.
  std::vector<TextKey> EndOfGap();
  // A new start of the port: nothing of what came before is kept open.
  void Restart();

 private:
  bool text_ = false;
  TextKeys plain_;
  RecordKeys records_;
};
