#pragma once
// A fixed text that can paint itself with a thin black frame and centred
// text, and keeps a caption in the default language and one in English.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/control.h"

class _FixedText : public FixedText {
 public:
  // Created by code at `position` with `size` (pixels of the owner's client
  // area). `style` bits are added when the window is created; `exStyle` bits
  // are added to the extended style.
  _FixedText& Init(HWND owner, int id, POINT position, SIZE size, const std::string& text,
                   std::optional<DWORD> style = std::nullopt, std::optional<DWORD> exStyle = std::nullopt);
  // Bound to item `resourceId` of a dialog-template form; the item's own
  // WS_BORDER switches self-painting on. The window exists already, so the
  // style bits are added at once.
  _FixedText& Init(HWND owner, int resourceId, std::optional<DWORD> style = std::nullopt,
                   std::optional<DWORD> exStyle = std::nullopt);
  bool Create() override;

  bool Border() const { return border_; }
  // Takes effect with the next paint.
  bool Border(bool border);

  std::string Caption() const { return FixedText::Caption(); }
  // The default caption, shown at once whatever the language.
  const std::string& Caption(const std::string& text);
  const std::string& CapEnglish() const { return english_; }
  // Shown at once only while the language is English.
  const std::string& CapEnglish(const std::string& text);
  // Shows the caption of the current language: the English one when the
  // language is English and it is not blank, else the default one.
  void RefreshCaption();

  LRESULT Dispatch(const Event& event) override;
  // The whole painting of a bordered control (inside WM_PAINT).
  void DrawBorder();

 private:
  DWORD pendingStyle_ = 0;
  bool border_ = false;
  std::string default_;
  std::string english_;
};
