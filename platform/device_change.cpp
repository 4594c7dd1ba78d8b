#include "platform/device_change.h"

#include <dbt.h>

#include <cctype>
#include <cstddef>
#include <cstring>

DeviceChange ReadDeviceChange(WPARAM wParam, LPARAM lParam) {
  DeviceChange change;
  if (wParam == DBT_DEVNODES_CHANGED) {
    change.kind = DeviceChange::DevicesChanged;
    return change;
  }
  if ((wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE) || lParam == 0) return change;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_PORT_A, dbcp_name);
  if (header->dbch_devicetype != DBT_DEVTYP_PORT || header->dbch_size <= kNameOffset) return change;
  // The name ends with its NUL or with the record, whichever comes first.
  const char* name = reinterpret_cast<const DEV_BROADCAST_PORT_A*>(lParam)->dbcp_name;
  std::string port(name, strnlen(name, header->dbch_size - kNameOffset));
  if (port.rfind("\\\\.\\", 0) == 0) port.erase(0, 4);
  if (port.empty()) return change;
  for (char& c : port) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  change.kind = wParam == DBT_DEVICEARRIVAL ? DeviceChange::PortArrived : DeviceChange::PortRemoved;
  change.port = port;
  return change;
}

void PostDevicesChanged(HWND window) { PostMessageA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0); }
