#pragma once
// What the user is told about the ports on this computer: the items of the
// "Ports on this computer" menu and the status bar's note on the chosen port.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "serial/port_list.h"

struct PortMenuItem {
  UINT id;
  std::string port;  // empty for the "No COM port found" item
  std::string text;
  bool checked;
  bool enabled;
};

// One item per port, checked for `selected`; greyed while `running` and for
// ports that the Port list does not hold (`inList` false).
std::vector<PortMenuItem> PortMenuItems(const std::vector<PortDevice>& ports, const std::string& selected,
                                        bool running, const std::function<bool(const std::string&)>& inList);

// "COM3: USB-SERIAL CH340", or "COM7: not on this computer".
std::string PortNote(const std::vector<PortDevice>& ports, const std::string& selected);
