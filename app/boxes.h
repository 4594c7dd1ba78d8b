#pragma once
// The program's message boxes. Callers pass texts in the language they want.
#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/window.h"

// Owner of a box: a window, or none. Anything else passed as owner (the
// application object, say) counts as none, and the box is unowned.
class BoxOwner {
 public:
  BoxOwner() = default;
  BoxOwner(std::nullptr_t) {}
  BoxOwner(HWND hwnd) : hwnd_(hwnd != nullptr && IsWindow(hwnd) ? hwnd : nullptr) {}
  BoxOwner(const Window& window) : BoxOwner(window.Handle()) {}
  BoxOwner(const Window* window) : BoxOwner(window != nullptr ? window->Handle() : nullptr) {}
  template <class T, std::enable_if_t<!std::is_base_of_v<Window, std::remove_cv_t<std::remove_pointer_t<T>>> &&
                                          !std::is_convertible_v<T, HWND>,
                                      int> = 0>
  BoxOwner(const T&) {}

  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

void BoxError(BoxOwner owner, const std::string& text);
// The error box with Retry and Cancel in place of OK: true for Retry.
bool BoxErrorRetry(BoxOwner owner, const std::string& text);
void BoxInfo(BoxOwner owner, const std::string& title, const std::string& text);
bool BoxAsk(BoxOwner owner, const std::string& title, const std::string& text, std::uint16_t defaultButton);
// type 3: Yes/No/Cancel; any other type: Yes/No. Reply codes: Abort 0,
// Cancel 1, Ignore 2, No 3, OK 4, Retry 5, Yes 6, anything else 0.
std::uint16_t BoxAskEx(BoxOwner owner, const std::string& title, const std::string& text, std::uint32_t type,
                       std::uint16_t defaultButton);

// The style BoxAskEx gives MessageBoxA (exposed for the tests of its rules).
UINT BoxAskExStyle(bool owned, std::uint32_t type, std::uint16_t defaultButton);
// The reply code for a MessageBoxA result.
std::uint16_t BoxReplyCode(int messageBoxResult);
