#pragma once
// The application's settings functions: each works on one subkey path under
// HKEY_CURRENT_USER\Software\Talvik\<application name>\ through the one
// shared registry object that start-up creates.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class Class_HKCU;

// Start-up creates the shared object; until then every function returns its
// empty result (0, empty text, empty list) and TVRegSuccess is true.
void SharedRegistryCreate();
Class_HKCU* SharedRegistry();
// Drops the shared object again (for tests of the state before start-up).
void SharedRegistryDestroy();

std::int32_t TVRegCreateKey(const std::string& subkey);

std::string TVRegGetString(const std::string& subkey, const std::string& name);
std::string TVRegGetStringEx(const std::string& subkey, const std::string& name, const std::string& defaultText);
std::int32_t TVRegGetInt(const std::string& subkey, const std::string& name);
std::int32_t TVRegGetIntEx(const std::string& subkey, const std::string& name, std::int32_t defaultValue);
std::int16_t TVRegGetShort(const std::string& subkey, const std::string& name);
std::int16_t TVRegGetShortEx(const std::string& subkey, const std::string& name, std::int16_t defaultValue);
DWORD TVRegGetDWord(const std::string& subkey, const std::string& name);
DWORD TVRegGetDWordEx(const std::string& subkey, const std::string& name, DWORD defaultValue);
std::uint16_t TVRegGetWord(const std::string& subkey, const std::string& name);
std::uint16_t TVRegGetWordEx(const std::string& subkey, const std::string& name, std::uint16_t defaultValue);

std::int32_t TVRegWriteString(const std::string& subkey, const std::string& name, const std::string& text);
std::int32_t TVRegWriteInt(const std::string& subkey, const std::string& name, std::int32_t value);
std::int32_t TVRegWriteShort(const std::string& subkey, const std::string& name, std::int16_t value);
std::int32_t TVRegWriteDWord(const std::string& subkey, const std::string& name, DWORD value);
std::int32_t TVRegWriteWord(const std::string& subkey, const std::string& name, std::uint16_t value);

// The key and everything under it.
std::int32_t TVRegDeleteKey(const std::string& subkey);
std::int32_t TVRegDeleteValue(const std::string& subkey, const std::string& name);
// Names of the subkeys of `subkey`.
std::vector<std::string> TVRegGetAllSubKey(const std::string& subkey);

std::int32_t TVRegLastError();
bool TVRegSuccess();
