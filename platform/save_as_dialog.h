#pragma once
// The system's "Save As" file dialog (ANSI): a default file name, a caption
// and extra OFN_ style bits on top of our usual set.
#include <windows.h>
// The OFN_ flags callers pass to SetStyle.
#include <commdlg.h>

#include <string>

class SaveAsDialog {
 public:
  SaveAsDialog(HWND owner, const std::string& defaultName) : owner_(owner), fileName_(defaultName) {}

  void Caption(const std::string& caption) { caption_ = caption; }
  // Adds OFN_ flags to the dialog's usual ones.
  void SetStyle(DWORD flags) { extraFlags_ |= flags; }
  // The flags the dialog is shown with.
  DWORD Flags() const;

  // Shows the dialog; true when the user chose a name (FileName() holds it),
  // false when the dialog was cancelled or could not be shown (FileName() empty).
  bool Show();
  const std::string& FileName() const { return fileName_; }

 private:
  HWND owner_;
  std::string fileName_;
  std::string caption_;
  DWORD extraFlags_ = 0;
};
