#pragma once
// The shell's folder picker as a modal dialog object: set it up, Show() it,
// then read FolderName(), which is empty when the user cancelled.
#include <windows.h>

#include <string>

class StandardFolderDialog {
 public:
  StandardFolderDialog(HWND owner, const std::string& caption, const std::string& startFolder, UINT flags);

  // Runs the dialog; true when the user confirmed a folder.
  bool Show();
  const std::string& FolderName() const { return folder_; }

 private:
  static int CALLBACK Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data);

  HWND owner_;
  std::string caption_;
  std::string start_;
  UINT flags_;
  std::string folder_;
};
