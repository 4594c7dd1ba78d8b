// Baseline for the idle cost: a program that only waits for received
// characters on a port, in one overlapped WaitCommEvent, as a watcher does.
// Whatever this costs while no byte comes is the platform's price of waiting.
//
//   comm_idler.exe [port = \\.\COM5]
#include <windows.h>

#include <cstdio>

#include "platform/handles.h"

int main(int argc, char** argv) {
  const char* name = argc > 1 ? argv[1] : "\\\\.\\COM5";
  FileHandle port(
      CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
  if (!port) {
    std::fprintf(stderr, "comm idler: cannot open %s (error %lu)\n", name, GetLastError());
    return 1;
  }
  HANDLE handle = port.Get();
  SetCommMask(handle, EV_RXCHAR);
  KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  OVERLAPPED overlapped{};
  overlapped.hEvent = event.Get();
  for (;;) {
    DWORD events = 0;
    DWORD transferred = 0;
    if (!WaitCommEvent(handle, &events, &overlapped)) {
      if (GetLastError() != ERROR_IO_PENDING) return 1;
      WaitForSingleObject(event.Get(), INFINITE);
      if (!GetOverlappedResult(handle, &overlapped, &transferred, TRUE)) return 1;
    }
  }
}
