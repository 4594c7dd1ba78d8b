// Baseline for the throughput figures: presses keys as fast as this platform
// takes them, with the same two keybd_event calls per key as the program,
// into whatever window has the focus. What the target receives per second is
// the injection limit the program is measured against.
//
//   key_injector.exe <keys>
#include <windows.h>

#include <cstdlib>

#include "tests/programs/bench_support.h"

int main(int argc, char** argv) {
  const int keys = argc > 1 ? std::atoi(argv[1]) : 5000;
  for (const char c : bench::Stream(keys)) {
    const auto vk = static_cast<BYTE>(c);
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  }
  return 0;
}
