#include "app/app.h"

#include <windows.h>

#include "app/app_functions.h"
#include "app/boxes.h"
#include "app/conventions.h"
#include "app/globals.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "registry/tv_registry.h"

namespace {
constexpr const char* kModule = "A00  Start";
constexpr const char* kBuildDate = "20140213";
}  // namespace

const char* const kNetworkRefusalText =
    "Aplikasi ini tidak boleh dijalankan langsung melalui Network,\r\n"
    "Anda mesti menginstall aplikasi ini pada Local Drive, dan menjalankannya dari Local Drive,\r\n"
    "kemudian baru boleh buka data melalui Network\r\n"
    "\r\n"
    "Bagaimana cara membuka data melalui Network, dapat anda baca melalui Help/Bantuan!";

const char* const kNoWindowText = "Jendela utama aplikasi tidak dapat dibuat.";
const char* const kNoWindowTextEnglish = "The main window of the application cannot be created.";

bool App::StartInitFor(const std::string& directory) {
  CALLSTACK_ENTER("App:StartInit", kModule);
  // Checked before the language is set, so always in Indonesian.
  if (directory.rfind("\\\\", 0) == 0 || VOGetDriveType(nullptr, directory) == DRIVE_REMOTE) {
    CALLSTACK_LINE();
    BoxError(this, kNetworkRefusalText);
    return false;
  }
  return true;
}

bool App::StartInit() { return StartInitFor(ProgramDirectory()); }

void App::Initialize() {
  CALLSTACK_ENTER("App:Initialize", kModule);
  ConventionsSetFixed();
  VORandom(0);
  LanguageSet(1);
  ApplicationNameSet("TV-SERKEY");
  AppReleaseSet(ReleaseFromBuildDate(kBuildDate));
  SharedRegistryCreate();
}

int App::Start() {
  CALLSTACK_ENTER("App:Start", kModule);
  if (!StartInit()) return 0;
  CALLSTACK_LINE();
  Initialize();
  CALLSTACK_LINE();
  WinStart window(this);
  if (window.Handle() == nullptr) {
    // Without its window the program could never be seen nor closed.
    BoxError(nullptr, LanguageGet() == 2 ? kNoWindowTextEnglish : kNoWindowText);
    return 1;
  }
  window.ShowCentered();
  CALLSTACK_LINE();
  if (CommandLineRequestsStart(GetCommandLineA())) window.ButtonStartStop();
  CALLSTACK_LINE();
  return RunMessageLoop();
}
