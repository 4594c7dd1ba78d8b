// The pause between keys as it reaches another program's window: the gaps
// between key arrivals against the chosen pause, for 10 and 50 ms. Prints
// table rows (see bench_support.h); asserts nothing.
//
//   key_pause_benchmark.exe [keys per pause = 100]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/harness/e2e_support.h"
#include "tests/programs/bench_support.h"

namespace {

void WriteKeyPause(DWORD ms) {
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", "KeyPauseMs", REG_DWORD, &ms, sizeof ms);
}

// The keys come from the device in one burst, so all but the first wait in
// the backlog: every gap is the program's pacing.
bool MeasureGaps(e2e::Device& device, int pauseMs, int keys, std::vector<double>& gaps) {
  WriteKeyPause(static_cast<DWORD>(pauseMs));
  bench::KeyLog log(true);
  e2e::Program program;
  if (!log.Ready() || !program.Start("/START") || !program.WaitUntilRunning() || !log.Focus()) return false;
  const std::string stream = bench::Stream(keys);
  const bool complete = device.Send(stream) &&
                        log.WaitFor(static_cast<size_t>(keys), static_cast<DWORD>(keys) * (pauseMs + 200u), 5) &&
                        log.Typed(0) == stream;
  program.CloseAndWait();
  if (!complete) {
    std::printf("  pause %d ms: %zu of %d keys arrived: \"%s\"\n", pauseMs, log.Arrivals().size(), keys,
                log.Typed(0).c_str());
    return false;
  }
  const auto& arrivals = log.Arrivals();
  for (size_t i = 1; i < arrivals.size(); ++i) gaps.push_back(bench::Ms(arrivals[i].counter - arrivals[i - 1].counter));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int keys = argc > 1 ? std::atoi(argv[1]) : 100;
  e2e::settings::Remove();
  e2e::settings::Write(e2e::kProgramPort, 9600, 8, 0, 0);
  e2e::Device device;
  if (!device.Opened()) return bench::SetUpFailed("the device end of the null-modem");
  for (const int pauseMs : {10, 50}) {
    std::vector<double> gaps;
    if (!MeasureGaps(device, pauseMs, keys, gaps)) {
      WriteKeyPause(0);
      return bench::SetUpFailed("keys with a pause");
    }
    // Sorted here, as bench::Percentile would (its copy trips a false GCC 12 warning).
    std::sort(gaps.begin(), gaps.end());
    const double median = gaps[gaps.size() / 2];
    const double p99 = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
    std::printf("  pause %d ms: %d keys, gaps median %.2f ms, p99 %.2f ms, min %.2f ms\n", pauseMs, keys, median, p99,
                gaps.front());
    char measured[64];
    std::snprintf(measured, sizeof measured, "%.2f / %.2f ms", median, p99);
    bench::Row("pause between keys " + std::to_string(pauseMs) + " ms, " + std::to_string(keys) +
                   " keys: gap between arrivals, median / p99",
               measured, std::to_string(pauseMs) + " ms chosen", bench::Ratio(median, pauseMs));
  }
  WriteKeyPause(0);
  return 0;
}
