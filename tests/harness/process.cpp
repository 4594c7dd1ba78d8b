#include "tests/harness/process.h"

#include <vector>

namespace testing_process {

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::string& commandLine, const std::string& workingDirectory) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_.Reset(pi.hProcess);
  pid_ = pi.dwProcessId;
  return true;
}

bool ChildProcess::Running() const {
  return process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_.Valid()) return true;
  if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) GetExitCodeProcess(process_.Get(), exitCode);
  return true;
}

void ChildProcess::Kill() {
  if (Running()) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

std::string ExeDirectory() {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full(path, length);
  return full.substr(0, full.find_last_of('\\') + 1);
}

std::string ProgramPath(const std::string& exeName) {
  std::string quoted = "\"";
  quoted += ExeDirectory();
  quoted += exeName;
  quoted += '"';
  return quoted;
}

}  // namespace testing_process
