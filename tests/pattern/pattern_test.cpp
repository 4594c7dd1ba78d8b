// The data rules' matcher: JavaScript's answers (a table Node made, see
// make_js_table.js), what it refuses and why, expressions that take other
// matchers exponential time or deep recursion, and random rules.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>

#include "app/data_rules.h"
#include "pattern/pattern.h"

namespace {

using pattern::Outcome;
using pattern::Pattern;

const char* const kTable =
#include "tests/pattern/js_answers.inc"
    ;

std::wstring Unescape(const std::string& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && text[i + 1] == 'u') {
      out += static_cast<wchar_t>(std::stoi(text.substr(i + 2, 4), nullptr, 16));
      i += 5;
    } else {
      out += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
      if (text[i] == '\\') ++i;
    }
  }
  return out;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.push_back("");
  return fields;
}

// The matcher's answer written as the table writes JavaScript's.
std::string Answer(const std::wstring& expression, const std::wstring& record) {
  std::string problem;
  const Pattern compiled = Pattern::Compile(expression, problem);
  if (!problem.empty()) return "refused";
  std::vector<pattern::Span> groups;
  if (compiled.Match(record, groups) != Outcome::Match) return "no";
  std::string answer = "yes";
  for (const pattern::Span& group : groups) {
    answer += group.taken ? "\t=" : "\t-";
    for (const wchar_t c : record.substr(group.start, group.taken ? group.length : 0)) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
      answer += c == L'\\' ? std::string("\\\\") : c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : code;
    }
  }
  return answer;
}

TEST(Pattern, GivesJavaScriptsAnswers) {
  std::stringstream table(kTable);
  std::size_t cases = 0, differ = 0;
  for (std::string line; std::getline(table, line);) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() < 3) continue;
    std::string expected = fields[2];
    for (std::size_t i = 3; i < fields.size(); ++i) expected += "\t" + fields[i];
    const std::string got = Answer(Unescape(fields[0]), Unescape(fields[1]));
    ++cases;
    if (got != expected && ++differ <= 20) {
      ADD_FAILURE() << "/" << fields[0] << "/ on \"" << fields[1] << "\": JavaScript " << expected << ", here " << got;
    }
  }
  EXPECT_GT(cases, 8000u);
  EXPECT_EQ(differ, 0u);
}

std::string Problem(const std::wstring& expression) {
  std::string problem;
  Pattern::Compile(expression, problem);
  return problem;
}

std::wstring Repeated(const std::wstring& part, std::size_t times) {
  std::wstring text;
  for (std::size_t i = 0; i < times; ++i) text += part;
  return text;
}

TEST(Pattern, RefusesWhatItDoesNotSupportSayingWhat) {
  const struct {
    std::wstring expression;
    const char* saying;
  } cases[] = {
      {L"(a)\\1", "back-references"},         {L"\\k<x>", "named back-references"},
      {L"(?=a)a", "lookahead"},              {L"(?!a)b", "lookahead"},
      {L"(?<=a)b", "lookbehind"},            {L"(?<x>a)", "named groups"},
      {L"\\p{L}", "Unicode property"},       {L"\\01", "octal"},
      {L"[\\1]", "octal"},                   {L"\\q", "unknown escape \\q"},
      {L"\\x4g", "two hexadecimal"},         {L"\\u{41}", "four hexadecimal"},
      {L"\\c1", "\\c"},                      {L"(?i:a)", "\"(?\""},
      {L"a{2,1}", "out of order"},           {L"[b-a]", "out of order"},
      {L"a**", "nothing to repeat"},         {L"(a", "no \")\""},
      {L"a)", "closes no group"},            {L"[a", "no \"]\""},
      {L"(a{1000}){1000}", "10000 steps"},   {L"a{10001}", "10000 steps"},
      {L"(?:){20000}", "10000 steps"},       {L"a{2147483647}", "10000 steps"},
      {L"(?:(a)(b)(c)){3000}", "10000 steps"},
      {Repeated(L"(a)", 100), "more than 99 groups"},
      {Repeated(L"(?:", 101) + L"a*" + Repeated(L")*", 101), "nested more than 100 deep"},
  };
  for (const auto& c : cases) {
    const std::string problem = Problem(c.expression);
    EXPECT_NE(problem.find(c.saying), std::string::npos) << "\"" << problem << "\"";
  }
  EXPECT_EQ(Problem(L"a{9000}" + Repeated(L"(a)", 99)), "");
  EXPECT_EQ(Problem(Repeated(L"(?:", 100) + L"a*" + Repeated(L")*", 100)), "");
}

// Each matched or refused on a record at the rules' limit, within a
// generous guard against a hang.
TEST(Pattern, ExpressionsThatTakeBacktrackingExponentialTimeOrDeepRecursion) {
  const std::wstring as(1024, L'a');
  const struct {
    std::wstring expression;
    std::wstring record;
    const char* answer;
  } cases[] = {
      {L"(a+)+b", as, "no"},
      {L"(a|aa)+c", as, "no"},
      {L"(a|aa)+", as, "yes"},
      {L"(.*){12}x", as, "no"},
      {L"(.*){12}", as, "yes"},
      {L"(a*)*b", as, "no"},
      {L"((a|b)*)*c", as, "no"},
      {L"(?:a?){500}a{500}", std::wstring(500, L'a'), "yes"},
      {L"(x+x+)+y", std::wstring(1024, L'x'), "no"},
      {L"((((a|b)))|c)*", as, "yes"},
      {L"(a?){30000}", as, "refused"},
      {Repeated(L"(", 5000) + L"a" + Repeated(L")", 5000), L"a", "refused"},
      {Repeated(L"(?:", 5000) + L"a" + Repeated(L")", 5000), L"a", "yes"},
      {Repeated(L"(?:a|", 3000) + L"b" + Repeated(L")*", 3000), as, "refused"},
      {Repeated(L"(", 10000), L"", "refused"},
      {Repeated(L"[", 10000), L"", "refused"},
      {Repeated(L"a|", 3000) + L"(?:a|a)*", as, "yes"},
      {Repeated(L"(a)|", 98) + L"(?:(a)|a|a|a|a|a|a|a)*", as, "yes"},
  };
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = Answer(c.expression, c.record).substr(0, 3);
    EXPECT_EQ(answer, std::string(c.answer).substr(0, 3)) << std::string(c.expression.begin(), c.expression.begin() + 30);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << "hang guard";
  }
}

// Random expressions and templates through the rules: each gives a rule or
// a problem, never a crash, an exception or a hang.
TEST(Pattern, RandomRulesGiveARuleOrAProblem) {
  std::mt19937 random(27);
  const std::string syntax = "ab1.()[]{}|*+?^$\\-,:=!<>dDwWsSbBkpuxc0239";
  const std::string keys = "ab$01239{}TABENTERF12";
  auto text = [&](const std::string& from, std::size_t longest) {
    std::string out(random() % (longest + 1), ' ');
    for (char& c : out) c = from[random() % from.size()];
    return out;
  };
  std::size_t usable = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int n = 0; n < 5000; ++n) {
    const DataRule rule = {text(syntax, 24), text(keys, 8)};
    std::vector<RuleProblem> problems;
    const RuleSet rules = RuleSet::Build({rule}, &problems);
    ASSERT_EQ(rules.Empty(), problems.size() == 1) << rule.match << " / " << rule.type;
    if (rules.Empty()) {
      EXPECT_FALSE(problems.front().what.empty()) << rule.match;
      continue;
    }
    ++usable;
    for (int r = 0; r < 4; ++r) rules.Apply(Widen(text("ab1 -_", r == 3 ? 1024 : 12)));
  }
  EXPECT_GT(usable, 500u) << "the fuzz must reach the matcher";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(120)) << "hang guard";
}

}  // namespace
