#pragma once
// What a WM_DEVICECHANGE message says about COM ports.
#include <windows.h>

#include <string>

struct DeviceChange {
  enum Kind { None, PortArrived, PortRemoved, DevicesChanged };
  Kind kind = None;
  std::string port;  // "COM3", upper-case, for PortArrived and PortRemoved
};

// Reads the message's record, its name ANSI or UTF-16, never past the
// record's size; anything not about a port, or a record that
// is malformed, is None (or DevicesChanged for DBT_DEVNODES_CHANGED).
DeviceChange ReadDeviceChange(WPARAM wParam, LPARAM lParam);
// Posts `window` the notice the system sends when devices were added or removed.
void PostDevicesChanged(HWND window);
