// Latency and throughput of the whole path: device write -> null-modem ->
// TV-SERKEY -> injected key -> the focused window of another process.
// Prints figures; it asserts nothing about speed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace {

double Frequency() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(f.QuadPart);
}

long long Now() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c.QuadPart;
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())));
  return values[index];
}

// Sends a continuous stream as fast as the port takes it; true when every
// byte arrived, in order.
bool Throughput(const e2e::TypingTarget& target, e2e::Device& device, int streamBytes, const char* what) {
  const size_t before = target.Keys().size();
  std::string stream;
  for (int i = 0; i < streamBytes; ++i) stream += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i % 36];
  const long long start = Now();
  for (size_t offset = 0; offset < stream.size(); offset += 512) device.Send(stream.substr(offset, 512));
  if (!target.WaitForKeys(before + stream.size(), 600000)) {
    std::printf("throughput (%s): incomplete, %zu of %zu keys\n", what, target.Keys().size() - before, stream.size());
    return false;
  }
  const auto arrivals = target.Arrivals();
  std::string typed;
  for (size_t i = before; i < arrivals.size(); ++i) typed += static_cast<char>(arrivals[i].vk);
  const double seconds = static_cast<double>(arrivals.back().counter - start) / Frequency();
  std::printf("throughput (%s): %d bytes in %.2f s = %.0f bytes/s, %s\n", what, streamBytes, seconds,
              streamBytes / seconds, typed == stream ? "all in order, none lost" : "MISMATCH (lost or reordered)");
  return typed == stream;
}

}  // namespace

int main(int argc, char** argv) {
  const int messages = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int streamBytes = argc > 2 ? std::atoi(argv[2]) : 5000;
  const double ms = Frequency() / 1000.0;

  e2e::settings::Remove();
  e2e::settings::Write(e2e::kProgramPort, 9600, 8, 0, 0);
  e2e::TypingTarget target;
  e2e::Device device;
  e2e::Program program;
  if (!target.Started() || !device.Opened() || !program.Start("/START") || !program.WaitUntilRunning()) {
    std::fprintf(stderr, "benchmark: set-up failed (target, device port or program)\n");
    return 1;
  }
  target.Focus();

  // Latency: one byte at a time, the next only after the previous arrived.
  std::vector<double> latencies;
  for (int i = 0; i < messages; ++i) {
    const char byte = static_cast<char>('0' + i % 10);
    const long long sent = Now();
    device.Send(std::string(1, byte));
    if (!target.WaitForKeys(static_cast<size_t>(i) + 1, 10000)) {
      HWND foreground = GetForegroundWindow();
      std::fprintf(stderr, "benchmark: byte %d never arrived (foreground: %s \"%s\", target %s; status \"%s\")\n", i,
                   ui::ClassName(foreground).c_str(), ui::WindowTextW(foreground).c_str(),
                   foreground == target.Frame() ? "in front" : "not in front",
                   program.ControlText(108).c_str());
      return 1;
    }
    latencies.push_back(static_cast<double>(target.Arrivals()[static_cast<size_t>(i)].counter - sent) / ms);
  }
  std::printf("latency over %d single-byte messages: median %.2f ms, p99 %.2f ms, max %.2f ms\n", messages,
              Percentile(latencies, 0.5), Percentile(latencies, 0.99),
              *std::max_element(latencies.begin(), latencies.end()));

  const bool typedIntoEdit = Throughput(target, device, streamBytes, "typed into a multi-line edit");
  bool keysOnly = false;
  {
    // The same stream again into a window that only logs the key presses:
    // how fast the program delivers keys, apart from how fast an edit takes them.
    e2e::TypingTarget logger(true);
    logger.Focus();
    keysOnly = Throughput(logger, device, streamBytes, "key presses only");
  }
  program.CloseAndWait();
  return typedIntoEdit && keysOnly ? 0 : 1;
}
