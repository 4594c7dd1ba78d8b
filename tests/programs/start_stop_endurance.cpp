// Start/stop endurance: toggles the running program many times with the
// timer message 9999 from this process, each toggle handled to the end (the
// message is sent, not posted) and its button caption checked. Compares the
// process's handles, threads and working set and the time per Start and per
// Stop after all toggles with the same figures after the first 10, and
// checks that typing still works. Prints table rows (see bench_support.h).
//
//   start_stop_endurance.exe [toggles = 1000] (even; at least 20)
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/harness/e2e_support.h"
#include "tests/programs/bench_support.h"

namespace {

using bench::Format;

constexpr int kEarlyToggles = 10;

struct Snapshot {
  double handles = 0, threads = 0, workingSetMb = 0;
};

// The process's handle count. Wine answers GetProcessHandleCount for another
// process with 0, but keeps the count in its process list.
double HandleCount(HANDLE process, DWORD pid) {
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles) && handles > 0) return handles;
  using Query = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<unsigned char> buffer(1 << 20);
  ULONG needed = 0;
  if (query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) return 0;
  for (size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
    if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == pid) return entry->HandleCount;
    if (entry->NextEntryOffset == 0) return 0;
    offset += entry->NextEntryOffset;
  }
}

Snapshot Take(e2e::Program& program) {
  Snapshot snapshot;
  snapshot.handles = HandleCount(program.Process().Handle(), program.Pid());
  snapshot.threads = program.ThreadCount();
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(program.Process().Handle(), &memory, sizeof memory)) {
    snapshot.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
  }
  return snapshot;
}

// One toggle, handled to the end; its milliseconds, or a negative value
// when the caption did not change as it should.
double Toggle(e2e::Program& program, const char* caption) {
  const long long start = bench::Now();
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(program.Main(), WM_TIMER, 9999, 0, SMTO_NORMAL, 30000, &result)) return -1;
  const double ms = bench::Ms(bench::Now() - start);
  for (int i = 0; i < 500; ++i) {
    if (program.ControlText(IDC_BUTTON_STARTSTOP) == caption) return ms;
    Sleep(2);
  }
  return -1;
}

bool Types(bench::KeyLog& log, e2e::Device& device, const std::string& text) {
  if (!log.Focus()) return false;
  const size_t before = log.Arrivals().size();
  device.Send(text);
  return log.WaitFor(before + text.size(), 10000, 10) && log.Typed(before) == text;
}

double Mean(const std::vector<double>& values, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += values[i];
  return to > from ? sum / static_cast<double>(to - from) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  int toggles = argc > 1 ? std::atoi(argv[1]) : 1000;
  toggles = std::max(2 * kEarlyToggles, toggles + toggles % 2);  // ends running, as it began

  e2e::settings::Remove();
  e2e::settings::Write(e2e::kProgramPort, 9600, 8, 0, 0);
  bench::KeyLog log(true);
  e2e::Device device;
  e2e::Program program;
  if (!log.Ready() || !device.Opened()) return bench::SetUpFailed("typing target or device port");
  if (!program.Start("/START") || !program.WaitUntilRunning()) return bench::SetUpFailed("the program");
  if (!Types(log, device, "A1")) return bench::SetUpFailed("typing before the toggles");

  std::vector<double> stops, starts;
  Snapshot early;
  bool typesEarly = false;
  for (int i = 1; i <= toggles; ++i) {
    const bool stopping = i % 2 == 1;
    const double ms = Toggle(program, stopping ? "Start" : "Stop");
    if (ms < 0) {
      std::fprintf(stderr, "benchmark: toggle %d did not %s the port\n", i, stopping ? "stop" : "start");
      return 1;
    }
    (stopping ? stops : starts).push_back(ms);
    if (i == kEarlyToggles) {
      early = Take(program);
      typesEarly = Types(log, device, "B2");
    }
    if (i % 100 == 0) std::printf("  %d toggles\n", i);
  }
  const Snapshot late = Take(program);
  const bool typesLate = Types(log, device, "C3");
  program.CloseAndWait();

  const std::string after = "after " + std::to_string(toggles);
  const std::string early10 = " after " + std::to_string(kEarlyToggles);
  const size_t earlyPairs = kEarlyToggles / 2;
  const double earlyStart = Mean(starts, 0, earlyPairs), lateStart = Mean(starts, earlyPairs, starts.size());
  const double earlyStop = Mean(stops, 0, earlyPairs), lateStop = Mean(stops, earlyPairs, stops.size());
  const std::string row = "start/stop endurance, " + std::to_string(toggles) + " toggles: ";
  bench::Row(row + "handles " + after, Format("%.0f", late.handles), Format("%.0f", early.handles) + early10,
             bench::Ratio(late.handles, early.handles));
  bench::Row(row + "threads " + after, Format("%.0f", late.threads), Format("%.0f", early.threads) + early10,
             bench::Ratio(late.threads, early.threads));
  bench::Row(row + "working set " + after + " (MB)", Format("%.1f", late.workingSetMb),
             Format("%.1f", early.workingSetMb) + early10, bench::Ratio(late.workingSetMb, early.workingSetMb));
  bench::Row(row + "mean ms per Start, later toggles", Format("%.1f", lateStart),
             Format("%.1f", earlyStart) + " first " + std::to_string(kEarlyToggles), bench::Ratio(lateStart, earlyStart));
  bench::Row(row + "mean ms per Stop, later toggles", Format("%.1f", lateStop),
             Format("%.1f", earlyStop) + " first " + std::to_string(kEarlyToggles), bench::Ratio(lateStop, earlyStop));
  bench::Row(row + "typing still works " + after, typesLate ? "yes" : "NO",
             std::string(typesEarly ? "yes" : "NO") + early10, "-");
  return typesLate ? 0 : 1;
}
