// Listing speed: VODir (entries converted with names, sizes, local times and
// attribute letters) beside a bare FindFirstFileA/FindNextFileA loop over
// the same folder. Prints figures only.
//   dir_benchmark.exe [folder = %TEMP%\tv_dir_benchmark] [files = 10000]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "util/directories.h"
#include "util/path_strings.h"

namespace {

double Now() {
  LARGE_INTEGER frequency{}, counter{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Fills the folder up to `count` small files; returns false on a failure.
bool Prepare(const std::string& folder, int count) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%05d.txt", i);
    const std::string path = folder + name;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, name, 6, &written, nullptr);
    CloseHandle(h);
  }
  return true;
}

std::size_t PlainLoop(const std::string& mask) {
  std::size_t n = 0;
  WIN32_FIND_DATAA data{};
  HANDLE find = FindFirstFileA(mask.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    ++n;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  if (argc > 1) {
    folder = VORetFullPath(argv[1]);
  } else {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "tv_dir_benchmark\\";
  }
  const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
  if (count <= 0 || !Prepare(folder, count)) {
    std::fprintf(stderr, "dir_benchmark: cannot prepare %d files in %s\n", count, folder.c_str());
    return 1;
  }
  const std::string mask = folder + "*.*";
  constexpr int kRounds = 5;
  PlainLoop(mask);  // warm the caches for both

  std::size_t dirEntries = 0;
  const double dirStart = Now();
  for (int r = 0; r < kRounds; ++r) dirEntries += VODir(mask, 0x80).size();
  const double dirSeconds = Now() - dirStart;

  std::size_t plainEntries = 0;
  const double plainStart = Now();
  for (int r = 0; r < kRounds; ++r) plainEntries += PlainLoop(mask);
  const double plainSeconds = Now() - plainStart;

  const double dirRate = dirSeconds > 0 ? dirEntries / dirSeconds : 0;
  const double plainRate = plainSeconds > 0 ? plainEntries / plainSeconds : 0;
  std::printf("directory listing of %zu entries x %d rounds in %s: VODir %.0f entries/s, "
              "FindFirstFileA/FindNextFileA %.0f entries/s, ratio VODir/plain %.2f\n",
              dirEntries / kRounds, kRounds, folder.c_str(), dirRate, plainRate,
              plainRate > 0 ? dirRate / plainRate : 0.0);
  return 0;
}
