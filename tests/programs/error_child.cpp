// A program that ends through the error report, for the tests of that path:
//   error_child system <log> <language> <message> [index file]
//   error_child hex <log>
//   error_child crash <log>
//   error_child overflow <log> [patience ms]
//   error_child stuck <log>       (an overflow whose report cannot go on)
// With TV_TEST_PROGRAM_FOLDER set, that folder is taken as the executable's.
// It shows a plain top-level window first, so that a test can see the error
// window disable it. Reaching the end of main (exit code 3) means the
// fatal path returned, which it never may.
#include <windows.h>
#include <malloc.h>

#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "errors/callstack.h"
#include "errors/error_handler.h"
#include "errors/exception_filter.h"
#include "errors/report_folder.h"
#include "util/hex.h"

namespace {
// Called through a pointer: the compiler then does not take the innermost
// level's noreturn call for an endless recursion.
void (*volatile fatal)(const std::string&, std::uint16_t) = SystemError;

// Twelve nested routines: deeper than the report ever lists.
void Nested(int depth, const std::string& message) {
  CALLSTACK_ENTER("Nested", "Func  Child");
  callFrame_.Line(100 + depth);
  if (depth < 12) {
    Nested(depth + 1, message);
    return;
  }
  fatal(message, 1);
}

void Crash() {
  CALLSTACK_ENTER("Crash", "Func  Child");
  callFrame_.Line(42);
  // Through a volatile pointer: a plain null store is undefined, and the
  // compiler would be free to drop the line update before it.
  volatile int* volatile target = nullptr;
  *target = 1;
}

// Endless recursion until the stack runs out; through a pointer and with
// work after the call, so that it stays a real recursion.
int Overflow(int depth);
int (*volatile recurse)(int) = Overflow;
int Overflow(int depth) {
  CALLSTACK_ENTER("Overflow", "Func  Child");
  callFrame_.Line(77);
  volatile char room[512] = {};
  room[depth % sizeof room] = static_cast<char>(depth);
  return recurse(depth + 1) + room[0];
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string scenario = argv[1];
  ApplicationNameSet("TV-SERKEY");
  AppReleaseSet(" Build 2014.02.13");
  ErrorFileSet(argv[2]);
  if (const char* folder = std::getenv("TV_TEST_PROGRAM_FOLDER")) ReportProgramFolderUse(folder);
  HWND window = CreateWindowA("STATIC", "error-child", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
  (void)window;
  CALLSTACK_ENTER("main", "Func  Child");
  if (scenario == "system" && argc >= 5) {
    LanguageSet(static_cast<std::uint16_t>(std::stoi(argv[3])));
    if (argc >= 6) IndexCreatedSet(argv[5]);
    Nested(1, argv[4]);
  } else if (scenario == "hex") {
    LanguageSet(2);
    VOHex2Asc("4");
  } else if (scenario == "crash") {
    LanguageSet(2);
    InstallErrorExceptionFilter();
    Crash();
  } else if (scenario == "overflow") {
    LanguageSet(2);
    InstallErrorExceptionFilter(argc >= 4 ? std::stoul(argv[3]) : 30000);
    return Overflow(0);
  } else if (scenario == "stuck") {
    LanguageSet(2);
    InstallErrorExceptionFilter(2000);
    // As an overflow inside the allocator leaves it: every allocation of
    // the report waits for this thread, which never lets go.
    HeapLock(reinterpret_cast<HANDLE>(_get_heap_handle()));
    return Overflow(0);
  }
  return 3;
}
