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
#include "tests/programs/bench_support.h"

namespace {

using testing_process::ChildProcess;

struct ListSearch {
  int lists = 0;
  int filled = 0;
};

BOOL CALLBACK CountList(HWND child, LPARAM parameter) {
  char name[32] = {};
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "ComboBox") == 0) {
    auto* search = reinterpret_cast<ListSearch*>(parameter);
    ++search->lists;
    if (SendMessageA(child, CB_GETCOUNT, 0, 0) > 0) ++search->filled;
  }
  return TRUE;
}

struct WindowSearch {
  DWORD pid;
  bool ready;
};

// A visible top-level window of the process with five lists, all filled.
BOOL CALLBACK CheckWindow(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
  ListSearch lists;
  EnumChildWindows(hwnd, CountList, reinterpret_cast<LPARAM>(&lists));
  search->ready = lists.lists >= 5 && lists.filled >= 5;
  return search->ready ? FALSE : TRUE;
}

bool Ready(DWORD pid) {
  WindowSearch search{pid, false};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.ready;
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
  struct Closer {
    static BOOL CALLBACK Post(HWND hwnd, LPARAM pid) {
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner == static_cast<DWORD>(pid) && IsWindowVisible(hwnd)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return TRUE;
    }
  };
  EnumWindows(Closer::Post, static_cast<LPARAM>(process.Pid()));
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
