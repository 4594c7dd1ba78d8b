#include "app/win_message_show.h"

#include "errors/callstack.h"
#include "resources/resource_ids.h"

WinMessageShow::WinMessageShow(HWND owner, const void*) {
  CALLSTACK_ENTER("WinMessageShow:Init", "Window  Message Show");
  if (!Create("WinMessageShow", owner)) return;
  oDCMessage.Attach(Handle(), IDC_MESSAGE);
  Caption("");
}
