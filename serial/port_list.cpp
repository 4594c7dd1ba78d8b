#include "serial/port_list.h"

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/handles.h"

namespace {
// The Ports device class (GUID_DEVCLASS_PORTS): COM and LPT ports.
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// A REG_SZ read with its length bounded by what the system reported.
std::string StringValue(HKEY key, const char* name) {
  char buffer[256] = {};
  DWORD type = 0, size = sizeof buffer - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return std::string(buffer, strnlen(buffer, size));
}

struct DeviceInfoListTraits {
  using Type = HDEVINFO;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type h) { return SetupDiDestroyDeviceInfoList(h) != FALSE; }
};
using DeviceList = UniqueOwner<DeviceInfoListTraits>;

void AddPlugAndPlayPorts(std::vector<PortDevice>& ports) {
  const DeviceList list(SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT));
  if (!list) return;
  SP_DEVINFO_DATA info{};
  info.cbSize = sizeof info;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(list.Get(), i, &info); ++i) {
    // "PortName" is in the device's own key; the LPT ports of the class fail the test below.
    HKEY raw = SetupDiOpenDevRegKey(list.Get(), &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (raw == INVALID_HANDLE_VALUE || raw == nullptr) continue;
    RegKey key(raw);
    const std::string name = Upper(StringValue(key.Get(), "PortName"));
    if (ComPortNumber(name) == 0) continue;
    char friendly[256] = {};
    DWORD type = 0;
    std::string device;
    if (SetupDiGetDeviceRegistryPropertyA(list.Get(), &info, SPDRP_FRIENDLYNAME, &type,
                                          reinterpret_cast<BYTE*>(friendly), sizeof friendly - 1, nullptr)) {
      device = DeviceNameWithoutPort(friendly, name);
    }
    ports.push_back({name, device.empty() ? "Serial port" : device});
  }
}

// HARDWARE\DEVICEMAP\SERIALCOMM: value name the kernel device ("\Device\Serial0"), data the port.
void AddSerialMapPorts(std::vector<PortDevice>& ports) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
  RegKey key(raw);
  for (DWORD i = 0;; ++i) {
    char device[256] = {};
    char port[64] = {};
    DWORD deviceSize = sizeof device, type = 0, portSize = sizeof port - 1;
    const LONG result = RegEnumValueA(key.Get(), i, device, &deviceSize, nullptr, &type,
                                      reinterpret_cast<BYTE*>(port), &portSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    const std::string name = Upper(std::string(port, strnlen(port, portSize)));
    if (ComPortNumber(name) == 0) continue;
    std::string kernelName(device, deviceSize);
    const size_t slash = kernelName.find_last_of('\\');
    if (slash != std::string::npos) kernelName.erase(0, slash + 1);
    ports.push_back({name, kernelName.empty() ? "Serial port" : kernelName});
  }
}
}  // namespace

int ComPortNumber(const std::string& name) {
  if (name.size() < 4 || name.size() > 6 || Upper(name.substr(0, 3)) != "COM" || name[3] == '0') return 0;
  int number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

std::string DeviceNameWithoutPort(const std::string& friendlyName, const std::string& port) {
  const std::string suffix = " (" + port + ")";
  if (friendlyName.size() > suffix.size() &&
      Upper(friendlyName.substr(friendlyName.size() - suffix.size())) == Upper(suffix)) {
    return friendlyName.substr(0, friendlyName.size() - suffix.size());
  }
  return friendlyName;
}

std::vector<PortDevice> PortsOnThisComputer() {
  std::vector<PortDevice> ports;
  // Plug-and-play first: where both know a port, its friendly name wins.
  AddPlugAndPlayPorts(ports);
  AddSerialMapPorts(ports);
  std::stable_sort(ports.begin(), ports.end(), [](const PortDevice& a, const PortDevice& b) {
    return ComPortNumber(a.name) < ComPortNumber(b.name);
  });
  ports.erase(std::unique(ports.begin(), ports.end(),
                          [](const PortDevice& a, const PortDevice& b) { return a.name == b.name; }),
              ports.end());
  return ports;
}
