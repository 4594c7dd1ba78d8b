#include "tests/serial/cable.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace cable {

Device::Device(const char* port) {
  handle_ = CreateFileA((std::string("\\\\.\\") + port).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, 0, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return;
  COMMTIMEOUTS timeouts{50, 0, 200, 0, 0};
  SetCommTimeouts(handle_, &timeouts);
  PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

Device::~Device() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

void Device::Send(const std::string& bytes) {
  DWORD written = 0;
  WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string Device::Receive(std::size_t count, DWORD timeoutMs) {
  std::string got;
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  char buffer[4096];
  while (got.size() < count && GetTickCount64() < end) {
    DWORD length = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, count - got.size()));
    if (!ReadFile(handle_, buffer, want, &length, nullptr) && GetLastError() != ERROR_TIMEOUT) break;
    got.append(buffer, length);
  }
  return got;
}

std::string Device::Drain(DWORD quietMs) {
  std::string got;
  ULONGLONG quietSince = GetTickCount64();
  char buffer[4096];
  while (GetTickCount64() - quietSince < quietMs) {
    DWORD length = 0;
    ReadFile(handle_, buffer, sizeof buffer, &length, nullptr);
    if (length > 0) quietSince = GetTickCount64();
    got.append(buffer, length);
  }
  return got;
}

bool OpenShort(Serial& serial, const char* port) {
  if (!serial.Open(port)) return false;
  serial.ReadIntervalTimeout(50);
  serial.ReadTimeoutMultiplier(0);
  serial.ReadTimeoutConstant(300);
  return serial.SetTimeOut();
}

std::string ReadAll(Serial& serial, std::size_t count, DWORD timeoutMs) {
  std::string got;
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (got.size() < count && GetTickCount64() < end) got += serial.Read(static_cast<std::uint32_t>(count - got.size()));
  return got;
}

Sink::Sink() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Sink::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SerialTestSink";
    return RegisterClassA(&wc);
  }();
  hwnd_ = CreateWindowExA(0, MAKEINTATOM(atom), "sink", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                          GetModuleHandleA(nullptr), this);
}

Sink::~Sink() { DestroyWindow(hwnd_); }

LRESULT CALLBACK Sink::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* sink = reinterpret_cast<Sink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == kCommNotifyMessage && sink != nullptr) {
    ++sink->count_;
    sink->lastWParam_ = wParam;
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

int Sink::Pump(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  } while (GetTickCount64() < end);
  return count_;
}

bool Sink::WaitFor(int count, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (count_ < count && GetTickCount64() < end) Pump(10);
  return count_ >= count;
}

namespace {
// SystemExtendedHandleInformation: every handle of the system, with its process.
struct HandleEntry {
  PVOID object;
  ULONG_PTR processId;
  ULONG_PTR handle;
  ULONG access;
  USHORT backTrace;
  USHORT type;
  ULONG attributes;
  ULONG reserved;
};
struct HandleTable {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};
using QuerySystemInformation = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryThreadInformation = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
}  // namespace

int HandleCount() {
  const auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  NTSTATUS status;
  while ((status = query(64, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
         static_cast<NTSTATUS>(0xC0000004))
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  int count = 0;
  for (ULONG_PTR i = 0; i < table->count; ++i) count += table->entries[i].processId == GetCurrentProcessId();
  return count;
}

int WatcherCount() {
  const auto query = reinterpret_cast<QueryThreadInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  if (Thread32First(snapshot, &entry)) {
    do {
      if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
      HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
      if (thread == nullptr) continue;
      void* start = nullptr;
      // 9: ThreadQuerySetWin32StartAddress; a thread that has ended answers no longer.
      DWORD code = STILL_ACTIVE;
      if (query(thread, 9, &start, sizeof start, nullptr) == 0 && GetExitCodeThread(thread, &code) &&
          code == STILL_ACTIVE && start == reinterpret_cast<void*>(&CommWatchProc))
        ++count;
      CloseHandle(thread);
    } while (Thread32Next(snapshot, &entry));
  }
  CloseHandle(snapshot);
  return count;
}

bool WatchersSettleAt(int count) {
  for (int i = 0; i < 300; ++i) {
    if (WatcherCount() <= count) return true;
    Sleep(10);
  }
  return false;
}

bool Unplug(const char* port) {
  char dir[MAX_PATH];
  if (GetEnvironmentVariableA("TV_NULLMODEM_DIR", dir, sizeof dir) == 0) return false;
  std::string folder = std::string("Z:") + dir;
  for (char& c : folder) c = c == '/' ? '\\' : c;
  const std::string request = folder + "\\unplug-" + port, done = folder + "\\unplugged-" + port;
  HANDLE file = CreateFileA(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  for (int i = 0; i < 500; ++i) {
    if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(10);
  }
  return false;
}

namespace {
struct Job {
  std::function<void()> work;
  HANDLE done;
};
DWORD WINAPI RunJob(LPVOID parameter) {
  auto* job = static_cast<Job*>(parameter);
  job->work();
  SetEvent(job->done);
  return 0;
}
}  // namespace

bool ReturnsWithin(DWORD timeoutMs, const std::function<void()>& work) {
  auto* job = new Job{work, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, RunJob, job, 0, nullptr);
  const bool returned = WaitForSingleObject(job->done, timeoutMs) == WAIT_OBJECT_0;
  if (returned) {
    // The job is done with: free it. One that hangs keeps it for good.
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(job->done);
    delete job;
  }
  CloseHandle(thread);
  return returned;
}

}  // namespace cable
