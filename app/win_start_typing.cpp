// The keys still to type: the pause between them, the backlog in the status
// field, and what the user is told about keys that were not typed.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/boxes.h"
#include "app/globals.h"
#include "app/options.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/tray_icon.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
// Long enough to read the balloon that says what a closing dropped.
constexpr UINT kCloseDelayMs = 4000;
constexpr std::size_t kTitleChars = 40;

std::string Keys(std::size_t count) { return std::to_string(count) + (count == 1 ? " key" : " keys"); }

std::string WindowTitle(HWND window) {
  char title[kTitleChars + 1] = {};
  GetWindowTextA(window, title, sizeof title);
  return title[0] != '\0' ? std::string(title) : std::string("the window in front");
}

std::string DroppedText(std::size_t count) {
  return Keys(count) + (count == 1 ? " not yet typed was dropped." : " not yet typed were dropped.");
}

std::string NoFocusText(std::size_t count) {
  return Keys(count) + (count == 1 ? " was" : " were") + " not typed. No window had the keyboard focus.";
}

std::string HigherRightsText(std::size_t count, const std::string& title) {
  return Keys(count) + (count == 1 ? " was" : " were") + " not typed into \"" + title +
         "\": it runs with higher rights than TV-SERKEY (as administrator), and Windows keeps keys from reaching "
         "it. Run TV-SERKEY with the same rights to type there.";
}
}  // namespace

void WinStart::KeyPauseMs(unsigned ms) {
  CALLSTACK_ENTER("WinStart:KeyPauseMs", kModule);
  if (!KeyPauseOptionSet(ms)) BoxError(this, "The option \"Pause between keys\" could not be saved.");
  // Used from the next key on, saved or not: the user asked for it.
  keyPauseMs_ = ms;
  typing_.PauseMs(ms);
}

void WinStart::TypingCheck(TypingQueue::Check check) { typing_.Owner(Handle(), std::move(check)); }

std::size_t WinStart::DropBacklog() {
  KillTimer(Handle(), kBacklogTimer);
  backlogShown_ = false;
  return typing_.Drop();
}

void WinStart::ReportDropped(std::size_t dropped) {
  if (dropped == 0) return;
  if (IsVisible()) {
    oDCStatusText.Caption(DroppedText(dropped));
  } else {
    ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), DroppedText(dropped), 0, NIIF_INFO);
  }
}

// Closing with keys still to type: the window goes at once, the icon stays a
// moment to say what was dropped, then the close goes on (finding nothing
// left to drop).
bool WinStart::CloseAfterDropReport() {
  CALLSTACK_ENTER("WinStart:CloseAfterDropReport", kModule);
  const std::size_t dropped = DropBacklog();
  if (dropped == 0 || closing_) return false;
  closing_ = true;
  EndPort();
  Hide();
  ShowTrayIcon();
  ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), DroppedText(dropped), 0, NIIF_INFO);
  SetTimer(Handle(), kCloseTimer, kCloseDelayMs, nullptr);
  return true;
}

bool WinStart::TypingDispatch(const Event& event) {
  if (event.message == WM_TIMER && event.wParam == kBacklogTimer) {
    if (backlogShown_) ShowReadStatus();
  } else if (event.message == WM_TIMER && event.wParam == kCloseTimer) {
    KillTimer(Handle(), kCloseTimer);
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
  } else if (event.message == TypingQueue::kNoFocusReport) {
    ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), NoFocusText(event.wParam), 0,
                       NIIF_WARNING);
  } else if (event.message == TypingQueue::kHigherRightsReport) {
    const std::string title = WindowTitle(reinterpret_cast<HWND>(event.lParam));
    ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), HigherRightsText(event.wParam, title), 0,
                       NIIF_WARNING);
  } else {
    return false;
  }
  return true;
}
