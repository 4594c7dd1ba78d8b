#include "registry/tv_registry.h"

#include <memory>

#include "app/globals.h"
#include "errors/callstack.h"
#include "registry/registry_roots.h"

namespace {

std::unique_ptr<Class_HKCU> g_shared;

// The subkey joins the path unchanged; the registry object cleans the ends.
std::string AppPath(const std::string& subkey) { return "Software\\Talvik\\" + ApplicationNameGet() + "\\" + subkey; }

// 16-bit values are widened with zeros, signed or not: -1 is stored as 65535.
std::uint32_t Widen(std::int16_t value) { return static_cast<std::uint16_t>(value); }

}  // namespace

void SharedRegistryCreate() { g_shared = std::make_unique<Class_HKCU>(); }
Class_HKCU* SharedRegistry() { return g_shared.get(); }
void SharedRegistryDestroy() { g_shared.reset(); }

std::int32_t TVRegCreateKey(const std::string& subkey) {
  CALLSTACK_ENTER("TVRegCreateKey", kRegistryModule);
  return g_shared ? g_shared->CreateKey(AppPath(subkey)) : 0;
}

std::string TVRegGetString(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetString", kRegistryModule);
  return g_shared ? g_shared->GetString(AppPath(subkey), name) : std::string();
}

std::string TVRegGetStringEx(const std::string& subkey, const std::string& name, const std::string& defaultText) {
  CALLSTACK_ENTER("TVRegGetStringEx", kRegistryModule);
  if (!g_shared) return {};
  std::string text = TVRegGetString(subkey, name);
  return TVRegSuccess() ? text : defaultText;
}

std::int32_t TVRegGetInt(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegGetInt", kRegistryModule);
  return g_shared ? g_shared->GetInt(AppPath(subkey), name) : 0;
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
  return g_shared ? static_cast<DWORD>(g_shared->GetWord(AppPath(subkey), name)) : 0;
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
  return g_shared ? g_shared->WriteString(AppPath(subkey), name, text) : 0;
}

std::int32_t TVRegWriteInt(const std::string& subkey, const std::string& name, std::int32_t value) {
  CALLSTACK_ENTER("TVRegWriteInt", kRegistryModule);
  return g_shared ? g_shared->WriteInt(AppPath(subkey), name, value) : 0;
}

std::int32_t TVRegWriteShort(const std::string& subkey, const std::string& name, std::int16_t value) {
  CALLSTACK_ENTER("TVRegWriteShort", kRegistryModule);
  return TVRegWriteInt(subkey, name, static_cast<std::int32_t>(Widen(value)));
}

std::int32_t TVRegWriteDWord(const std::string& subkey, const std::string& name, DWORD value) {
  CALLSTACK_ENTER("TVRegWriteDWord", kRegistryModule);
  return g_shared ? g_shared->WriteWord(AppPath(subkey), name, value) : 0;
}

std::int32_t TVRegWriteWord(const std::string& subkey, const std::string& name, std::uint16_t value) {
  CALLSTACK_ENTER("TVRegWriteWord", kRegistryModule);
  return TVRegWriteDWord(subkey, name, value);
}

std::int32_t TVRegDeleteKey(const std::string& subkey) {
  CALLSTACK_ENTER("TVRegDeleteKey", kRegistryModule);
  if (!g_shared) return 0;
  // Without a name the path would clean to Software\Talvik: the keys of
  // every other application of ours.
  if (ApplicationNameGet().find_first_not_of(" \\") == std::string::npos) {
    return g_shared->LastError(ERROR_INVALID_PARAMETER);
  }
  return g_shared->DeleteSubKey(AppPath(subkey));
}

std::int32_t TVRegDeleteValue(const std::string& subkey, const std::string& name) {
  CALLSTACK_ENTER("TVRegDeleteValue", kRegistryModule);
  return g_shared ? g_shared->DeleteValue(AppPath(subkey), name) : 0;
}

std::vector<std::string> TVRegGetAllSubKey(const std::string& subkey) {
  CALLSTACK_ENTER("TVRegGetAllSubKey", kRegistryModule);
  return g_shared ? g_shared->Get_SubKey_ValueNames(AppPath(subkey)) : std::vector<std::string>();
}

std::int32_t TVRegLastError() { return g_shared ? g_shared->LastError() : 0; }

bool TVRegSuccess() { return TVRegLastError() == 0; }
