// Start to window: from process creation until the main window is visible
// with its five lists filled, for TV-SERKEY and for a minimal program that
// shows five filled lists (combo_window.exe). The two take turns; the median
// of the runs is printed as a table row (see bench_support.h).
//
//   startup_benchmark.exe [runs = 5]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"
#include "tests/programs/bench_support.h"

namespace {

using testing_process::ChildProcess;

struct ListCount {
  int lists = 0;
  int filled = 0;
};

// A named WINAPI callback: a lambda has the wrong calling convention on i686.
BOOL CALLBACK CountList(HWND child, LPARAM parameter) {
  if (lstrcmpiA(ui::ClassName(child).c_str(), "ComboBox") == 0) {
    auto* count = reinterpret_cast<ListCount*>(parameter);
    ++count->lists;
    if (SendMessageA(child, CB_GETCOUNT, 0, 0) > 0) ++count->filled;
  }
  return TRUE;
}

// A visible top-level window of the process with five lists, all filled.
bool Ready(DWORD pid) {
  return !ui::TopLevelWindows(pid, [](HWND hwnd) {
            if (!IsWindowVisible(hwnd)) return false;
            ListCount count;
            EnumChildWindows(hwnd, CountList, reinterpret_cast<LPARAM>(&count));
            return count.lists >= 5 && count.filled >= 5;
          }).empty();
}

// Milliseconds from CreateProcess to the filled window, looking every 5 ms;
// the program is closed again afterwards. 0 when the window never came.
double StartToWindow(const std::string& commandLine) {
  ChildProcess process;
  const long long start = bench::Now();
  if (!process.Start(commandLine)) return 0;
  double ms = 0;
  for (int i = 0; i < 4000; ++i) {
    if (Ready(process.Pid())) {
      ms = bench::Ms(bench::Now() - start);
      break;
    }
    Sleep(5);
  }
  // Close through the window, as a user would; the process must then end.
  for (HWND hwnd : ui::TopLevelWindows(process.Pid(), [](HWND w) { return IsWindowVisible(w) != FALSE; })) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
  }
  if (!process.Wait(10000)) process.Kill();
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  e2e::settings::Remove();
  e2e::settings::Write(e2e::kProgramPort, 9600, 8, 0, 0);
  std::vector<double> program, minimal;
  for (int i = 0; i < runs; ++i) {
    program.push_back(StartToWindow(testing_process::ProductPath()));
    minimal.push_back(StartToWindow(testing_process::ProgramPath("combo_window.exe")));
    std::printf("  start to window: %.0f ms (minimal window %.0f ms)\n", program.back(), minimal.back());
  }
  const double p = bench::Median(program), m = bench::Median(minimal);
  bench::Row("start to window with five filled lists, median of " + std::to_string(runs) + " (ms)",
             bench::Format("%.0f", p), bench::Format("%.0f", m) + " minimal window", bench::Ratio(p, m));
  return p > 0 && m > 0 ? 0 : 1;
}
