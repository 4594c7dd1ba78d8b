// Latency, throughput and idle cost of the whole path (device write ->
// null-modem -> TV-SERKEY -> injected key -> another program's window), in
// key mode and, for latency and throughput, in text mode ("Type as text"), each
// measured beside what the platform itself allows in the same run: a minimal
// reader on the same port, a program that only injects keys, one that only
// types characters as themselves (text mode's way), a program that only
// waits on the port. Prints table rows (see bench_support.h) and the
// single rounds; it asserts nothing about speed.
//
//   keystroke_benchmark.exe [latency messages = 1000] [stream keys = 5000]
//                           [edit bytes = 1000] [idle seconds = 20] [rounds = 3]
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "tests/harness/e2e_support.h"
#include "tests/programs/bench_support.h"

namespace {

using bench::Format;
using bench::KeyLog;
using bench::Median;
using testing_process::ChildProcess;
using testing_process::ProgramPath;

constexpr DWORD kStreamTimeoutMs = 600000;

struct Latency {
  double median = 0, p99 = 0, max = 0;
  bool complete = false;
};

// One byte at a time, the next only once the previous one arrived. A first
// byte, not counted, shows that the reader is up.
Latency MeasureLatency(KeyLog& log, e2e::Device& device, int messages) {
  Latency result;
  size_t expected = log.Arrivals().size() + 1;
  device.Send("0");
  if (!log.WaitFor(expected, 20000, 1)) return result;
  std::vector<double> latencies;
  for (int i = 0; i < messages; ++i) {
    const long long sent = bench::Now();
    device.Send(std::string(1, static_cast<char>('0' + i % 10)));
    if (!log.WaitFor(++expected, 10000, 1)) {
      std::fprintf(stderr, "benchmark: byte %d never arrived\n", i);
      return result;
    }
    latencies.push_back(bench::Ms(log.Arrivals()[expected - 1].counter - sent));
  }
  result.median = Median(latencies);
  result.p99 = bench::Percentile(latencies, 0.99);
  result.max = *std::max_element(latencies.begin(), latencies.end());
  result.complete = true;
  return result;
}

// Keys per second from the first key's arrival to the last one's, so that a
// process start or the first byte's latency is not part of the figure.
// 0 when keys were lost or came out of order.
double MeasureStream(KeyLog& log, int keys, const std::function<bool()>& send, const char* what) {
  const size_t before = log.Arrivals().size();
  if (!send()) return 0;
  if (!log.WaitFor(before + static_cast<size_t>(keys), kStreamTimeoutMs, 20)) {
    std::printf("  %s: incomplete, %zu of %d keys\n", what, log.Arrivals().size() - before, keys);
    return 0;
  }
  const auto& arrivals = log.Arrivals();
  if (log.Typed(before) != bench::Stream(keys)) {
    std::printf("  %s: keys lost or out of order\n", what);
    return 0;
  }
  const double seconds = bench::Ms(arrivals.back().counter - arrivals[before].counter) / 1000.0;
  return seconds > 0 ? (keys - 1) / seconds : 0;
}

bool DeviceStream(e2e::Device& device, int keys) {
  const std::string stream = bench::Stream(keys);
  for (size_t offset = 0; offset < stream.size(); offset += 512) {
    if (!device.Send(stream.substr(offset, 512))) return false;
  }
  return true;
}

bool Inject(const char* injector, int keys) {
  ChildProcess process;
  if (!process.Start(ProgramPath(injector) + " " + std::to_string(keys))) return false;
  return process.Wait(kStreamTimeoutMs);
}

bool StartProgram(e2e::Program& program) { return program.Start("/START") && program.WaitUntilRunning(); }

// "Type as text" as the program reads it when it starts.
void SetTypeText(bool on) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const DWORD value = on ? 1 : 0;
  RegSetValueExA(key, "TypeText", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

bool StartBaseline(ChildProcess& process, const char* exe) {
  return process.Start(ProgramPath(exe) + " " + e2e::kProgramPort);
}

// CPU seconds of a process, summed over its threads: Wine reports no times
// for another process as a whole, but does for each of its threads.
double CpuSeconds(DWORD pid) {
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  double seconds = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID != pid) continue;
    KernelHandle thread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID));
    FILETIME created, exited, kernel, user;
    if (!thread || !GetThreadTimes(thread.Get(), &created, &exited, &kernel, &user)) continue;
    const ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    const ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
    seconds += static_cast<double>(k.QuadPart + u.QuadPart) / 1e7;
  }
  return seconds;
}

// Share of one core the process used over `seconds` of idle line.
double IdleCpu(DWORD pid, int seconds) {
  Sleep(1000);  // past the start-up work
  const double before = CpuSeconds(pid);
  const long long start = bench::Now();
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double used = CpuSeconds(pid) - before;
  return 100.0 * used / (bench::Ms(bench::Now() - start) / 1000.0);
}

std::string LatencyText(double median, double p99, double max) {
  char text[96];
  std::snprintf(text, sizeof text, "%.2f / %.2f / %.2f ms", median, p99, max);
  return text;
}

struct Round {
  Latency program, text, reader;
  double programKeys = 0, textKeys = 0, readerKeys = 0, injectedKeys = 0, injectedText = 0;
};

bool RunRound(e2e::Device& device, int messages, int streamKeys, Round& round) {
  KeyLog log(true);
  if (!log.Ready()) return false;
  {
    e2e::Program program;
    if (!StartProgram(program) || !log.Focus()) return false;
    round.program = MeasureLatency(log, device, messages);
    round.programKeys = MeasureStream(log, streamKeys, [&] { return DeviceStream(device, streamKeys); }, "TV-SERKEY");
    program.CloseAndWait();
  }
  SetTypeText(true);
  {
    e2e::Program program;
    if (!StartProgram(program) || !log.Focus()) return false;
    round.text = MeasureLatency(log, device, messages);
    round.textKeys =
        MeasureStream(log, streamKeys, [&] { return DeviceStream(device, streamKeys); }, "TV-SERKEY text mode");
    program.CloseAndWait();
  }
  SetTypeText(false);
  {
    ChildProcess reader;
    if (!StartBaseline(reader, "minimal_reader.exe") || !log.Focus()) return false;
    round.reader = MeasureLatency(log, device, messages);
    round.readerKeys =
        MeasureStream(log, streamKeys, [&] { return DeviceStream(device, streamKeys); }, "minimal reader");
  }
  log.Focus();
  round.injectedKeys =
      MeasureStream(log, streamKeys, [&] { return Inject("key_injector.exe", streamKeys); }, "injection limit");
  round.injectedText = MeasureStream(log, streamKeys, [&] { return Inject("text_injector.exe", streamKeys); },
                                     "text injection limit");
  std::printf("  round: latency median %.2f ms, text mode %.2f ms (minimal reader %.2f ms); keys/s %.0f (minimal "
              "reader %.0f, injection limit %.0f); chars/s text mode %.0f (text injection limit %.0f)\n",
              round.program.median, round.text.median, round.reader.median, round.programKeys, round.readerKeys,
              round.injectedKeys, round.textKeys, round.injectedText);
  std::fflush(stdout);
  return round.program.complete && round.text.complete && round.reader.complete;
}

void ThroughputAndLatencyRows(const std::vector<Round>& rounds, int messages, int streamKeys) {
  auto median = [&](auto field) {
    std::vector<double> values;
    for (const Round& round : rounds) values.push_back(field(round));
    return Median(values);
  };
  const double limit = median([](const Round& r) { return r.injectedKeys; });
  const double textLimit = median([](const Round& r) { return r.injectedText; });
  const std::string n = std::to_string(rounds.size());
  auto throughputRow = [&](const std::string& row, double perSecond, double baseline, const char* what) {
    bench::Row(row, Format("%.0f", perSecond), Format("%.0f ", baseline) + what, bench::Ratio(perSecond, baseline));
  };
  throughputRow("key throughput, " + std::to_string(streamKeys) + " keys, median of " + n + " (keys/s)",
                median([](const Round& r) { return r.programKeys; }), limit, "injection limit");
  throughputRow("key throughput, minimal reader for reference (keys/s)",
                median([](const Round& r) { return r.readerKeys; }), limit, "injection limit");
  throughputRow("text mode throughput, " + std::to_string(streamKeys) + " characters, median of " + n + " (chars/s)",
                median([](const Round& r) { return r.textKeys; }), textLimit, "text injection limit");
  const double rm = median([](const Round& r) { return r.reader.median; });
  const std::string reader = LatencyText(rm, median([](const Round& r) { return r.reader.p99; }),
                                         median([](const Round& r) { return r.reader.max; })) +
                             " minimal reader";
  auto latencyRow = [&](const std::string& mode, Latency Round::*side) {
    const double pm = median([&](const Round& r) { return (r.*side).median; });
    bench::Row(mode + "latency, " + std::to_string(messages) + " single bytes, median / p99 / max, median of " + n,
               LatencyText(pm, median([&](const Round& r) { return (r.*side).p99; }),
                           median([&](const Round& r) { return (r.*side).max; })),
               reader, bench::Ratio(pm, rm) + Format(" (median %+.2f ms)", pm - rm));
  };
  latencyRow("", &Round::program);
  latencyRow("text mode ", &Round::text);
}

void EditRow(e2e::Device& device, int bytes) {
  double program = 0, injected = 0;
  {
    KeyLog edit(false);
    e2e::Program tv;
    if (edit.Ready() && StartProgram(tv) && edit.Focus()) {
      program = MeasureStream(edit, bytes, [&] { return DeviceStream(device, bytes); }, "TV-SERKEY into an edit");
    }
    tv.CloseAndWait();
  }
  {
    KeyLog edit(false);
    if (edit.Ready() && edit.Focus()) {
      injected = MeasureStream(edit, bytes, [&] { return Inject("key_injector.exe", bytes); },
                               "injection limit into an edit");
    }
  }
  bench::Row("text into a multi-line edit, " + std::to_string(bytes) + " bytes (bytes/s)", Format("%.0f", program),
             Format("%.0f", injected) + " injection limit", bench::Ratio(program, injected));
}

void IdleRow(int seconds) {
  double program = 0, idler = 0;
  {
    e2e::Program tv;
    if (StartProgram(tv)) program = IdleCpu(tv.Pid(), seconds);
    tv.CloseAndWait();
  }
  {
    ChildProcess waiter;
    if (StartBaseline(waiter, "comm_idler.exe")) idler = IdleCpu(waiter.Pid(), seconds);
  }
  bench::Row("idle cost while running, " + std::to_string(seconds) + " s without bytes (% of a core)",
             Format("%.2f", program), Format("%.2f", idler) + " bare WaitCommEvent", bench::Ratio(program, idler));
}

}  // namespace

int main(int argc, char** argv) {
  const int messages = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int streamKeys = argc > 2 ? std::atoi(argv[2]) : 5000;
  const int editBytes = argc > 3 ? std::atoi(argv[3]) : 1000;
  const int idleSeconds = argc > 4 ? std::atoi(argv[4]) : 20;
  const int roundCount = argc > 5 ? std::atoi(argv[5]) : 3;

  e2e::settings::Remove();
  e2e::settings::Write(e2e::kProgramPort, 9600, 8, 0, 0);
  e2e::Device device;
  if (!device.Opened()) return bench::SetUpFailed("the device end of the null-modem");

  // Program and baselines take turns within each round, so a busy moment of
  // the machine falls on both sides alike.
  std::vector<Round> rounds;
  for (int i = 0; i < roundCount; ++i) {
    Round round;
    if (!RunRound(device, messages, streamKeys, round)) return bench::SetUpFailed("a latency/throughput round");
    rounds.push_back(round);
  }
  ThroughputAndLatencyRows(rounds, messages, streamKeys);
  IdleRow(idleSeconds);
  EditRow(device, editBytes);
  return 0;
}
