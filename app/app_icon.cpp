#include "app/app_icon.h"

App_Icon::App_Icon() {
  HINSTANCE module = GetModuleHandleA(nullptr);
  large_.Reset(static_cast<HICON>(LoadImageA(module, "APP_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), 0)));
  small_.Reset(static_cast<HICON>(LoadImageA(module, "APP_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0)));
}
