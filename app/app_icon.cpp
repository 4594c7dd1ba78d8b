#include "app/app_icon.h"

#include "platform/dpi.h"
#include "platform/icons.h"

namespace {
constexpr const char* kIconName = "APP_ICON";
}

App_Icon::App_Icon() {
  LoadNotification();
  LoadForWindow(WindowDpi(nullptr));
}

void App_Icon::LoadForWindow(UINT dpi) {
  // The window holds the old ones until it is given the new ones.
  retiredLarge_ = std::move(large_);
  retiredSmall_ = std::move(small_);
  large_.Reset(LoadIconForDpi(kIconName, SM_CXICON, dpi));
  small_.Reset(LoadIconForDpi(kIconName, SM_CXSMICON, dpi));
}

void App_Icon::LoadNotification() { notification_.Reset(LoadNotificationIcon(kIconName)); }
