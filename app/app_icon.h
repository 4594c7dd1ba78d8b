#pragma once
// The program's icon, "APP_ICON" of its own module: the notification area's
// size, and the window's large and small sizes at the window's resolution.
#include <windows.h>

#include "platform/handles.h"

class App_Icon {
 public:
  App_Icon();
  // The notification icon.
  HICON Handle() const { return notification_.Get(); }
  HICON Large() const { return large_.Get(); }
  HICON Small() const { return small_.Get(); }
  // The window's sizes again, for a window now shown at `dpi`.
  void LoadForWindow(UINT dpi);
  // The notification icon again, for a notification area that came back.
  void LoadNotification();

 private:
  IconHandle notification_;
  IconHandle large_;
  IconHandle small_;
  IconHandle retiredLarge_;
  IconHandle retiredSmall_;
};
