#include "util/current_folder.h"

#include <windows.h>

CurrentFolderKeeper::CurrentFolderKeeper() {
  // The folder may change length between the two calls; ask until it fits.
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  while (size > 0) {
    saved_.assign(size, L'\0');
    const DWORD got = GetCurrentDirectoryW(size, saved_.data());
    if (got < size) {
      saved_.resize(got);
      return;
    }
    size = got;
  }
  saved_.clear();
}

CurrentFolderKeeper::~CurrentFolderKeeper() {
  if (!saved_.empty()) SetCurrentDirectoryW(saved_.c_str());
}
