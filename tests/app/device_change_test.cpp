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

// The documentation does not promise an ANSI window the ANSI form.
TEST(DeviceChange, PortNameIsReadInEitherFormAndNeverPastTheRecord) {
  const struct {
    std::string name;  // the bytes after the header, the record's and beyond
    size_t inside;     // how many of them the record's size holds
    const char* port;
  } cases[] = {
      {std::string("COM3\0", 5), 5, "COM3"},           {"com127", 5, "COM12"},
      {Wide("COM7") + std::string(2, '\0'), 10, "COM7"}, {Wide("\\\\.\\COM98"), 16, "COM9"},
      {Wide("COM10"), 9, "COM1"},  // cut inside a character
  };
  constexpr size_t kHeader = offsetof(DEV_BROADCAST_PORT_A, dbcp_name);
  for (const auto& c : cases) {
    const DWORD header[] = {static_cast<DWORD>(kHeader + c.inside), DBT_DEVTYP_PORT, 0};
    const std::string record =
        std::string(reinterpret_cast<const char*>(header), kHeader) + c.name + std::string(4, '\0');
    const DeviceChange change = ReadDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(record.data()));
    EXPECT_EQ(change.port, c.port) << c.port;
    EXPECT_EQ(change.kind, DeviceChange::PortArrived) << c.port;
  }
}

}  // namespace
