#pragma once
// Keeps the process's current folder for one scope: routines that test a
// folder or a drive by making it current put the old one back on every way
// out, so relative paths mean afterwards what they meant before.
#include <string>

class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper();
  ~CurrentFolderKeeper();
  CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
  CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

 private:
  // Wide: the ANSI calls stop at MAX_PATH, and a current folder may be longer.
  std::wstring saved_;
};
