#include "app/boxes.h"

#include "errors/callstack.h"

namespace {
constexpr const char* kModule = "Func  Message Box";
}

void BoxError(BoxOwner owner, const std::string& text) {
  CALLSTACK_ENTER("BoxError", kModule);
  MessageBoxA(owner.Handle(), text.c_str(), "Error", MB_OK | MB_ICONHAND);
}

bool BoxErrorRetry(BoxOwner owner, const std::string& text) {
  CALLSTACK_ENTER("BoxErrorRetry", kModule);
  return MessageBoxA(owner.Handle(), text.c_str(), "Error", MB_RETRYCANCEL | MB_ICONHAND) == IDRETRY;
}

void BoxInfo(BoxOwner owner, const std::string& title, const std::string& text) {
  CALLSTACK_ENTER("BoxInfo", kModule);
  MessageBoxA(owner.Handle(), text.c_str(), title.c_str(),
              MB_OK | MB_ICONASTERISK);
}

bool BoxAsk(BoxOwner owner, const std::string& title, const std::string& text, std::uint16_t defaultButton) {
  CALLSTACK_ENTER("BoxAsk", kModule);
  return BoxAskEx(owner, title, text, 4, defaultButton) == 6;
}

UINT BoxAskExStyle(bool owned, std::uint32_t type, std::uint16_t defaultButton) {
  UINT style = MB_ICONQUESTION;
  if (type == 3) {
    style |= MB_YESNOCANCEL;
    if (defaultButton == 3) style |= MB_DEFBUTTON3;
  } else {
    style |= MB_YESNO;
  }
  if (defaultButton == 2) style |= MB_DEFBUTTON2;
  if (!owned) style |= MB_TASKMODAL;
  return style;
}

std::uint16_t BoxReplyCode(int result) {
  switch (result) {
    case IDABORT: return 0;
    case IDCANCEL: return 1;
    case IDIGNORE: return 2;
    case IDNO: return 3;
    case IDOK: return 4;
    case IDRETRY: return 5;
    case IDYES: return 6;
    default: return 0;
  }
}

std::uint16_t BoxAskEx(BoxOwner owner, const std::string& title, const std::string& text, std::uint32_t type,
                       std::uint16_t defaultButton) {
  CALLSTACK_ENTER("BoxAskEx", kModule);
  const UINT style = BoxAskExStyle(owner.Handle() != nullptr, type, defaultButton);
  MessageBeep(0);
  return BoxReplyCode(MessageBoxA(owner.Handle(), text.c_str(), title.c_str(), style));
}
