#pragma once
// The COM ports that exist on this computer now, with the names of their
// devices, as the Device Manager would show them.
#include <string>
#include <vector>

struct PortDevice {
  std::string name;    // "COM3"
  std::string device;  // "USB-SERIAL CH340"; never empty
};

// Every COM port there is, sorted by number (COM2 before COM10), each once.
// Plug-and-play ports come with their friendly names; ports that only the
// driver's serial map knows (virtual and older drivers) with their kernel
// device name ("Serial0").
std::vector<PortDevice> PortsOnThisComputer();

// The number of "COM3" (3), or 0 for a name that is not one of COM1 to COM999.
int ComPortNumber(const std::string& name);

// A friendly name without the " (COM3)" that Windows appends to it.
std::string DeviceNameWithoutPort(const std::string& friendlyName, const std::string& port);
