// Baseline for the latency figures: the shortest path from a serial port to
// a key, one thread doing WaitCommEvent -> ReadFile -> keybd_event, with the
// line settings the benchmark's device uses. Runs until it is ended.
//
//   minimal_reader.exe [port = \\.\COM5]
#include <windows.h>

#include <cstdio>

#include "platform/handles.h"

int main(int argc, char** argv) {
  const char* name = argc > 1 ? argv[1] : "\\\\.\\COM5";
  FileHandle port(CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!port) {
    std::fprintf(stderr, "minimal reader: cannot open %s (error %lu)\n", name, GetLastError());
    return 1;
  }
  HANDLE handle = port.Get();
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(handle, &dcb);
  dcb.BaudRate = 9600;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetCommState(handle, &dcb);
  // Return at once with whatever is queued.
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
  SetCommTimeouts(handle, &timeouts);
  SetCommMask(handle, EV_RXCHAR);
  for (;;) {
    DWORD events = 0;
    if (!WaitCommEvent(handle, &events, nullptr)) {
      std::fprintf(stderr, "minimal reader: WaitCommEvent failed (error %lu)\n", GetLastError());
      return 1;
    }
    char buffer[256];
    DWORD got = 0;
    if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) continue;
    for (DWORD i = 0; i < got; ++i) {
      const auto vk = static_cast<BYTE>(buffer[i]);
      keybd_event(vk, 0, 0, 0);
      keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    }
  }
}
