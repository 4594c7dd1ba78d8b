// What data rules add per record, in process: a 30-character record through
// five rules (the last one matches, the others are tried first), beside
// typing the same record without rules (its plain translation, then the
// keys injected into a key-logging window). Prints a table row (see
// bench_support.h); asserts nothing about speed.
//
//   rules_benchmark.exe [records = 2000]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/record_keys.h"
#include "tests/programs/bench_support.h"

namespace {

using bench::Format;
using bench::Median;
using bench::Percentile;

const std::vector<DataRule> kRules = {
    {R"(ST,GS,\+\s*0*(\d+\.\d+)kg)", "$1{TAB}"},
    {"US,.*", ""},
    {R"((\d{13}))", "$1{ENTER}"},
    {R"(([A-Z]{2})-(\d+))", "$2{TAB}$1{ENTER}"},
    {"(.*)", "[$1]{ENTER}"},
};
const std::string kRecord = "ABCDEFGHIJ0123456789abcdefghij\r\n";

std::string Figures(const std::vector<double>& us) {
  return Format("%.1f", Median(us)) + " / " + Format("%.1f", Percentile(us, 0.99)) + " us";
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 2000;
  RecordKeys withRules;
  withRules.Rules(RuleSet::Build(kRules, nullptr));
  TextKeys plain;
  std::vector<double> rules, typing;
  size_t ruleKeys = 0;
  for (int i = 0; i < records; ++i) {
    const long long start = bench::Now();
    ruleKeys = withRules.Translate(kRecord, plain).size();
    rules.push_back(bench::Ms(bench::Now() - start) * 1000.0);
  }
  if (ruleKeys != 33) return bench::SetUpFailed("the last rule did not type the record");

  bench::KeyLog log(true);
  if (!log.Ready() || !log.Focus()) return bench::SetUpFailed("typing target");
  // Fewer: each record is 31 keys the target must take before the next.
  const int typed = records / 10 > 0 ? records / 10 : 1;
  for (int i = 0; i < typed; ++i) {
    const size_t before = log.Arrivals().size();
    const long long start = bench::Now();
    TypeText(plain.Translate(kRecord));
    typing.push_back(bench::Ms(bench::Now() - start) * 1000.0);
    if (!log.WaitFor(before + 31, 10000, 1)) return bench::SetUpFailed("the typed keys never arrived");
  }
  std::printf("%d records through 5 rules: %s (median / p99); %d typed without rules: %s\n", records,
              Figures(rules).c_str(), typed, Figures(typing).c_str());
  bench::Row("data rules, 30-character record, 5 rules: time they add per record, median / p99", Figures(rules),
             Figures(typing) + " typing it without rules", Format("%.4f", Median(rules) / Median(typing)));
  return 0;
}
