// Port notices as Windows may send them: the name in either form, and a
// record whose size ends before the name's NUL.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "platform/device_change.h"

namespace {

std::string Wide(const std::string& ascii) {
  std::string units;
  for (char c : ascii) units += std::string{c, '\0'};
  return units;
}

TEST(DeviceChange, PortNameIsReadInEitherFormAndNeverPastTheRecord) {
  const struct {
    const char* what;
    std::string name;  // the bytes after the header, the record's and beyond
    size_t inside;     // how many of them the record's size holds
    DWORD type;
    const char* port;  // empty: no port notice
  } cases[] = {
      {"ANSI with its NUL", std::string("COM3\0", 5), 5, DBT_DEVTYP_PORT, "COM3"},
      {"ANSI ended by the size", "com127", 5, DBT_DEVTYP_PORT, "COM12"},
      {"UTF-16 with its NUL", Wide("COM7") + std::string(2, '\0'), 10, DBT_DEVTYP_PORT, "COM7"},
      {"UTF-16 device path ended by the size", Wide("\\\\.\\COM98"), 16, DBT_DEVTYP_PORT, "COM9"},
      {"UTF-16 cut inside a character", Wide("COM10"), 9, DBT_DEVTYP_PORT, "COM1"},
      {"no name", "COM4", 0, DBT_DEVTYP_PORT, ""},
      {"not a port", "COM5", 5, DBT_DEVTYP_VOLUME, ""},
  };
  constexpr size_t kHeader = offsetof(DEV_BROADCAST_PORT_A, dbcp_name);
  for (const auto& c : cases) {
    std::string record(kHeader, '\0');
    const DWORD header[] = {static_cast<DWORD>(kHeader + c.inside), c.type, 0};
    record.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
    record += c.name + std::string(4, '\0');
    const DeviceChange change = ReadDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(record.data()));
    EXPECT_EQ(change.port, c.port) << c.what;
    EXPECT_EQ(change.kind, *c.port ? DeviceChange::PortArrived : DeviceChange::None) << c.what;
  }
}

}  // namespace
