// Where the time of a batch goes: the program's read path (watcher thread,
// notification, pending-count query, read, the two status captions, the keys,
// dropping stale notifications, the self-post for bytes left behind) run in
// this process on the library's own Serial class, each step timed. The keys
// go to a key-logging window in front. Prints commentary, no table rows.
//
// Two runs: a stream (throughput) and single bytes one at a time (latency),
// where the time from the device write to the batch's start is the watcher's
// wake-up, its notification and the window thread's wake-up.
//
//   batch_profile.exe [stream keys = 5000] [single bytes = 200]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/keystrokes.h"
#include "serial/serial.h"
#include "tests/harness/e2e_support.h"
#include "tests/programs/bench_support.h"

namespace {

enum Step { kPending, kRead, kCaptions, kForeground, kKeys, kDrain, kRepost, kSteps };
const char* const kStepNames[kSteps] = {"pending-count query",
                                        "read",
                                        "two captions",
                                        "foreground check",
                                        "keybd_event pairs",
                                        "dropping stale notifications",
                                        "pending query + self-post"};

struct Profile {
  double ms[kSteps] = {};
  double toBatchMs = 0;  // device write -> batch start, single bytes only
  long long batches = 0, bytes = 0, emptyBatches = 0, notifications = 0, dropped = 0;
};

Profile g_profile;
long long g_sent = 0;  // when the single byte under way was written
Serial* g_serial = nullptr;
HWND g_count = nullptr;
HWND g_text = nullptr;

// The same steps, in the same order, as the main window's batch.
void Batch(HWND window) {
  long long t = bench::Now();
  if (g_sent != 0) {
    g_profile.toBatchMs += bench::Ms(t - g_sent);
    g_sent = 0;
  }
  auto lap = [&](Step step) {
    const long long now = bench::Now();
    g_profile.ms[step] += bench::Ms(now - t);
    t = now;
  };
  const std::size_t count = BatchSize(g_serial->ReceiverPending(), 30);
  lap(kPending);
  const std::string data = count > 0 ? g_serial->Read(static_cast<DWORD>(count)) : std::string();
  lap(kRead);
  // Set only when the text changes, as the main window does.
  auto caption = [](HWND control, const std::string& text) {
    char shown[64] = {};
    GetWindowTextA(control, shown, sizeof shown);
    if (text != shown) SetWindowTextA(control, text.c_str());
  };
  caption(g_count, std::to_string(data.size()));
  caption(g_text, "Read: " + data);
  lap(kCaptions);
  HWND front = GetForegroundWindow();
  const bool ours = front != nullptr && GetAncestor(front, GA_ROOTOWNER) == window;
  lap(kForeground);
  if (!ours) TypeBytes(data);
  lap(kKeys);
  MSG stale;
  while (PeekMessageA(&stale, window, kCommNotifyMessage, kCommNotifyMessage, PM_REMOVE)) ++g_profile.dropped;
  lap(kDrain);
  if (AnotherBatchDue(count, data.size(), g_serial->ReceiverPending())) PostMessageA(window, kCommNotifyMessage, kCommNotifyWParam, 0);
  lap(kRepost);
  ++g_profile.batches;
  g_profile.bytes += static_cast<long long>(data.size());
  if (data.empty()) ++g_profile.emptyBatches;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCommNotifyMessage && wParam == kCommNotifyWParam) {
    ++g_profile.notifications;
    Batch(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Runs the window's messages until `bytes` bytes in all were read.
bool PumpUntil(long long bytes, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  MSG msg;
  while (g_profile.bytes < bytes) {
    if (GetTickCount64() >= end) return false;
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) continue;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

double g_elapsed = 0;
size_t g_keysBefore = 0;

void Stream(e2e::Device& device, int keys) {
  const std::string stream = bench::Stream(keys);
  const long long start = bench::Now();
  for (size_t offset = 0; offset < stream.size(); offset += 512) device.Send(stream.substr(offset, 512));
  PumpUntil(keys, 120000);
  g_elapsed = bench::Ms(bench::Now() - start);
}

void Singles(e2e::Device& device, int count) {
  const long long start = bench::Now();
  for (int i = 0; i < count; ++i) {
    g_sent = bench::Now();
    device.Send(std::string(1, static_cast<char>('0' + i % 10)));
    if (!PumpUntil(i + 1, 10000)) break;
    Sleep(2);  // the next byte only once this one's notifications are through
  }
  g_elapsed = bench::Ms(bench::Now() - start);
}

void Report(const char* what, int keys, bench::KeyLog& log) {
  const double elapsed = g_elapsed;
  const double batches = static_cast<double>(std::max(1LL, g_profile.batches));
  double inBatches = 0;
  for (double ms : g_profile.ms) inBatches += ms;
  std::printf("  batch profile, %s: %lld of %d bytes read in %.0f ms, %lld batches (%lld empty), "
              "%lld notifications handled, %lld stale ones dropped\n",
              what, g_profile.bytes, keys, elapsed, g_profile.batches, g_profile.emptyBatches,
              g_profile.notifications, g_profile.dropped);
  if (g_profile.toBatchMs > 0) {
    std::printf("    %-30s %.3f ms per byte\n", "device write to batch start", g_profile.toBatchMs / batches);
  }
  for (int step = 0; step < kSteps; ++step) {
    std::printf("    %-30s %8.1f ms  %5.1f%% of the run  %.3f ms per batch\n", kStepNames[step], g_profile.ms[step],
                100.0 * g_profile.ms[step] / elapsed, g_profile.ms[step] / batches);
  }
  std::printf("    %-30s %8.1f ms  %5.1f%% of the run (message loop, watcher, waiting)\n", "outside the batches",
              elapsed - inBatches, 100.0 * (elapsed - inBatches) / elapsed);
  log.WaitFor(static_cast<size_t>(g_profile.bytes) + g_keysBefore, 5000, 20);
  std::printf("    keys that reached the key-logging window: %zu of %lld\n", log.Arrivals().size() - g_keysBefore,
              g_profile.bytes);
  g_keysBefore = log.Arrivals().size();
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int keys = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int singles = argc > 2 ? std::atoi(argv[2]) : 200;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TvBatchProfile";
  RegisterClassA(&wc);
  // Hidden, as the program's window is while its port runs.
  HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  g_count = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window, nullptr, nullptr, nullptr);
  g_text = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 50, 0, 250, 20, window, nullptr, nullptr, nullptr);

  bench::KeyLog log(true);
  e2e::Device device;
  Serial serial(window);
  g_serial = &serial;
  if (!log.Ready() || !device.Opened() || !serial.Open(e2e::kProgramPort) || !serial.SetProtocol() ||
      !serial.EnableEvents(EV_RXCHAR) || !log.Focus()) {
    return bench::SetUpFailed("key log, device, port or watcher");
  }
  Stream(device, keys);
  Report("stream", keys, log);
  g_profile = Profile{};
  Singles(device, singles);
  Report("single bytes", singles, log);
  serial.Close();
  return 0;
}
