// The registry key object against the real registry, in a key of its own.
#include "registry/registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "registry/registry_roots.h"

namespace {

const char* const kTestRoot = "Software\\TvSerkeyTests";

class RegistryKey : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
    reg.Working_SubKey(kTestRoot);
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }

  // Writes a value of any type behind the object's back.
  void RawValue(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(kTestRoot) + "\\" + key).c_str(), name, type, data, size);
  }

  Class_HKCU reg;
};

TEST(RegistryPath, CleaningAndJoiningWithTheWorkingSubkey) {
  _Registry reg;
  reg.LastError(5);
  EXPECT_EQ(reg.Build_Full_SubKey("  \\Setting\\  "), "Setting");
  EXPECT_EQ(reg.Build_Full_SubKey("\\"), "");
  EXPECT_EQ(reg.Build_Full_SubKey("\\\\\\"), "");
  EXPECT_EQ(reg.Build_Full_SubKey(""), "");
  EXPECT_EQ(reg.Build_Full_SubKey("A\\ b c \\D"), "A\\ b c \\D") << "inner text goes unchanged";

  EXPECT_EQ(reg.Working_SubKey("\\Software\\Demo\\"), "Software\\Demo");
  EXPECT_EQ(reg.Build_Full_SubKey("Port"), "Software\\Demo\\Port");
  EXPECT_EQ(reg.Build_Full_SubKey("\\\\\\"), "Software\\Demo");
  EXPECT_EQ(reg.Build_Full_SubKey("\\ \\"), "Software\\Demo") << "a blank path gives the working subkey";

  EXPECT_EQ(reg.Working_SubKey("\\"), "\\") << "a lone backslash is kept";
  EXPECT_EQ(reg.Build_Full_SubKey("a"), "\\\\a");
  EXPECT_EQ(reg.LastError(), 5) << "path work leaves the last error alone";
}

TEST(RegistryRoots, OnlyPredefinedRootsAndFixedRootsNeverChange) {
  _Registry reg;
  EXPECT_EQ(reg.Key(), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.Key(HKEY_USERS), HKEY_USERS);
  EXPECT_EQ(reg.Key(HKEY_PERFORMANCE_DATA), HKEY_LOCAL_MACHINE);
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &opened), ERROR_SUCCESS);
  reg.Key(HKEY_CURRENT_USER);
  EXPECT_EQ(reg.Key(opened), HKEY_LOCAL_MACHINE) << "an opened key is not a root";
  RegCloseKey(opened);

  Class_HKCU user;
  EXPECT_EQ(user.Key(HKEY_LOCAL_MACHINE), HKEY_CURRENT_USER);
  _Registry& asBase = user;
  EXPECT_EQ(asBase.Key(HKEY_USERS), HKEY_CURRENT_USER) << "the override is reached through the base";
  EXPECT_EQ(Class_HKCR().Key(), HKEY_CLASSES_ROOT);
  EXPECT_EQ(Class_HKLM().Key(), HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryKey, StringsRoundTripTrimmedAndCutAt2046) {
  EXPECT_EQ(reg.WriteString("S", "Port", "COM3"), 0);
  EXPECT_EQ(reg.GetString("S", "Port"), "COM3");
  reg.WriteString("S", "Blanks", "abc   ");
  EXPECT_EQ(reg.GetString("S", "Blanks"), "abc");

  const std::string longText(3000, 'x');
  EXPECT_EQ(reg.WriteString("S", "Long", longText), 0);
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kTestRoot) + "\\S").c_str(), 0, KEY_READ, &key);
  DWORD size = 0;
  RegQueryValueExA(key, "Long", nullptr, nullptr, nullptr, &size);
  RegCloseKey(key);
  EXPECT_EQ(size, 2047u) << "2,046 characters and the NUL";
  EXPECT_EQ(reg.GetString("S", "Long"), std::string(2046, 'x'));
  EXPECT_EQ(reg.LastError(), 0);
}

TEST_F(RegistryKey, OtherTypesReadAsAbsentWithTheQueryCode) {
  const char expand[] = "%TEMP%";
  RawValue("T", "Expand", REG_EXPAND_SZ, expand, sizeof expand);
  EXPECT_EQ(reg.GetString("T", "Expand"), "");
  EXPECT_EQ(reg.LastError(), 0);
  EXPECT_EQ(reg.GetValueString("T", "Expand", "default"), "") << "no default for a value that exists";

  RawValue("T", "Two", REG_SZ, "ab", 3);
  EXPECT_EQ(reg.GetInt("T", "Two"), 0);
  EXPECT_EQ(reg.LastError(), 0);
  RawValue("T", "Seven", REG_SZ, "abcdefg", 8);
  EXPECT_EQ(reg.GetInt("T", "Seven"), 0);
  EXPECT_EQ(reg.LastError(), ERROR_MORE_DATA);
  EXPECT_EQ(reg.GetValueDWord("T", "Seven", 77), 77u);
}

TEST_F(RegistryKey, NumbersAndMissingValues) {
  EXPECT_EQ(reg.WriteInt("N", "Minus", -5), 0);
  EXPECT_EQ(reg.GetInt("N", "Minus"), -5);
  EXPECT_EQ(reg.WriteWord("N", "Big", 256000), 0);
  EXPECT_EQ(reg.GetWord("N", "Big"), 256000);
  EXPECT_EQ(reg.GetInt("N", "Missing"), 0);
  EXPECT_EQ(reg.LastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.GetValueDWord("N", "Missing", 9600), 9600u);
  EXPECT_EQ(reg.GetValueDWord("N", "Big", 9600), 256000u);
  EXPECT_EQ(reg.GetString("NoSuchKey", "X"), "");
  EXPECT_EQ(reg.LastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.GetValueString("NoSuchKey", "X", "dflt"), "dflt");
}

TEST_F(RegistryKey, KeysSubkeysAndDeletes) {
  EXPECT_EQ(reg.CreateKey("K\\One"), 0);
  reg.WriteString("K\\One", "V", "kept");
  EXPECT_EQ(reg.CreateSubKey("K\\One"), 0) << "an existing key is just opened";
  EXPECT_EQ(reg.GetString("K\\One", "V"), "kept");
  reg.CreateKey("K\\Two");
  EXPECT_EQ(reg.Get_SubKey_ValueNames("K"), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(reg.LastError(), 0);
  EXPECT_TRUE(reg.Get_SubKey_ValueNames("K\\One").empty());
  EXPECT_EQ(reg.LastError(), 0);
  EXPECT_TRUE(reg.Get_SubKey_ValueNames("K\\Missing").empty());
  EXPECT_EQ(reg.LastError(), ERROR_FILE_NOT_FOUND);

  EXPECT_EQ(reg.DeleteValue("K\\One", "Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.DeleteValueName("K\\One", "V"), 0);
  EXPECT_EQ(reg.DeleteSubKey("K"), 0);
  EXPECT_TRUE(reg.Get_SubKey_ValueNames("").empty());
  EXPECT_EQ(reg.Flush(), 0);
}

// The system would see such a path only up to its 0 byte: here the test key
// itself, which stands in for the whole hive a leading 0 byte would name.
TEST_F(RegistryKey, PathsHoldingAZeroByteAreRefusedAndTouchNothing) {
  ASSERT_EQ(reg.WriteString("Keep", "V", "kept"), 0);
  const std::string zeroPath("\0Probe", 6);
  const std::pair<const char*, std::function<std::int32_t()>> operations[] = {
      {"DeleteSubKey", [&] { return reg.DeleteSubKey(zeroPath); }},
      {"CreateKey", [&] { return reg.CreateKey(zeroPath); }},
      {"WriteString", [&] { return reg.WriteString(zeroPath, "V", "lost"); }},
      {"WriteInt", [&] { return reg.WriteInt("Keep", std::string("V\0W", 3), 1); }},
      {"DeleteValue", [&] { return reg.DeleteValue(zeroPath, "V"); }},
      {"GetInt", [&] { return reg.GetInt(zeroPath, "V"); }},
      {"GetString", [&] { return static_cast<std::int32_t>(reg.GetString(zeroPath, "V").size()); }},
      {"Get_SubKey_ValueNames", [&] { return static_cast<std::int32_t>(reg.Get_SubKey_ValueNames(zeroPath).size()); }},
  };
  for (const auto& [name, operation] : operations) {
    reg.LastError(0);
    const std::int32_t result = operation();
    EXPECT_EQ(reg.LastError(), ERROR_INVALID_PARAMETER) << name;
    if (std::string(name).rfind("Get", 0) != 0) {
      EXPECT_EQ(result, ERROR_INVALID_PARAMETER) << name;
    }
  }
  EXPECT_EQ(reg.GetValueString(zeroPath, "V", "default"), "default");

  reg.Working_SubKey(std::string(kTestRoot) + std::string("\0Junk", 5));
  EXPECT_EQ(reg.DeleteSubKey("Keep"), ERROR_INVALID_PARAMETER) << "a 0 byte in the working subkey";
  reg.Working_SubKey(kTestRoot);
  EXPECT_EQ(reg.GetString("Keep", "V"), "kept") << "the key and its value are untouched";
  EXPECT_TRUE(reg.Get_SubKey_ValueNames("").size() == 1u) << "nothing was created beside Keep";
}

TEST(RegistryDelete, AnEmptyPathNeverDeletesTheRoot) {
  Class_HKCU reg;
  EXPECT_EQ(reg.DeleteSubKey("  \\ "), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(reg.LastError(), ERROR_INVALID_PARAMETER);
  HKEY software = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
  RegCloseKey(software);

  // A lone backslash working subkey joined with an empty path names the root
  // itself (on HKEY_CLASSES_ROOT that empties the root). Asked here of the
  // current-configuration root, which is safe to try, with a key of ours as witness.
  _Registry config;
  config.Key(HKEY_CURRENT_CONFIG);
  ASSERT_EQ(config.CreateKey(kTestRoot), 0);
  config.Working_SubKey("\\");
  for (const char* path : {"", "  ", "\\", "\\ \\"}) {
    EXPECT_EQ(config.DeleteSubKey(path), ERROR_INVALID_PARAMETER) << '"' << path << '"';
  }
  config.Working_SubKey("");
  EXPECT_EQ(config.Get_SubKey_ValueNames(kTestRoot).size(), 0u);
  EXPECT_EQ(config.LastError(), 0) << "the witness key survived";
  EXPECT_EQ(config.DeleteSubKey(kTestRoot), 0);
}

// A subclass sees the calls one operation makes to another.
class CountingRegistry : public Class_HKCU {
 public:
  std::string Build_Full_SubKey(const std::string& path) override {
    ++builds;
    return Class_HKCU::Build_Full_SubKey(path);
  }
  std::int32_t CreateKey(const std::string& path) override {
    ++creates;
    return Class_HKCU::CreateKey(path);
  }
  int builds = 0;
  int creates = 0;
};

TEST(RegistryOverrides, OperationsCallEachOtherThroughTheVirtualSlots) {
  CountingRegistry reg;
  reg.Working_SubKey(kTestRoot);
  reg.CreateSubKey("Over");
  EXPECT_EQ(reg.creates, 1);
  EXPECT_GE(reg.builds, 1);
  reg.DeleteSubKey("");
  RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
}

}  // namespace
