#include "platform/key_target.h"

#include <vector>

#include "platform/handles.h"

namespace {
std::optional<DWORD> IntegrityLevelOf(HANDLE process) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return std::nullopt;
  KernelHandle token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
  PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  if (sid == nullptr || !IsValidSid(sid)) return std::nullopt;
  const UCHAR count = *GetSidSubAuthorityCount(sid);
  if (count == 0) return std::nullopt;
  return *GetSidSubAuthority(sid, count - 1);
}

bool HasClass(HWND window, const char* name) {
  char cls[32] = {};
  return GetClassNameA(window, cls, sizeof cls) > 0 && lstrcmpiA(cls, name) == 0;
}
}  // namespace

HWND ForegroundWindow() { return GetForegroundWindow(); }

bool IsDesktop(HWND window) {
  if (window == nullptr) return false;
  return window == GetDesktopWindow() || window == GetShellWindow() || HasClass(window, "Progman") ||
         HasClass(window, "WorkerW");
}

// PROCESS_QUERY_LIMITED_INFORMATION opens a process that runs with higher
// rights as well; a process of another user may still refuse its token.
std::optional<DWORD> WindowIntegrityLevel(HWND window) {
  DWORD pid = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &pid) == 0 || pid == 0) return std::nullopt;
  KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return std::nullopt;
  return IntegrityLevelOf(process.Get());
}

std::optional<DWORD> OwnIntegrityLevel() { return IntegrityLevelOf(GetCurrentProcess()); }
