// Baseline for the text-mode throughput figure: types the stream's characters
// as themselves, as fast as this platform takes them, the way the program's
// text mode does (SendInput with KEYEVENTF_UNICODE, press and release of one
// character in one call), into whatever window has the focus.
//
//   text_injector.exe <characters>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/programs/bench_support.h"

int main(int argc, char** argv) {
  const int characters = argc > 1 ? std::atoi(argv[1]) : 5000;
  for (const char c : bench::Stream(characters)) {
    INPUT events[2] = {};
    for (INPUT& event : events) {
      event.type = INPUT_KEYBOARD;
      event.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
      event.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    events[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    // None inserted: input is blocked (a locked desktop, a UAC prompt).
    if (SendInput(2, events, sizeof(INPUT)) != 2) {
      std::fprintf(stderr, "text injector: SendInput inserted nothing (error %lu)\n", GetLastError());
      return 1;
    }
  }
  return 0;
}
