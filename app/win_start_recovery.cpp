// What the window shows while its running port is lost and when it is back;
// the port itself does the waiting (running_port_recovery.cpp).
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/globals.h"
#include "app/win_start.h"
#include "platform/tray_icon.h"

// The state stays Running (button "Stop", lists disabled) while it is away.
void WinStart::PortLost(const std::string& name) {
  oDCStatusByte.Caption("");
  oDCStatusText.Caption("Waiting for " + name + "...");
  ShowTrayIcon();
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(),
                     name + " was disconnected. Typing resumes when it is back.", 0, NIIF_WARNING);
}

void WinStart::PortBack(const std::string& name) {
  oDCStatusText.Caption("Running...");
  if (commands_) commands_->PortBack();
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), name + " is back.", 0, NIIF_INFO);
}
