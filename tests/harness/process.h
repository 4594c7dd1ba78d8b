#pragma once
// Starting and watching other processes from a test.
#include <windows.h>

#include <string>

#include "platform/handles.h"

namespace testing_process {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `commandLine` exactly as given (the program path may be quoted or not).
  bool Start(const std::string& commandLine, const std::string& workingDirectory = {});
  DWORD Pid() const { return pid_; }
  HANDLE Handle() const { return process_.Get(); }
  bool Running() const;
  // Waits for the end; false on time-out. `exitCode` receives the code.
  bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  KernelHandle process_;
  DWORD pid_ = 0;
};

// Folder of the running test executable, with a trailing backslash.
std::string ExeDirectory();
// Quoted full path of a program beside the test executable.
std::string ProgramPath(const std::string& exeName);

}  // namespace testing_process

namespace testing_process {
// Quoted path of the program under test (it is built beside the tests).
inline std::string ProductPath() { return ProgramPath("TV-SERKEY.exe"); }
}  // namespace testing_process
