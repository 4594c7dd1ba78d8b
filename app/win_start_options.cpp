// The two options of the main window, as its menus set them.
#include "app/boxes.h"
#include "app/options.h"
#include "app/win_start.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
}  // namespace

void WinStart::TypeAsText(bool on) {
  CALLSTACK_ENTER("WinStart:TypeAsText", kModule);
  if (!TypeTextOptionSet(on)) BoxError(this, "The option \"Type as text\" could not be saved.");
  // Used from the next batch on, saved or not: the user asked for it.
  lTypeText = on;
  if (port_) port_->Keys().TypeAsText(on);
}

bool WinStart::StartWithWindows() const { return StartWithWindowsGet(); }

void WinStart::StartWithWindows(bool on) {
  CALLSTACK_ENTER("WinStart:StartWithWindows", kModule);
  if (!StartWithWindowsSet(on)) {
    BoxError(this, on ? "TV-SERKEY could not be set to start with Windows."
                      : "TV-SERKEY could not be kept from starting with Windows.");
  }
}
