#include "platform/device_change.h"

#include <dbt.h>

#include <cctype>
#include <cstddef>
#include <cstring>

namespace {
constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_PORT_A, dbcp_name);
static_assert(kNameOffset == offsetof(DEV_BROADCAST_PORT_W, dbcp_name), "both forms put the name at one place");

// The documentation does not promise which form an ANSI window gets. A port
// name is ASCII, so in UTF-16 its first unit has a zero high byte; an ANSI
// name of one letter and its NUL is no port name.
bool IsWideName(const unsigned char* name, size_t bytes) { return bytes >= 2 && name[0] != 0 && name[1] == 0; }

// The name ends with its NUL or with the record, whichever comes first.
std::string NameOf(const unsigned char* name, size_t bytes) {
  if (!IsWideName(name, bytes)) {
    const char* ansi = reinterpret_cast<const char*>(name);
    return std::string(ansi, strnlen(ansi, bytes));
  }
  std::string narrow;
  for (size_t at = 0; at + 1 < bytes; at += 2) {
    const unsigned unit = name[at] | name[at + 1] << 8;
    if (unit == 0) break;
    narrow += unit < 0x80 ? static_cast<char>(unit) : '?';  // no port name goes beyond ASCII
  }
  return narrow;
}
}  // namespace

DeviceChange ReadDeviceChange(WPARAM wParam, LPARAM lParam) {
  DeviceChange change;
  if (wParam == DBT_DEVNODES_CHANGED) {
    change.kind = DeviceChange::DevicesChanged;
    return change;
  }
  if ((wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE) || lParam == 0) return change;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  // The size first: a record too short for its type holds no type to read.
  if (header->dbch_size <= kNameOffset || header->dbch_devicetype != DBT_DEVTYP_PORT) return change;
  const auto* name = reinterpret_cast<const unsigned char*>(lParam) + kNameOffset;
  std::string port = NameOf(name, header->dbch_size - kNameOffset);
  if (port.rfind("\\\\.\\", 0) == 0) port.erase(0, 4);
  if (port.empty()) return change;
  for (char& c : port) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  change.kind = wParam == DBT_DEVICEARRIVAL ? DeviceChange::PortArrived : DeviceChange::PortRemoved;
  change.port = port;
  return change;
}

void PostDevicesChanged(HWND window) { PostMessageA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0); }
