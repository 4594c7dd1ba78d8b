#include "platform/posted_messages.h"

unsigned DropPosted(HWND window, UINT message) {
  unsigned dropped = 0;
  MSG stale;
  while (PeekMessageA(&stale, window, message, message, PM_REMOVE)) ++dropped;
  return dropped;
}
