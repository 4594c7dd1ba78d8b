#pragma once
// "Device...": what the program sends the device (the prompt, its hotkey
// and interval, the texts at start and after each record), the pause
// hotkey and the repeat time; and "Send now", which sends the prompt on the
// running port and shows what the device answered within a second.
#include <windows.h>

#include <functional>
#include <string>

#include "app/device_settings.h"

// What the dialog needs of the running port.
class DeviceLink {
 public:
  virtual ~DeviceLink() = default;
  // Sends `bytes` on the running port; false with `error` saying why (the
  // port is not running, the write failed).
  virtual bool Send(const std::string& bytes, std::string& error) = 0;
  // From now on, until called with an empty function, each batch the port
  // reads is handed to `listener` as well.
  virtual void Listen(std::function<void(const std::string&)> listener) = 0;
};

// How long "Send now" collects the device's answer.
inline constexpr UINT kAnswerMs = 1000;

// Shows the dialog over `settings`; `link` may be null (no port to send
// on). OK checks every field and saves them (then `settings` holds them and
// the result is true); Cancel changes nothing.
bool EditDeviceSettings(HWND owner, DeviceSettings& settings, DeviceLink* link);
