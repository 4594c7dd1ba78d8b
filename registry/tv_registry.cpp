#include "registry/tv_registry.h"

#include <memory>

#include "app/globals.h"
#include "errors/callstack.h"
#include "registry/registry_roots.h"

namespace {

std::unique_ptr<Class_HKCU> g_shared;

// The subkey joins the path unchanged; the registry object cleans the ends.
std::string AppPath(const std::string& subkey) { return "Software\\Talvik\\" + ApplicationNameGet() + "\\" + subkey; }

// Without an application name every path would land in Software\Talvik, or
// in another application's key below it: nothing may reach the registry
// then. True, with LastError 87, when the call must stop here.
bool Refused() {
  if (ApplicationNameGet().find_first_not_of(" \\") != std::string::npos) return false;
  g_shared->LastError(ERROR_INVALID_PARAMETER);
  return true;
}

// A read through the shared object with the application path of `subkey`;
// `empty` without the object or without an application name.
template <class Result, class Operation>
Result Read(const std::string& subkey, Result empty, Operation operation) {
  if (!g_shared || Refused()) return empty;
  return operation(*g_shared, AppPath(subkey));
}

// A create, write or delete: its result code, 0 without the object, 87
// without an application name.
template <class Operation>
std::int32_t Change(const std::string& subkey, Operation operation) {
  if (!g_shared) return 0;
  if (Refused()) return ERROR_INVALID_PARAMETER;
  return operation(*g_shared, AppPath(subkey));
}

// 16-bit values are widened with zeros, signed or not: -1 is stored as 65535.
std::uint32_t Widen(std::int16_t value) { return static_cast<std::uint16_t>(value); }

}  // namespace

void SharedRegistryCreate() { g_shared = std::make_unique<Class_HKCU>(); }
Class_HKCU* SharedRegistry() { return g_shared.get(); }
void SharedRegistryDestroy() { g_shared.reset(); }

std::int32_t TVRegCreateKey(const std::string& subkey) {
  CALLSTACK_ENTER("TVRegCreateKey", kRegistryModule);
  return Change(subkey, [&](Class_HKCU& r, const std::string& p) { return r.CreateKey(p); });
}

std::string TVRegGetString(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetString", kRegistryModule);
  return Read(subkey, std::string(), [&](Class_HKCU& r, const std::string& p) { return r.GetString(p, name); });
}

std::string TVRegGetStringEx(const std::string& subkey, const std::string& name, const std::string& defaultText) {
  CALLSTACK_ENTER("TVRegGetStringEx", kRegistryModule);
  if (!g_shared) return {};
  std::string text = TVRegGetString(subkey, name);
  return TVRegSuccess() ? text : defaultText;
}

std::int32_t TVRegGetInt(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetInt", kRegistryModule);
  return Read(subkey, std::int32_t{0}, [&](Class_HKCU& r, const std::string& p) { return r.GetInt(p, name); });
}

std::int32_t TVRegGetIntEx(const std::string& subkey, const std::string& name, std::int32_t defaultValue) {
  CALLSTACK_ENTER("TVRegGetIntEx", kRegistryModule);
  if (!g_shared) return 0;
  const std::int32_t value = TVRegGetInt(subkey, name);
  return TVRegSuccess() ? value : defaultValue;
}

std::int16_t TVRegGetShort(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetShort", kRegistryModule);
  return static_cast<std::int16_t>(TVRegGetInt(subkey, name) & 0xFFFF);
}

std::int16_t TVRegGetShortEx(const std::string& subkey, const std::string& name, std::int16_t defaultValue) {
  CALLSTACK_ENTER("TVRegGetShortEx", kRegistryModule);
  return static_cast<std::int16_t>(
      TVRegGetIntEx(subkey, name, static_cast<std::int32_t>(Widen(defaultValue))) & 0xFFFF);
}

DWORD TVRegGetDWord(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetDWord", kRegistryModule);
  return Read(subkey, DWORD{0},
                          [&](Class_HKCU& r, const std::string& p) { return static_cast<DWORD>(r.GetWord(p, name)); });
}

DWORD TVRegGetDWordEx(const std::string& subkey, const std::string& name, DWORD defaultValue) {
  CALLSTACK_ENTER("TVRegGetDWordEx", kRegistryModule);
  if (!g_shared) return 0;
  const DWORD value = TVRegGetDWord(subkey, name);
  return TVRegSuccess() ? value : defaultValue;
}

std::uint16_t TVRegGetWord(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetWord", kRegistryModule);
  return static_cast<std::uint16_t>(TVRegGetDWord(subkey, name) & 0xFFFF);
}

std::uint16_t TVRegGetWordEx(const std::string& subkey, const std::string& name, std::uint16_t defaultValue) {
  CALLSTACK_ENTER("TVRegGetWordEx", kRegistryModule);
  return static_cast<std::uint16_t>(TVRegGetDWordEx(subkey, name, defaultValue) & 0xFFFF);
}

std::int32_t TVRegWriteString(const std::string& subkey, const std::string& name, const std::string& text) {
  CALLSTACK_ENTER("TVRegWriteString", kRegistryModule);
  return Change(subkey,
                          [&](Class_HKCU& r, const std::string& p) { return r.WriteString(p, name, text); });
}

std::int32_t TVRegWriteInt(const std::string& subkey, const std::string& name, std::int32_t value) {
  CALLSTACK_ENTER("TVRegWriteInt", kRegistryModule);
  return Change(subkey,
                          [&](Class_HKCU& r, const std::string& p) { return r.WriteInt(p, name, value); });
}

std::int32_t TVRegWriteShort(const std::string& subkey, const std::string& name, std::int16_t value) {
  CALLSTACK_ENTER("TVRegWriteShort", kRegistryModule);
  return TVRegWriteInt(subkey, name, static_cast<std::int32_t>(Widen(value)));
}

std::int32_t TVRegWriteDWord(const std::string& subkey, const std::string& name, DWORD value) {
  CALLSTACK_ENTER("TVRegWriteDWord", kRegistryModule);
  return Change(subkey,
                          [&](Class_HKCU& r, const std::string& p) { return r.WriteWord(p, name, value); });
}

std::int32_t TVRegWriteWord(const std::string& subkey, const std::string& name, std::uint16_t value) {
  CALLSTACK_ENTER("TVRegWriteWord", kRegistryModule);
  return TVRegWriteDWord(subkey, name, value);
}

std::int32_t TVRegDeleteKey(const std::string& subkey) {
  CALLSTACK_ENTER("TVRegDeleteKey", kRegistryModule);
  return Change(subkey, [](Class_HKCU& r, const std::string& p) { return r.DeleteSubKey(p); });
}

std::int32_t TVRegDeleteValue(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegDeleteValue", kRegistryModule);
  return Change(subkey,
                          [&](Class_HKCU& r, const std::string& p) { return r.DeleteValue(p, name); });
}

std::vector<std::string> TVRegGetAllSubKey(const std::string& subkey) {
  CALLSTACK_ENTER("TVRegGetAllSubKey", kRegistryModule);
  return Read(subkey, std::vector<std::string>(),
                          [&](Class_HKCU& r, const std::string& p) { return r.Get_SubKey_ValueNames(p); });
}

std::int32_t TVRegLastError() { return g_shared ? g_shared->LastError() : 0; }

bool TVRegSuccess() { return TVRegLastError() == 0; }
