// Data rules: the template language, the order of rules, the record cut and
// the stored rules (the code page here is 1252).
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/record_keys.h"
#include "app/rules_store.h"
#include "registry/tv_registry.h"

namespace {

constexpr const char* kNone = "<no rule>";
constexpr const char* kDropped = "<dropped>";

std::string Outcome(const RuleSet& rules, const std::string& record) {
  const RuleOutcome outcome = rules.Apply(RecordText(record));
  if (outcome.rule < 0) return kNone;
  return outcome.keys.empty() ? kDropped : KeysShown(outcome.keys);
}

TEST(DataRules, TemplatesTypeGroupsKeysAndEscapesOrDropTheRecord) {
  struct Case {
    const char* match;
    const char* type;
    std::string record;
    std::string typed;
  };
  const Case cases[] = {
      {R"(ST,GS,\+\s*0*(\d+\.\d+)kg)", "$1{TAB}", "ST,GS,+  0012.34kg", "12.34{TAB}"},
      {R"(\d{13})", "PRE-$0{ENTER}", "4006381333931", "PRE-4006381333931{ENTER}"},
      {"(\\w+),(\\w+)", "$2 $1/$0", "ab,cd", "cd ab/ab,cd"},
      {".*", "{{x} $$5{esc}{F12}{f1}{PgUp}{DOWN}", "q", "{{x} $5{ESC}{F12}{F1}{PGUP}{DOWN}"},
      {"(a)|(b)", "[$2]", "a", "[]"},
      {"(.*)", "$1", "a\tb\x1B", "a{TAB}b{ESC}"},
      {"\xE9(.)", "$1\xB5", "\xE9\xFC", "\xFC\xB5"},
      {"abc", "x", "abcd", kNone},
      {".*", "", "anything", kDropped},
  };
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  for (const Case& c : cases) {
    std::vector<RuleProblem> problems;
    const RuleSet rules = RuleSet::Build({{c.match, c.type}}, &problems);
    EXPECT_TRUE(problems.empty()) << c.match << " / " << c.type;
    EXPECT_EQ(Outcome(rules, c.record), c.typed) << c.match << " / " << c.type;
  }
}

TEST(DataRules, TheFirstMatchingRuleDecidesAndUnusableRulesAreLeftOut) {
  std::vector<RuleProblem> problems;
  const RuleSet rules =
      RuleSet::Build({{"(", "never"}, {"(\\d+)", "n$1"}, {"\\d+", "late"}, {"x", "{NOPE}"}, {".*", ""}}, &problems);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].rule, 0u);
  EXPECT_TRUE(problems[0].inMatch);
  EXPECT_EQ(problems[1].rule, 3u);
  EXPECT_FALSE(problems[1].inMatch);
  EXPECT_EQ(Outcome(rules, "12"), "n12");
  EXPECT_EQ(rules.Apply(L"12").rule, 1) << "positions count the left-out rules";
  EXPECT_EQ(Outcome(rules, "x"), kDropped);
}

TEST(DataRules, BadExpressionsAndTemplatesAreRefusedWithTheirReason) {
  struct Case {
    const char* match;
    const char* type;
    bool inMatch;
    const char* saying;
  };
  const Case bad[] = {
      {"(", "x", true, ""},           {"[a-", "x", true, ""},          {"a", "{NOPE}", false, "{NOPE}"},
      {"a", "{F13}", false, "{F13}"}, {"a", "{F01}", false, "{F01}"},  {"(a)", "$2", false, "$2"},
      {"a", "$x", false, "$"},        {"a", "{TAB", false, "{{"},      {"(a)\\1", "x", true, "\\1"},
  };
  for (const Case& c : bad) {
    const auto problem = CheckRule({c.match, c.type}, 4);
    ASSERT_TRUE(problem.has_value()) << c.match << " / " << c.type;
    EXPECT_EQ(problem->rule, 4u);
    EXPECT_EQ(problem->inMatch, c.inMatch) << c.match << " / " << c.type;
    EXPECT_FALSE(problem->what.empty());
    EXPECT_NE(problem->what.find(c.saying), std::string::npos) << problem->what;
  }
  for (const char* good : {"{F10}{Home}{End}{INSERT}{DELETE}{BACKSPACE}{pgdn}", "$$$0{{", ""}) {
    EXPECT_FALSE(CheckRule({"(x)\\\\1[\\d]", good}, 0).has_value()) << good;
  }
}

// What each batch gives: the pieces of the records it ends; "|" marks the
// gap's end of the open record.
TEST(RecordCut, LineEndsAcrossBatchesTheGapAndOverlongRecords) {
  using Kind = RecordPiece::Kind;
  const std::string longRecord(RecordCutter::kLongestRecord + 1, 'x');
  struct Case {
    std::vector<std::string> batches;
    std::vector<RecordPiece> pieces;
  };
  const Case cases[] = {
      {{"ab\r\ncd\n"}, {{Kind::Record, "ab", "\r"}, {Kind::Record, "cd", "\n"}}},
      {{"ab\r", "\ncd\r", "\n"}, {{Kind::Record, "ab", "\r"}, {Kind::Record, "cd", "\r"}}},
      {{"\n\r\r"}, {{Kind::Record, "", "\n"}, {Kind::Record, "", "\r"}, {Kind::Record, "", "\r"}}},
      {{"12", "34", "|", "|", "5\r"}, {{Kind::Record, "1234", ""}, {Kind::Record, "5", "\r"}}},
      {{longRecord, "yy\rz", "|"},
       {{Kind::AsItCame, longRecord, ""}, {Kind::AsItCame, "yy\r", ""}, {Kind::Record, "z", ""}}},
      {{longRecord + "y", "|", "ab\n"}, {{Kind::AsItCame, longRecord + "y", ""}, {Kind::Record, "ab", "\n"}}},
  };
  for (const Case& c : cases) {
    RecordCutter cutter;
    std::vector<RecordPiece> pieces;
    for (const std::string& batch : c.batches) {
      const auto more = batch == "|" ? cutter.EndOfGap() : cutter.Cut(batch);
      pieces.insert(pieces.end(), more.begin(), more.end());
    }
    EXPECT_EQ(pieces, c.pieces) << c.batches.front().substr(0, 20);
    EXPECT_FALSE(cutter.Open() && c.batches.back() == "|");
  }
}

TEST(RecordCut, WithoutRulesEveryBatchIsTypedAtOnceExactlyAsThePlainTranslation) {
  const std::vector<std::string> batches = {"12", "3\r", "\nab\x1B", "\xE9\t"};
  RecordKeys records;
  TextKeys plain, reference;
  for (const std::string& batch : batches) {
    EXPECT_EQ(records.Translate(batch, plain), reference.Translate(batch)) << batch;
    EXPECT_FALSE(records.RecordOpen());
  }
}

TEST(RecordCut, UnmatchedRecordsComeWithTheirLineEndAndLongOnesAsTheyCame) {
  RecordKeys records;
  records.Rules(RuleSet::Build({{"(\\d+)", "<$1>"}}, nullptr));
  TextKeys plain;
  EXPECT_EQ(KeysShown(records.Translate("12\r\nab\r\n4", plain)), "<12>ab{ENTER}");
  EXPECT_TRUE(records.RecordOpen());
  EXPECT_EQ(KeysShown(records.EndOfGap()), "<4>");
  const std::string digits(10000, '7');
  EXPECT_EQ(KeysShown(records.Translate(digits, plain)), digits) << "over the limit: no rule, at once";
  EXPECT_EQ(KeysShown(records.Translate("8\r9\r", plain)), "8{ENTER}<9>");
}

// A record at the limit must neither exhaust the stack of either build nor
// take exponential time.
TEST(RecordCut, ExpressionsSurviveARecordAtTheLimit) {
  const std::wstring record(RecordCutter::kLongestRecord, L'a');
  for (const char* match : {"((((a|b)))|c)*", "(.)*", "(a*)*b?", "(?:a+)+"}) {
    const RuleSet rules = RuleSet::Build({{match, "ok"}}, nullptr);
    EXPECT_EQ(rules.Apply(record).rule, 0) << match;
  }
}

class StoredRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplicationNameSet("TV-SERKEY");
    if (SharedRegistry() == nullptr) SharedRegistryCreate();
    TVRegDeleteKey(kRulesKey);
  }
  void TearDown() override { TVRegDeleteKey(kRulesKey); }
  static void Write(const std::string& name, const char* match, const char* type) {
    if (match) TVRegWriteString(std::string(kRulesKey) + "\\" + name, "Match", match);
    if (type) TVRegWriteString(std::string(kRulesKey) + "\\" + name, "Type", type);
  }
};

TEST_F(StoredRulesTest, NumberedInOrderAndTheUnusableOnesNamedForTheBalloon) {
  Write("10", "ten", "10");
  Write("2", "(", "x");
  Write("1", "one", "1");
  Write("3", "a", nullptr);
  Write("4", "b", "{NOPE}");
  Write("notes", "n", "n");
  const StoredRules stored = LoadRules();
  ASSERT_EQ(stored.rules.size(), 5u);
  EXPECT_EQ(stored.rules.front().match, "one");
  EXPECT_EQ(stored.rules.back().match, "ten");
  EXPECT_EQ(stored.problems.size(), 3u);
  const std::string text = SkippedRulesText(stored);
  EXPECT_EQ(text.find("Rule 2 skipped: "), 0u) << text;
  EXPECT_NE(text.find("Rule 3 skipped: it has no \"Type\""), std::string::npos) << text;
  EXPECT_NE(text.find("Rule 4 skipped: unknown key name {NOPE}"), std::string::npos) << text;
  EXPECT_EQ(text.find("Rule 10"), std::string::npos) << text;

  ASSERT_TRUE(SaveRules({{"a", ""}, {"b", "$$"}}));
  const StoredRules saved = LoadRules();
  EXPECT_EQ(saved.rules, (std::vector<DataRule>{{"a", ""}, {"b", "$$"}}));
  EXPECT_EQ(saved.names, (std::vector<std::string>{"1", "2"})) << "the old rules are gone";
}

}  // namespace
