#include "app/app_functions.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <random>

#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "Func  App";
}

std::string DriveRootOf(const std::string& path) {
  if (path.size() >= 3) return path.substr(0, 3);
  if (path.size() == 1) return path + ":\\";
  if (!path.empty() && path.back() == ':') return path + "\\";
  return path;
}

UINT VOGetDriveType(BoxOwner owner, const std::string& path) {
  CALLSTACK_ENTER("VOGetDriveType", kModule);
  const std::string root = DriveRootOf(path);
  const UINT type = GetDriveTypeA(root.c_str());
  CALLSTACK_LINE();
  if (type == DRIVE_UNKNOWN) {
    BoxError(owner, "Drive cannot be determined !" + CallStackEx(1));
  } else if (type == DRIVE_NO_ROOT_DIR) {
    BoxError(owner, "The root path is invalid or does not exist !" + CallStackEx(1));
  }
  return type;
}

double VORandom(long seed) {
  static std::mt19937 generator(
      static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count()));
  if (seed != 0) generator.seed(static_cast<std::mt19937::result_type>(seed));
  // A 32-bit draw over 2^32: every value in [0, 1), never 1 itself.
  return std::fabs(static_cast<double>(generator()) / 4294967296.0);
}

bool CommandLineRequestsStart(const std::string& commandLine) {
  std::string upper = commandLine;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const size_t quote = upper.rfind('"');
  std::string rest = quote == std::string::npos ? upper : upper.substr(quote + 1);
  const size_t first = rest.find_first_not_of(' ');
  rest = first == std::string::npos ? std::string() : rest.substr(first);
  return rest == "/START";
}

std::string ProgramDirectory() {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full(path, length);
  const size_t slash = full.find_last_of('\\');
  return slash == std::string::npos ? full : full.substr(0, slash + 1);
}
