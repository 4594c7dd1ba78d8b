#pragma once
// A registry key object: every operation opens the key it names (relative to
// the object's root and working subkey), does one thing and closes it again.
// The Win32 result is returned and kept in LastError; nothing is raised.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Module name under which the registry classes enter the call-stack register.
inline constexpr const char* kRegistryModule = "Class  Registry";

class _Registry {
 public:
  _Registry();
  virtual ~_Registry() = default;
  _Registry(const _Registry&) = delete;
  _Registry& operator=(const _Registry&) = delete;

  // The virtual operations, in their slot order. Calls from one operation
  // to another go through these, so a subclass override is always seen.
  virtual std::string Working_SubKey() const;
  virtual std::string Working_SubKey(const std::string& path);
  virtual HKEY Key() const;
  virtual HKEY Key(HKEY root);
  virtual std::int32_t LastError() const;
  virtual std::int32_t LastError(std::int32_t code);
  virtual std::string Build_Full_SubKey(const std::string& path);
  virtual std::string GetString(const std::string& path, const std::string& valueName);
  virtual std::int32_t GetInt(const std::string& path, const std::string& valueName);
  virtual std::int32_t GetWord(const std::string& path, const std::string& valueName);
  virtual std::int32_t CreateKey(const std::string& path);
  virtual std::int32_t CreateSubKey(const std::string& path);
  virtual std::int32_t WriteString(const std::string& path, const std::string& valueName, const std::string& text);
  virtual std::int32_t WriteInt(const std::string& path, const std::string& valueName, std::int32_t number);
  virtual std::int32_t WriteWord(const std::string& path, const std::string& valueName, std::uint32_t number);
  virtual std::vector<std::string> Get_SubKey_ValueNames(const std::string& path);
  virtual std::int32_t DeleteValue(const std::string& path, const std::string& valueName);
  virtual std::int32_t DeleteValueName(const std::string& path, const std::string& valueName);
  virtual std::int32_t DeleteSubKey(const std::string& path);
  virtual std::int32_t Flush();
  virtual std::uint32_t GetValueDWord(const std::string& path, const std::string& valueName,
                                      std::uint32_t defaultValue);
  virtual std::string GetValueString(const std::string& path, const std::string& valueName,
                                     const std::string& defaultText);

  // The class string given to every key this object creates (always empty).
  std::string KeyClass;

 protected:
  // The base's own root assignment, for the fixed-root classes' constructors.
  HKEY AssignRoot(HKEY root);

 private:
  // True, with LastError 87, when the full path, the working subkey or the
  // value name holds a 0 byte; the operation then touches nothing.
  bool Refused(const std::string& fullPath, const std::string& valueName);
  // Creates (or opens) the full path for writing; null handle on failure.
  LSTATUS CreateForWrite(const std::string& fullPath, HKEY* key);
  std::int32_t WriteValue(const std::string& path, const std::string& valueName, DWORD type, const BYTE* data,
                          DWORD size);

  std::string workingSubKey_;
  std::int32_t lastError_ = 0;
  HKEY root_ = HKEY_LOCAL_MACHINE;
};

// Leading and trailing spaces off, then backslashes off both ends while at
// least two characters are left (a lone backslash stays).
std::string CleanRegistryPath(const std::string& path);

// One of the predefined roots a registry object may stand on.
bool IsAcceptedRoot(HKEY root);
