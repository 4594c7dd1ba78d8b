#include "registry/registry.h"

#include <shlwapi.h>

#include <cstring>

#include "errors/callstack.h"
#include "platform/handles.h"

namespace {

constexpr DWORD kBufferBytes = 2048;
constexpr size_t kLongestText = 2046;
constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// The system reads a key path or value name only up to its first 0 byte, so
// one holding a 0 byte would name another key: the root itself for a leading one.
bool HoldsNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// Nothing but blanks and backslashes: a path that names the root itself.
bool NamesTheRoot(const std::string& path) { return path.find_first_not_of(" \\") == std::string::npos; }

std::string TrimTrailingSpaces(std::string text) {
  const size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

std::string CleanRegistryPath(const std::string& path) {
  const size_t first = path.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  std::string cleaned = path.substr(first, path.find_last_not_of(' ') - first + 1);
  while (cleaned.size() >= 2 && cleaned.back() == '\\') cleaned.pop_back();
  while (cleaned.size() >= 2 && cleaned.front() == '\\') cleaned.erase(0, 1);
  return cleaned;
}

bool IsAcceptedRoot(HKEY root) {
  return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE ||
         root == HKEY_USERS || root == HKEY_CURRENT_CONFIG || root == HKEY_DYN_DATA;
}

_Registry::_Registry() {
  CALLSTACK_ENTER("_Registry:Init", kRegistryModule);
  LastError(0);
}

std::string _Registry::Working_SubKey() const { return workingSubKey_; }

std::string _Registry::Working_SubKey(const std::string& path) {
  workingSubKey_ = CleanRegistryPath(path);
  return workingSubKey_;
}

HKEY _Registry::Key() const { return root_; }

HKEY _Registry::Key(HKEY root) { return AssignRoot(root); }

HKEY _Registry::AssignRoot(HKEY root) {
  root_ = IsAcceptedRoot(root) ? root : HKEY_LOCAL_MACHINE;
  return root_;
}

std::int32_t _Registry::LastError() const { return lastError_; }

std::int32_t _Registry::LastError(std::int32_t code) {
  lastError_ = code;
  return lastError_;
}

bool _Registry::Refused(const std::string& fullPath, const std::string& valueName) {
  if (!HoldsNul(fullPath) && !HoldsNul(Working_SubKey()) && !HoldsNul(valueName)) return false;
  LastError(ERROR_INVALID_PARAMETER);
  return true;
}

std::string _Registry::Build_Full_SubKey(const std::string& path) {
  std::string cleaned = CleanRegistryPath(path);
  if (cleaned == "\\") cleaned.clear();
  const std::string working = Working_SubKey();
  if (cleaned.find_first_not_of(' ') == std::string::npos) return working;
  if (working.find_first_not_of(' ') == std::string::npos) return cleaned;
  return working + "\\" + cleaned;
}

std::string _Registry::GetString(const std::string& path, const std::string& valueName) {
  CALLSTACK_ENTER("_Registry:GetString", kRegistryModule);
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, valueName)) return {};
  RegKey key;
  HKEY opened = nullptr;
  LSTATUS result = RegOpenKeyExA(Key(), fullPath.c_str(), 0, KEY_QUERY_VALUE, &opened);
  if (result != ERROR_SUCCESS) {
    LastError(result);
    return {};
  }
  key.Reset(opened);
  // Spaces behind the data: a value stored without its NUL still ends in
  // spaces, which the trimming below removes.
  std::string buffer(kBufferBytes, ' ');
  buffer.back() = '\0';
  DWORD type = REG_NONE;
  DWORD size = kBufferBytes;
  result = RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                            &size);
  key.Reset();
  std::string text;
  if (result == ERROR_SUCCESS && type == REG_SZ) text = buffer.c_str();
  LastError(result);
  return TrimTrailingSpaces(text);
}

std::int32_t _Registry::GetInt(const std::string& path, const std::string& valueName) {
  CALLSTACK_ENTER("_Registry:GetInt", kRegistryModule);
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, valueName)) return 0;
  HKEY opened = nullptr;
  LSTATUS result = RegOpenKeyExA(Key(), fullPath.c_str(), 0, KEY_QUERY_VALUE, &opened);
  if (result != ERROR_SUCCESS) {
    LastError(result);
    return 0;
  }
  RegKey key(opened);
  std::uint32_t value = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof value;
  result = RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  key.Reset();
  if (type != REG_DWORD) value = 0;
  LastError(result);
  return static_cast<std::int32_t>(value);
}

std::int32_t _Registry::GetWord(const std::string& path, const std::string& valueName) {
  CALLSTACK_ENTER("_Registry:GetWord", kRegistryModule);
  return GetInt(path, valueName);
}

LSTATUS _Registry::CreateForWrite(const std::string& fullPath, HKEY* key) {
  *key = nullptr;
  return RegCreateKeyExA(Key(), fullPath.c_str(), 0, KeyClass.empty() ? nullptr : const_cast<char*>(KeyClass.c_str()),
                         REG_OPTION_NON_VOLATILE, kWriteAccess, nullptr, key, nullptr);
}

std::int32_t _Registry::CreateKey(const std::string& path) {
  CALLSTACK_ENTER("_Registry:CreateKey", kRegistryModule);
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, {})) return LastError();
  HKEY created = nullptr;
  const LSTATUS result = CreateForWrite(fullPath, &created);
  RegKey closeAtOnce(result == ERROR_SUCCESS ? created : nullptr);
  return LastError(result);
}

std::int32_t _Registry::CreateSubKey(const std::string& path) {
  CALLSTACK_ENTER("_Registry:CreateSubKey", kRegistryModule);
  return CreateKey(path);
}

std::int32_t _Registry::WriteValue(const std::string& path, const std::string& valueName, DWORD type,
                                   const BYTE* data, DWORD size) {
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, valueName)) return LastError();
  HKEY created = nullptr;
  LSTATUS result = CreateForWrite(fullPath, &created);
  if (result == ERROR_SUCCESS) {
    RegKey key(created);
    result = RegSetValueExA(key.Get(), valueName.c_str(), 0, type, data, size);
  }
  return LastError(result);
}

std::int32_t _Registry::WriteString(const std::string& path, const std::string& valueName, const std::string& text) {
  CALLSTACK_ENTER("_Registry:WriteString", kRegistryModule);
  const std::string stored = text.substr(0, kLongestText);
  // The size counts the terminating NUL, so other readers find it stored.
  return WriteValue(path, valueName, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                    static_cast<DWORD>(stored.size() + 1));
}

std::int32_t _Registry::WriteInt(const std::string& path, const std::string& valueName, std::int32_t number) {
  CALLSTACK_ENTER("_Registry:WriteInt", kRegistryModule);
  return WriteValue(path, valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

std::int32_t _Registry::WriteWord(const std::string& path, const std::string& valueName, std::uint32_t number) {
  CALLSTACK_ENTER("_Registry:WriteWord", kRegistryModule);
  return WriteValue(path, valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

std::vector<std::string> _Registry::Get_SubKey_ValueNames(const std::string& path) {
  CALLSTACK_ENTER("_Registry:Get_SubKey_ValueNames", kRegistryModule);
  std::vector<std::string> names;
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, {})) return names;
  HKEY opened = nullptr;
  LSTATUS result = RegOpenKeyExA(Key(), fullPath.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &opened);
  if (result != ERROR_SUCCESS) {
    LastError(result);
    return names;
  }
  RegKey key(opened);
  std::string buffer(kBufferBytes, '\0');
  for (DWORD index = 0; result == ERROR_SUCCESS || result == ERROR_MORE_DATA; ++index) {
    DWORD size = kBufferBytes;
    FILETIME written;
    result = RegEnumKeyExA(key.Get(), index, buffer.data(), &size, nullptr, nullptr, nullptr, &written);
    if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) names.emplace_back(buffer.c_str());
  }
  if (result == ERROR_NO_MORE_ITEMS) result = ERROR_SUCCESS;
  key.Reset();
  LastError(result);
  return names;
}

std::int32_t _Registry::DeleteValue(const std::string& path, const std::string& valueName) {
  CALLSTACK_ENTER("_Registry:DeleteValue", kRegistryModule);
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, valueName)) return LastError();
  HKEY opened = nullptr;
  LSTATUS result = RegOpenKeyExA(Key(), fullPath.c_str(), 0, kWriteAccess, &opened);
  if (result == ERROR_SUCCESS) {
    RegKey key(opened);
    result = RegDeleteValueA(key.Get(), valueName.c_str());
  }
  return LastError(result);
}

std::int32_t _Registry::DeleteValueName(const std::string& path, const std::string& valueName) {
  CALLSTACK_ENTER("_Registry:DeleteValueName", kRegistryModule);
  return DeleteValue(path, valueName);
}

std::int32_t _Registry::DeleteSubKey(const std::string& path) {
  CALLSTACK_ENTER("_Registry:DeleteSubKey", kRegistryModule);
  const std::string fullPath = Build_Full_SubKey(path);
  if (Refused(fullPath, {})) return LastError();
  // An empty, blank or backslash-only path names the root itself (a lone
  // backslash working subkey gives one): never delete a whole hive.
  if (NamesTheRoot(fullPath)) return LastError(ERROR_INVALID_PARAMETER);
  return LastError(static_cast<std::int32_t>(SHDeleteKeyA(Key(), fullPath.c_str())));
}

std::int32_t _Registry::Flush() {
  CALLSTACK_ENTER("_Registry:Flush", kRegistryModule);
  return LastError(RegFlushKey(Key()));
}

std::uint32_t _Registry::GetValueDWord(const std::string& path, const std::string& valueName,
                                       std::uint32_t defaultValue) {
  CALLSTACK_ENTER("_Registry:GetValueDWord", kRegistryModule);
  const auto value = static_cast<std::uint32_t>(GetWord(path, valueName));
  return LastError() == 0 ? value : defaultValue;
}

std::string _Registry::GetValueString(const std::string& path, const std::string& valueName,
                                      const std::string& defaultText) {
  CALLSTACK_ENTER("_Registry:GetValueString", kRegistryModule);
  std::string text = GetString(path, valueName);
  return LastError() == 0 ? text : defaultText;
}
