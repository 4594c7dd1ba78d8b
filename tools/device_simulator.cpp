// A simulated barcode scanner on the far end of a null-modem cable: it opens
// the given COM port and sends one sample line (digits, capitals, CR) every
// interval, the way a scanner sends one code per scan.
//
//   device_simulator.exe <port> [interval ms = 1500] [lines = 0: forever]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kSampleLines[] = {
    "4006381333931\r",   // an EAN-13 code
    "HELLO FROM COM1\r",
    "SCAN 0002 OK\r",
    "ABC 123 XYZ\r",
    "9780201379624\r",
};

std::string DeviceName(const std::string& port) {
  if (port.rfind("\\\\.\\", 0) == 0) return port;
  return "\\\\.\\" + port;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: device_simulator <port> [interval ms] [lines]\n");
    return 2;
  }
  const DWORD interval = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1500;
  const long lines = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 0;

  HANDLE port = CreateFileA(DeviceName(argv[1]).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "device: cannot open %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (GetCommState(port, &dcb)) {
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(port, &dcb);
  }
  COMMTIMEOUTS timeouts{0, 0, 0, 0, 2000};
  SetCommTimeouts(port, &timeouts);

  const size_t sampleCount = sizeof kSampleLines / sizeof kSampleLines[0];
  for (long sent = 0; lines == 0 || sent < lines; ++sent) {
    Sleep(interval);
    const std::string line = kSampleLines[sent % sampleCount];
    DWORD written = 0;
    if (!WriteFile(port, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size()) {
      std::fprintf(stderr, "device: write failed (error %lu)\n", GetLastError());
      break;
    }
    std::printf("device: sent %s\n", line.substr(0, line.size() - 1).c_str());
    std::fflush(stdout);
  }
  CloseHandle(port);
  return 0;
}
