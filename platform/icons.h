#pragma once
// Icons of the program's module, loaded at the size a resolution asks for.
#include <windows.h>

// The icon `name` at the size of system metric `metric` (SM_CXICON or
// SM_CXSMICON) at `dpi`. The caller destroys it.
HICON LoadIconForDpi(const char* name, int metric, UINT dpi);
// The icon `name` at the notification area's size, the small icon at the
// system's resolution. The caller destroys it.
HICON LoadNotificationIcon(const char* name);
