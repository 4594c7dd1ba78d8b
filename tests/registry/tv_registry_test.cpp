// The application's settings functions over the shared registry object.
#include "registry/tv_registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "app/globals.h"

namespace {

const char* const kAppKey = "Software\\Talvik\\TvSerkeyRegistryTest";

class SettingsFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplicationNameSet("TvSerkeyRegistryTest");
    RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    SharedRegistryCreate();
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    SharedRegistryDestroy();
  }
};

TEST_F(SettingsFunctions, DefaultsUntilWrittenThenTheStoredValue) {
  EXPECT_EQ(TVRegGetDWordEx("Setting", "BaudRate", 9600), 9600u);
  EXPECT_EQ(TVRegLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(TVRegWriteDWord("Setting", "BaudRate", 19200), 0);
  EXPECT_EQ(TVRegGetDWordEx("Setting", "BaudRate", 9600), 19200u);
  EXPECT_TRUE(TVRegSuccess());
  EXPECT_EQ(TVRegGetStringEx("Setting", "Port", "none"), "none");
  TVRegWriteString("Setting", "Port", "COM4");
  EXPECT_EQ(TVRegGetStringEx("Setting", "Port", "none"), "COM4");
  EXPECT_EQ(TVRegGetString("Setting", "Port"), "COM4");
  EXPECT_EQ(TVRegGetIntEx("Setting", "Missing", -3), -3);

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Talvik\\TvSerkeyRegistryTest\\Setting", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  RegQueryValueExA(key, "BaudRate", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 19200u);
}

TEST_F(SettingsFunctions, SixteenBitFamilyWidensAndTruncates) {
  TVRegWriteDWord("N", "Big", 128000);
  EXPECT_EQ(TVRegGetWord("N", "Big"), 62464);
  EXPECT_EQ(TVRegGetWordEx("N", "Big", 1), 62464);
  EXPECT_EQ(TVRegGetDWord("N", "Big"), 128000u);
  TVRegWriteShort("N", "Minus", -1);
  EXPECT_EQ(TVRegGetShort("N", "Minus"), -1);
  EXPECT_EQ(TVRegGetInt("N", "Minus"), 65535);
  EXPECT_EQ(TVRegGetShortEx("N", "Missing", -2), -2);
  EXPECT_EQ(TVRegGetIntEx("N", "Missing", 70000), 70000);
  EXPECT_EQ(TVRegGetIntEx("N", "Minus", 0), 65535);
  TVRegWriteWord("N", "Word", 65535);
  EXPECT_EQ(TVRegGetDWord("N", "Word"), 65535u);
}

TEST_F(SettingsFunctions, WrongTypeGivesTheEmptyValueNotTheDefault) {
  TVRegWriteDWord("Setting", "Port", 5);
  EXPECT_EQ(TVRegGetStringEx("Setting", "Port", "COM1"), "");
  TVRegWriteString("Setting", "Baud", "x");
  EXPECT_EQ(TVRegGetDWordEx("Setting", "Baud", 9600), 0u);
}

TEST_F(SettingsFunctions, KeysSubkeysAndTheWholeApplicationKey) {
  EXPECT_EQ(TVRegCreateKey("Setting"), 0);
  EXPECT_EQ(TVRegCreateKey("Setting"), 0);
  TVRegCreateKey("Other");
  EXPECT_EQ(TVRegGetAllSubKey(""), (std::vector<std::string>{"Other", "Setting"}));
  EXPECT_EQ(TVRegDeleteValue("Setting", "Nothing"), ERROR_FILE_NOT_FOUND);

  TVRegCreateKey("  Spaced");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Talvik\\TvSerkeyRegistryTest\\  Spaced", 0, KEY_READ, &key),
            ERROR_SUCCESS)
      << "leading spaces of a subkey sit inside the path and stay";
  RegCloseKey(key);

  EXPECT_EQ(TVRegDeleteKey(""), 0);
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kAppKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

// With a blank name a path would clean to Software\Talvik\<subkey>.
TEST_F(SettingsFunctions, WithoutAnApplicationNameNothingReachesTheRegistry) {
  const char* const kStray = "Software\\Talvik\\Probe";
  ASSERT_EQ(TVRegCreateKey("Setting"), 0);
  RegDeleteTreeA(HKEY_CURRENT_USER, kStray);
  const std::function<std::int32_t()> changes[] = {
      [] { return TVRegDeleteKey(""); },
      [] { return TVRegCreateKey("Probe"); },
      [] { return TVRegWriteString("Probe", "S", "x"); },
      [] { return TVRegWriteInt("Probe", "I", 1); },
      [] { return TVRegWriteShort("Probe", "H", 1); },
      [] { return TVRegWriteDWord("Probe", "D", 1); },
      [] { return TVRegWriteWord("Probe", "W", 1); },
      [] { return TVRegDeleteValue("Probe", "S"); },
  };
  for (const char* name : {"", "  ", "\\"}) {
    ApplicationNameSet(name);
    for (size_t i = 0; i < std::size(changes); ++i) {
      EXPECT_EQ(changes[i](), ERROR_INVALID_PARAMETER) << '"' << name << "\" change " << i;
      EXPECT_EQ(TVRegLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(TVRegGetDWordEx("Probe", "D", 7), 7u) << "a refused read gives the default";
    EXPECT_TRUE(TVRegGetAllSubKey("").empty());
    EXPECT_EQ(TVRegLastError(), ERROR_INVALID_PARAMETER);
  }
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kStray, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegDeleteTreeA(HKEY_CURRENT_USER, kStray);
  ApplicationNameSet("TvSerkeyRegistryTest");
  EXPECT_EQ(TVRegGetAllSubKey(""), (std::vector<std::string>{"Setting"})) << "Software\\Talvik was emptied";
}

TEST(SettingsBeforeStartUp, EveryFunctionGivesItsEmptyResult) {
  SharedRegistryDestroy();
  EXPECT_EQ(TVRegGetDWordEx("Setting", "BaudRate", 9600), 0u);
  EXPECT_EQ(TVRegGetStringEx("Setting", "Port", "COM1"), "");
  EXPECT_EQ(TVRegWriteString("Setting", "Port", "COM1"), 0);
  EXPECT_EQ(TVRegCreateKey("Setting"), 0);
  EXPECT_TRUE(TVRegGetAllSubKey("").empty());
  EXPECT_EQ(TVRegLastError(), 0);
  EXPECT_TRUE(TVRegSuccess());
}

}  // namespace
