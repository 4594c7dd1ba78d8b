#include "tests/files/temp_folder.h"

#include <shellapi.h>

#include <atomic>

namespace {
std::atomic<unsigned> counter{0};
}

TempFolder::TempFolder() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + "tvfiles_" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(counter++) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  // Read-only and hidden entries would block the shell's delete.
  std::string from = path_.substr(0, path_.size() - 1);
  WIN32_FIND_DATAA data{};
  HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      SetFileAttributesA((path_ + data.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  from.push_back('\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&op);
}

std::string TempFolder::File(const std::string& name, const std::string& content) const {
  const std::string full = path_ + name;
  HANDLE h = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
  }
  return full;
}
