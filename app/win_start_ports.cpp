// The ports on this computer: the menu that lists them, the status bar's
// note on the chosen one, and devices that come and go.
#include <string>

#include "app/ports_menu.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/device_change.h"
#include "serial/port_list.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
}  // namespace

void WinStart::AppendPortsMenu(Menu& menu) {
  Menu* popup = menu.AppendPopup("Ports on this computer");
  // Filled as it opens: devices come and go while the program runs.
  if (popup != nullptr) popup->OnOpen([this](Menu& ports, HMENU) { FillPortsMenu(ports); });
}

void WinStart::FillPortsMenu(Menu& popup) {
  CALLSTACK_ENTER("WinStart:FillPortsMenu", kModule);
  for (int left = popup.ItemCount(); left > 0; --left) popup.ClearItem(popup.GetMenuItemID(0));
  auto inList = [this](const std::string& name) {
    for (int i = 0; i < oDCPort.ItemCount(); ++i) {
      if (oDCPort.ItemText(i) == name) return true;
    }
    return false;
  };
  for (const PortMenuItem& item : PortMenuItems(PortsOnThisComputer(), oDCPort.TextValue(), IsRunning(), inList)) {
    const std::string port = item.port;
    popup.AppendItem(item.id, item.text, {}, [this, port] { ChoosePort(port); });
    popup.CheckItem(item.id, item.checked);
    popup.EnDisableItem(item.id, item.enabled);
  }
}

// The lists are locked while running; the menu keeps to the same rule.
void WinStart::ChoosePort(const std::string& name) {
  CALLSTACK_ENTER("WinStart:ChoosePort", kModule);
  if (IsRunning() || name.empty()) return;
  if (oDCPort.SelectValue(name)) ShowPortNote();
}

void WinStart::ShowPortNote() { StatusBarNote(PortNote(PortsOnThisComputer(), oDCPort.TextValue())); }

void WinStart::DeviceChanged(WPARAM wParam, LPARAM lParam) {
  CALLSTACK_ENTER("WinStart:DeviceChanged", kModule);
  const DeviceChange change = ReadDeviceChange(wParam, lParam);
  if (change.kind == DeviceChange::None) return;
  if (port_) port_->DeviceChanged(change);
  ShowPortNote();
}
