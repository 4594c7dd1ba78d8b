// The "Device..." dialog of the main window.
#include "app/device_dialog.h"
#include "app/win_start.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
}  // namespace

void WinStart::ShowDevice() {
  CALLSTACK_ENTER("WinStart:ShowDevice", kModule);
  DeviceSettings settings = DeviceSettingsLoad();
  EditDeviceSettings(Handle(), settings, nullptr);
}
