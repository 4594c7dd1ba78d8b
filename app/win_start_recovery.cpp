// A running port that stops working (a USB adapter pulled out): closed,
// waited for, and opened again with the same line settings when it is back.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "app/globals.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/tray_icon.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
constexpr UINT kRetryMs = 2000;
}  // namespace

// A watcher whose wait failed reports nothing any more; and reading the line
// settings back needs a working device: a vanished one fails it (as it
// fails ClearCommError and every other call on its handle).
void WinStart::CheckPort() {
  CALLSTACK_ENTER("WinStart:CheckPort", kModule);
  if (oSerial && (oSerial->WatcherEnded() || !oSerial->GetProtocol())) PortLost();
}

void WinStart::PortLost() {
  CALLSTACK_ENTER("WinStart:PortLost", kModule);
  const std::string name = oDCPort.TextValue();
  KillTimer(Handle(), kPortCheckTimer);
  // The dead handle goes now; the user asked for the port to run, so the
  // state stays Running (button "Stop", lists disabled) while it is away.
  oSerial->Close();
  oSerial.reset();
  lWaitingForPort = true;
  textKeys_.Reset();
  oDCStatusByte.Caption("");
  oDCStatusText.Caption("Waiting for " + name + "...");
  ShowTrayIcon();
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(),
                     name + " was disconnected. Typing resumes when it is back.", 0, NIIF_WARNING);
  SetTimer(Handle(), kPortRetryTimer, kRetryMs, nullptr);
}

// No boxes here: a port that is still away is the expected answer.
void WinStart::RetryPort() {
  CALLSTACK_ENTER("WinStart:RetryPort", kModule);
  if (!lWaitingForPort) {
    KillTimer(Handle(), kPortRetryTimer);
    return;
  }
  const std::string name = oDCPort.TextValue();
  auto port = std::make_unique<Serial>(Handle());
  if (!port->Open(name)) return;
  ApplyLineSettings(*port);
  // A port that opens but takes no settings or no watcher is not back yet;
  // the object closes it on the way out.
  if (!port->SetProtocol() || !port->EnableEvents(EV_RXCHAR)) return;
  KillTimer(Handle(), kPortRetryTimer);
  lWaitingForPort = false;
  oSerial = std::move(port);
  oDCStatusText.Caption("Running...");
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), name + " is back.", 0, NIIF_INFO);
  SetTimer(Handle(), kPortCheckTimer, kPortCheckMs, nullptr);
}
