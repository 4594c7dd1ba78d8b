#pragma once
// The keys text mode types for received bytes. With no data rules, exactly
// the plain translation, nothing waiting; with rules, the stream is cut into
// records and each ended record is typed as the first matching rule says,
// or as it came when none matches.
#include <functional>
#include <string>
#include <vector>

#include "app/data_rules.h"
#include "app/record_cutter.h"
#include "app/text_keys.h"

class RecordKeys {
 public:
  // Takes the rules in use from now on; an open record is forgotten.
  void Rules(RuleSet rules);
  bool HasRules() const { return !rules_.Empty(); }
  // Records are cut also without rules (each is typed as it came), for
  // what looks at each record.
  void RecordsAlways(bool on) { always_ = on; }
  // Each whole record (its bytes, without the line end) is shown to `check`
  // before it is typed; false drops it.
  void OnRecord(std::function<bool(const std::string&)> check) { onRecord_ = std::move(check); }

  // The keys for one batch of received bytes. `plain` keeps the state of
  // the plain translation between batches.
  std::vector<TextKey> Translate(const std::string& bytes, TextKeys& plain);
  // A record has begun and waits for its end.
  bool RecordOpen() const { return cutter_.Open(); }
  // The device was silent for the record gap: the keys of the open record.
  std::vector<TextKey> EndOfGap();
  void Reset();

 private:
  std::vector<TextKey> Keys(const std::vector<RecordPiece>& pieces);

  RuleSet rules_;
  bool always_ = false;
  std::function<bool(const std::string&)> onRecord_;
  RecordCutter cutter_;
  TextKeys asItCame_;
};

// A record's bytes as the characters text mode makes of them.
std::wstring RecordText(const std::string& bytes);

// What the dialog's Try field shows for `sample` under `rules`.
std::string TryRecord(const std::vector<DataRule>& rules, const std::string& sample);
