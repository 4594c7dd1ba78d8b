// A running port that stops working (a USB adapter pulled out): closed,
// waited for, and opened again with the same line settings when it is back.
#include <memory>
#include <string>

#include "app/running_port.h"
#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "A01  Running Port";
constexpr UINT kRetryMs = 2000;
}  // namespace

// A watcher whose wait failed reports nothing any more; and reading the line
// settings back needs a working device: a vanished one fails it (as it
// fails ClearCommError and every other call on its handle).
void RunningPort::CheckPort() {
  CALLSTACK_ENTER("RunningPort:CheckPort", kModule);
  if (oSerial && (oSerial->WatcherEnded() || !oSerial->GetProtocol())) PortLost();
}

void RunningPort::PortLost() {
  CALLSTACK_ENTER("RunningPort:PortLost", kModule);
  KillTimer(window_, kPortCheckTimer);
  // The dead handle goes now; the user asked for the port to run, so the
  // state stays Running while it is away.
  oSerial->Close();
  oSerial.reset();
  lWaitingForPort = true;
  keys_.Restart();
  seat_.PortLost(name_);
  SetTimer(window_, kPortRetryTimer, kRetryMs, nullptr);
}

// No boxes here: a port that is still away is the expected answer.
void RunningPort::RetryPort() {
  CALLSTACK_ENTER("RunningPort:RetryPort", kModule);
  if (!lWaitingForPort) {
    KillTimer(window_, kPortRetryTimer);
    return;
  }
  auto port = std::make_unique<Serial>(window_);
  if (!port->Open(name_)) return;
  ApplyLineSettings(*port);
  // A port that opens but takes no settings or no watcher is not back yet;
  // the object closes it on the way out.
  if (!port->SetProtocol() || !port->EnableEvents(EV_RXCHAR)) return;
  KillTimer(window_, kPortRetryTimer);
  lWaitingForPort = false;
  oSerial = std::move(port);
  ReadWhatWaits();
  seat_.PortBack(name_);
  SetTimer(window_, kPortCheckTimer, kPortCheckMs, nullptr);
}

// The one-second check and the two-second retry still cover drivers that
// announce nothing; an announcement only makes it sooner.
void RunningPort::DeviceChanged(const DeviceChange& change) {
  CALLSTACK_ENTER("RunningPort:DeviceChanged", kModule);
  if (change.port != name_) return;
  if (change.kind == DeviceChange::PortRemoved && oSerial && !lReading) {
    PortLost();
  } else if (change.kind == DeviceChange::PortArrived && lWaitingForPort) {
    RetryPort();
  }
}
