// The notification icon's context menu and the window's system menu.
#include <string>

#include "app/options.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "resources/resource_ids.h"

namespace {
constexpr const char* kModule = "A00  Start Window";

UINT KeyPauseId(std::size_t index) { return IDM_KEY_PAUSE_FIRST + static_cast<UINT>(index) * IDM_KEY_PAUSE_STEP; }
}  // namespace

void WinStart::AppendKeyPauses(Menu* popup) {
  if (popup == nullptr) return;
  for (std::size_t i = 0; i < std::size(kKeyPauses); ++i) {
    const unsigned ms = kKeyPauses[i];
    popup->AppendItem(KeyPauseId(i), ms == 0 ? std::string("None") : std::to_string(ms) + " ms", {}, [this, ms] {
      KeyPauseMs(ms);
      UpdateMenus();
    });
  }
}

void WinStart::BuildMenus() {
  CALLSTACK_ENTER("WinStart:BuildMenus", kModule);
  auto toggleTypeText = [this] {
    TypeAsText(!TypeAsText());
    UpdateMenus();
  };
  auto toggleStartWithWindows = [this] {
    StartWithWindows(!StartWithWindows());
    UpdateMenus();
  };
  if (trayMenu_.Init()) {
    trayMenu_.NameSym("TRAY");
    trayMenu_.AppendItem(IDM_SHOW, "Show TV-SERKEY", "SHOW", [this] { TrayIconClicked(); });
    trayMenu_.AppendItem(IDM_STOP, "Stop", "STOP", [this] {
      if (IsRunning()) ButtonStartStop();
    });
    AppendPortsMenu(trayMenu_);
    trayMenu_.AppendSeparator();
    trayMenu_.AppendItem(IDM_TYPE_TEXT, "Type as text", "TYPETEXT", toggleTypeText);
    AppendKeyPauses(trayMenu_.AppendPopup("Pause between keys"));
    trayMenu_.AppendItem(IDM_START_WITH_WINDOWS, "Start with Windows", "STARTWITHWINDOWS", toggleStartWithWindows);
    trayMenu_.AppendItem(IDM_DATA_RULES, "Data rules...", "DATARULES", [this] { ShowDataRules(); });
    trayMenu_.AppendItem(IDM_DEVICE, "Device...", "DEVICE", [this] { ShowDevice(); });
    trayMenu_.AppendItem(IDM_PAUSE_TYPING, "Pause typing", "PAUSETYPING", [this] { TypingPaused(!TypingPaused()); });
    trayMenu_.AppendSeparator();
    // Posted: the window must not go while the menu's own call is still on the stack.
    trayMenu_.AppendItem(IDM_EXIT, "Exit", "EXIT", [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
    trayMenu_.DefaultItem(IDM_SHOW);
    trayMenu_.OnOpen([this](Menu&, HMENU) { UpdateMenus(); });
  }
  // Here the options can be set while stopped, with no icon to click.
  if (systemMenu_.InitSystemMenu(Handle())) {
    systemMenu_.AppendSeparator();
    AppendPortsMenu(systemMenu_);
    systemMenu_.AppendItem(IDM_TYPE_TEXT, "Type as text", "TYPETEXT", toggleTypeText);
    AppendKeyPauses(systemMenu_.AppendPopup("Pause between keys"));
    systemMenu_.AppendItem(IDM_START_WITH_WINDOWS, "Start with Windows", "STARTWITHWINDOWS", toggleStartWithWindows);
    systemMenu_.AppendItem(IDM_DATA_RULES, "Data rules...", "DATARULES", [this] { ShowDataRules(); });
    systemMenu_.AppendItem(IDM_DEVICE, "Device...", "DEVICE", [this] { ShowDevice(); });
    systemMenu_.OnOpen([this](Menu&, HMENU) { UpdateMenus(); });
  }
  UpdateMenus();
}

// The Run value may be changed outside the program, so it is read each time.
void WinStart::UpdateMenus() {
  const bool startWithWindows = StartWithWindows();
  for (Menu* menu : {static_cast<Menu*>(&trayMenu_), static_cast<Menu*>(&systemMenu_)}) {
    menu->CheckItem(IDM_TYPE_TEXT, lTypeText);
    menu->CheckItem(IDM_START_WITH_WINDOWS, startWithWindows);
    for (std::size_t i = 0; i < std::size(kKeyPauses); ++i) menu->CheckItem(KeyPauseId(i), kKeyPauses[i] == keyPauseMs_);
    UpdateDataRulesItem(*menu);
  }
  trayMenu_.EnDisableItem(IDM_STOP, IsRunning());
  trayMenu_.EnDisableItem(IDM_PAUSE_TYPING, IsRunning());
  trayMenu_.CheckItem(IDM_PAUSE_TYPING, typingPaused_);
}

void WinStart::ShowTrayMenu() {
  CALLSTACK_ENTER("WinStart:ShowTrayMenu", kModule);
  UpdateMenus();
  trayMenu_.Track(Handle());
}
