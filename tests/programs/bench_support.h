#pragma once
// Shared by the benchmark drivers: the clock, medians, a key-logging window
// that is cheap to watch, the baseline programs and the row format that
// scripts/bench.sh turns into one table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "tests/harness/process.h"

namespace bench {

inline double Frequency() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(f.QuadPart);
}

inline long long Now() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c.QuadPart;
}

inline double Ms(long long ticks) { return static_cast<double>(ticks) * 1000.0 / Frequency(); }

inline double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())));
  return values[index];
}

inline double Median(const std::vector<double>& values) { return Percentile(values, 0.5); }

// The key stream every throughput figure uses: digits and capitals type
// themselves, so what arrived can be compared with what was sent.
inline std::string Stream(int length) {
  std::string stream;
  for (int i = 0; i < length; ++i) stream += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i % 36];
  return stream;
}

// One line of the result table: "ROW|row|program|baseline|ratio". Anything
// else a driver prints is commentary.
inline void Row(const std::string& row, const std::string& program, const std::string& baseline,
                const std::string& ratio) {
  std::printf("ROW|%s|%s|%s|%s\n", row.c_str(), program.c_str(), baseline.c_str(), ratio.c_str());
  std::fflush(stdout);
}

inline std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

inline std::string Ratio(double program, double baseline) {
  return baseline > 0 ? Format("%.2f", program / baseline) : std::string("-");
}

struct Arrival {
  unsigned vk;
  long long counter;
};

// The typing target (tools/typing_target.cpp) with a log of our own: the log
// is read incrementally, so watching it costs next to nothing while the
// measured programs run.
class KeyLog {
 public:
  explicit KeyLog(bool keysOnly) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    char file[MAX_PATH] = {};
    GetTempFileNameA(folder, "bkl", 0, file);
    path_ = file;
    const std::string option = keysOnly ? " /keysonly" : "";
    if (!process_.Start(testing_process::ProgramPath("typing_target.exe") + option + " \"" + path_ + "\"")) return;
    for (int i = 0; i < 2000 && !frame_; ++i) {
      Sleep(10);
      frame_ = FindWindowA("TvTypingTarget", nullptr);
      DWORD pid = 0;
      if (frame_) GetWindowThreadProcessId(frame_, &pid);
      if (pid != process_.Pid()) frame_ = nullptr;
    }
    reader_.Reset(CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  ~KeyLog() {
    if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
    if (!process_.Wait(5000)) process_.Kill();
    reader_.Close();
    DeleteFileA(path_.c_str());
  }
  KeyLog(const KeyLog&) = delete;
  KeyLog& operator=(const KeyLog&) = delete;

  bool Ready() const { return frame_ != nullptr && reader_.Valid(); }

  // Asked of the target itself: another process may not hand it the foreground.
  bool Focus() {
    constexpr UINT kComeToFront = WM_APP + 1;
    for (int i = 0; i < 100; ++i) {
      if (GetForegroundWindow() == frame_) return true;
      PostMessageA(frame_, kComeToFront, 0, 0);
      Sleep(50);
    }
    return GetForegroundWindow() == frame_;
  }

  const std::vector<Arrival>& Arrivals() {
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(reader_.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
      pending_.append(buffer, got);
      size_t end;
      while ((end = pending_.find('\n')) != std::string::npos) {
        Arrival arrival{};
        if (std::sscanf(pending_.c_str(), "%u %lld", &arrival.vk, &arrival.counter) == 2) arrivals_.push_back(arrival);
        pending_.erase(0, end + 1);
      }
    }
    return arrivals_;
  }

  // Waits until `count` keys arrived in all, looking every `pollMs`.
  bool WaitFor(size_t count, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (Arrivals().size() < count) {
      if (GetTickCount64() >= end) return false;
      Sleep(pollMs);
    }
    return true;
  }

  std::string Typed(size_t from) {
    std::string typed;
    const auto& all = Arrivals();
    for (size_t i = from; i < all.size(); ++i) typed += static_cast<char>(all[i].vk);
    return typed;
  }

 private:
  testing_process::ChildProcess process_;
  std::string path_;
  HWND frame_ = nullptr;
  FileHandle reader_;
  std::string pending_;
  std::vector<Arrival> arrivals_;
};

// "machine: ..." lines come from the script; this is what every driver
// says when its set-up fails.
inline int SetUpFailed(const char* what) {
  std::fprintf(stderr, "benchmark: set-up failed: %s\n", what);
  return 1;
}

}  // namespace bench
