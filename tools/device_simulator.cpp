// A simulated device on the far end of a null-modem cable: it opens the
// given COM port and plays a barcode scanner or a balance.
//
//   device_simulator.exe <port> [interval ms = 1500] [lines = 0: forever]
//     a scanner: one sample line (digits, capitals, CR) every interval, the
//     way a scanner sends one code per scan.
//   device_simulator.exe <port> balance [prompt = SI] [answers = 0: forever]
//     a balance: each line that is the prompt (ended by CR, LF or CR LF) is
//     answered with the weight on the pan ("S S      12.34 g" CR LF), a
//     little more each time; anything else gets no answer.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

bool Send(HANDLE port, const std::string& line) {
  DWORD written = 0;
  if (!WriteFile(port, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size()) {
    std::fprintf(stderr, "device: write failed (error %lu)\n", GetLastError());
    return false;
  }
  return true;
}

void Scanner(HANDLE port, DWORD interval, long lines) {
  const size_t sampleCount = sizeof kSampleLines / sizeof kSampleLines[0];
  for (long sent = 0; lines == 0 || sent < lines; ++sent) {
    Sleep(interval);
    const std::string line = kSampleLines[sent % sampleCount];
    if (!Send(port, line)) break;
    std::printf("device: sent %s\n", line.substr(0, line.size() - 1).c_str());
    std::fflush(stdout);
  }
}

// The weight line of a balance: status "S" (stable), the value right-aligned
// in ten places, the unit.
std::string WeightLine(long hundredths) {
  char line[40];
  std::snprintf(line, sizeof line, "S S %10.2f g\r\n", static_cast<double>(hundredths) / 100.0);
  return line;
}

void Balance(HANDLE port, const std::string& prompt, long answers) {
  std::string line;
  long hundredths = 1234;
  for (long answered = 0; answers == 0 || answered < answers;) {
    char c = 0;
    DWORD got = 0;
    if (!ReadFile(port, &c, 1, &got, nullptr)) {
      std::fprintf(stderr, "device: read failed (error %lu)\n", GetLastError());
      return;
    }
    if (got == 0) continue;  // the read's time-out: nothing was said
    if (c != '\r' && c != '\n') {
      // Other control bytes (an acknowledgement, say) are no part of a prompt.
      if (static_cast<unsigned char>(c) >= 0x20) line += c;
      continue;
    }
    // A CR LF ends one line: the LF finds it empty and is not a prompt.
    if (line.empty()) continue;
    const bool asked = line == prompt;
    std::printf("device: got \"%s\"%s\n", line.c_str(), asked ? "" : ", no answer");
    std::fflush(stdout);
    line.clear();
    if (!asked) continue;
    if (!Send(port, WeightLine(hundredths))) return;
    hundredths += 1;
    ++answered;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: device_simulator <port> [interval ms] [lines]\n"
                 "       device_simulator <port> balance [prompt] [answers]\n");
    return 2;
  }
  const bool balance = argc > 2 && std::strcmp(argv[2], "balance") == 0;

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
  // Reads give up after half a second with nothing, so a balance waits for
  // its prompt in bounded steps.
  COMMTIMEOUTS timeouts{0, 0, 500, 0, 2000};
  SetCommTimeouts(port, &timeouts);

  if (balance) {
    Balance(port, argc > 3 ? argv[3] : "SI", argc > 4 ? std::strtol(argv[4], nullptr, 10) : 0);
  } else {
    Scanner(port, argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1500, argc > 3 ? std::strtol(argv[3], nullptr, 10) : 0);
  }
  CloseHandle(port);
  return 0;
}
