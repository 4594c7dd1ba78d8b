#pragma once
// The program's icon, "APP_ICON" of its own module, in the large and small sizes.
#include <windows.h>

#include "platform/handles.h"

class App_Icon {
 public:
  App_Icon();
  HICON Handle() const { return large_.Get(); }
  HICON Small() const { return small_.Get(); }

 private:
  IconHandle large_;
  IconHandle small_;
};
