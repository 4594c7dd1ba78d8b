#include "app/ports_menu.h"

#include "resources/resource_ids.h"

// Port names go up to COM999 (port_list.h): their ids stay below the system
// menu's own commands.
static_assert(IDM_PORT_FIRST + 16 * 999 < 0xF000);

std::vector<PortMenuItem> PortMenuItems(const std::vector<PortDevice>& ports, const std::string& selected,
                                        bool running, const std::function<bool(const std::string&)>& inList) {
  std::vector<PortMenuItem> items;
  for (const PortDevice& port : ports) {
    const UINT id = IDM_PORT_FIRST + 16u * static_cast<UINT>(ComPortNumber(port.name));
    items.push_back({id, port.name, port.name + "  " + port.device, port.name == selected,
                     !running && inList(port.name)});
  }
  if (items.empty()) items.push_back({IDM_PORTS_NONE, "", "No COM port found", false, false});
  return items;
}

std::string PortNote(const std::vector<PortDevice>& ports, const std::string& selected) {
  if (selected.empty()) return {};
  for (const PortDevice& port : ports) {
    if (port.name == selected) return selected + ": " + port.device;
  }
  return selected + ": not on this computer";
}
