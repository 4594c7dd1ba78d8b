// The notification icon's context menu and the window's system menu.
#include "app/win_start.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
}  // namespace

void WinStart::ShowTrayMenu() {
  CALLSTACK_ENTER("WinStart:ShowTrayMenu", kModule);
}
