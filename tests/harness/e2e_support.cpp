#include "tests/harness/e2e_support.h"

#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "resources/resource_ids.h"
#include "tests/harness/ui.h"

namespace e2e {

const char* const kProgramPort = "COM5";
const char* const kDevicePort = "\\\\.\\COM6";

namespace {

const char* const kSettingsPath = "Software\\Talvik\\TV-SERKEY\\Setting";
const char* const kMainTitle = "TV-SERKEY, Release :  Build 2014.02.13";

HKEY OpenSettings(REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

HKEY CreateSettings() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

}  // namespace

namespace settings {

void Remove() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY"); }

bool KeyExists() {
  HKEY key = OpenSettings(KEY_READ);
  if (key) RegCloseKey(key);
  return key != nullptr;
}

DWORD ValueCount() {
  HKEY key = OpenSettings(KEY_READ);
  if (!key) return 0;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return values;
}

void WriteString(const char* name, const std::string& value) {
  HKEY key = CreateSettings();
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

void WriteDWord(const char* name, DWORD value) {
  HKEY key = CreateSettings();
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void Write(const std::string& port, DWORD baud, DWORD dataBits, DWORD parity, DWORD stopBits) {
  WriteString("Port", port);
  WriteDWord("BaudRate", baud);
  WriteDWord("DataBits", dataBits);
  WriteDWord("Parity", parity);
  WriteDWord("StopBits", stopBits);
}

std::optional<std::string> ReadString(const char* name) {
  HKEY key = OpenSettings(KEY_READ);
  if (!key) return std::nullopt;
  char buffer[512] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::string(buffer);
}

std::optional<DWORD> ReadDWord(const char* name) {
  HKEY key = OpenSettings(KEY_READ);
  if (!key) return std::nullopt;
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
  return value;
}

}  // namespace settings

TypingTarget::TypingTarget(bool keysOnly) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  char file[MAX_PATH] = {};
  GetTempFileNameA(folder, "key", 0, file);
  logPath_ = file;
  const std::string option = keysOnly ? " /keysonly" : "";
  if (!process_.Start(testing_process::ProgramPath("typing_target.exe") + option + " \"" + logPath_ + "\"")) return;
  frame_ = ui::WaitForWindow(process_.Pid(), [](HWND h) { return ui::ClassName(h) == "TvTypingTarget"; });
  if (frame_) edit_ = ui::Child(frame_, 100);
  Focus();
}

TypingTarget::~TypingTarget() {
  if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
  if (!process_.Wait(5000)) process_.Kill();
  DeleteFileA(logPath_.c_str());
}

void TypingTarget::Focus() {
  if (!frame_) return;
  // Asked of the target itself: a background process may not be allowed
  // to hand the foreground to another program's window.
  constexpr UINT kComeToFront = WM_APP + 1;
  ui::WaitUntil(
      [&] {
        if (GetForegroundWindow() == frame_) return true;
        PostMessageA(frame_, kComeToFront, 0, 0);
        ui::PumpMessages(50);
        return GetForegroundWindow() == frame_;
      },
      5000);
}

std::string TypingTarget::Text() const { return edit_ ? ui::WindowTextW(edit_) : std::string(); }

std::vector<KeyArrival> TypingTarget::Arrivals() const {
  std::vector<KeyArrival> arrivals;
  std::ifstream log(logPath_);
  unsigned vk = 0;
  long long when = 0;
  while (log >> vk >> when) arrivals.push_back({static_cast<std::uint8_t>(vk), when});
  return arrivals;
}

std::vector<std::uint8_t> TypingTarget::Keys() const {
  std::vector<std::uint8_t> keys;
  for (const KeyArrival& arrival : Arrivals()) keys.push_back(arrival.vk);
  return keys;
}

bool TypingTarget::WaitForKeys(size_t count, DWORD timeoutMs) const {
  return ui::WaitUntil([&] { return Keys().size() >= count; }, timeoutMs);
}

bool Program::Start(const std::string& arguments) {
  std::string line = testing_process::ProductPath();
  if (!arguments.empty()) line += " " + arguments;
  return process_.Start(line);
}

HWND Program::WaitForMainWindow(DWORD timeoutMs) {
  ui::WaitUntil(
      [&] {
        auto windows = ui::TopLevelWindows(process_.Pid(), [](HWND h) { return ui::WindowTextW(h) == kMainTitle; });
        main_ = windows.empty() ? nullptr : windows.front();
        return main_ != nullptr;
      },
      timeoutMs);
  return main_;
}

bool Program::WaitUntilRunning(DWORD timeoutMs) {
  if (!main_ && !WaitForMainWindow(timeoutMs)) return false;
  // "Stop" appears before the port opens and the window hides after it.
  return ui::WaitUntil(
      [&] { return ControlText(IDC_BUTTON_STARTSTOP) == "Stop" && !IsWindowVisible(main_); }, timeoutMs);
}

HWND Program::Control(int id) const { return main_ ? ui::Child(main_, id) : nullptr; }

std::string Program::ControlText(int id) const { return ui::WindowTextW(Control(id)); }

// Wine draws the notification area in a window of its own process; with
// one program under test at a time its icons are the program's icons.
HWND Program::TrayIcon() const {
  for (HWND tray : ui::TopLevelWindows(0, [](HWND h) {
         return ui::ClassName(h) == "__winex11_standalone_tray";
       })) {
    HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr);
    if (icon) return icon;
  }
  return nullptr;
}

int Program::TrayIconCount() const {
  int count = 0;
  for (HWND tray : ui::TopLevelWindows(0, [](HWND h) {
         return ui::ClassName(h) == "__winex11_standalone_tray";
       })) {
    for (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon;
         icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr)) {
      ++count;
    }
  }
  return count;
}

int Program::ThreadCount() const {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == process_.Pid()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

void Program::ClickStartStop() {
  HWND button = Control(IDC_BUTTON_STARTSTOP);
  PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_BUTTON_STARTSTOP, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

bool Program::CloseAndWait(DWORD timeoutMs) {
  if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
  return process_.Wait(timeoutMs);
}

Device::Device(const char* port) {
  handle_ = CreateFileA(port, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(handle_, &dcb);
  dcb.BaudRate = 9600;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetCommState(handle_, &dcb);
  COMMTIMEOUTS timeouts{50, 0, 2000, 0, 5000};
  SetCommTimeouts(handle_, &timeouts);
}

Device::~Device() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool Device::Send(const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string Bytes(const std::vector<std::uint8_t>& keys) { return std::string(keys.begin(), keys.end()); }

namespace {
// scripts/nullmodem.sh serves "<request>-<PORT>" files in its folder and
// answers with "<answer>-<PORT>".
bool CableRequest(const char* request, const char* answer, const char* port) {
  char dir[MAX_PATH];
  if (GetEnvironmentVariableA("TV_NULLMODEM_DIR", dir, sizeof dir) == 0) return false;
  std::string folder = std::string("Z:") + dir;
  for (char& c : folder) c = c == '/' ? '\\' : c;
  const std::string done = folder + "\\" + answer + "-" + port;
  DeleteFileA(done.c_str());
  HANDLE file = CreateFileA((folder + "\\" + request + "-" + port).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return ui::WaitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
}

const char* const kRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}  // namespace

bool UnplugCable(const char* port) { return CableRequest("unplug", "unplugged", port); }
bool ReplugCable(const char* port) { return CableRequest("replug", "replugged", port); }

std::optional<std::string> RunValue() {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, kRunPath, "TV-SERKEY", RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(buffer);
}

void RemoveRunValue() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunPath, "TV-SERKEY"); }

}  // namespace e2e
