#pragma once
// A framed-capable fixed text whose text blinks: 250 ms shown, 250 ms hidden,
// from Init to Destroy. The blinking holds still while the application
// reports an error or the control is hidden.
#include <windows.h>

#include "controls/fixed_text.h"

class FixedTextBlinking : public _FixedText {
 public:
  static constexpr UINT_PTR kTimerId = 2001;
  static constexpr UINT kBlinkMs = 250;

  ~FixedTextBlinking() override;

  FixedTextBlinking& Init(HWND owner, int id, POINT position, SIZE size, const std::string& text,
                          std::optional<DWORD> style = std::nullopt, std::optional<DWORD> exStyle = std::nullopt);
  FixedTextBlinking& Init(HWND owner, int resourceId, std::optional<DWORD> style = std::nullopt,
                          std::optional<DWORD> exStyle = std::nullopt);

  LRESULT Dispatch(const Event& event) override;
  void Destroy() override;

  // True while the text is hidden.
  bool OffPhase() const { return offPhase_; }

 private:
  // One-shot wait to the next whole second, after which the blink timer starts.
  static constexpr UINT_PTR kAlignTimerId = 2002;
  void StartBlinking();
  void StopTimers();
  void PaintOffPhase();

  UINT_PTR timerId_ = kTimerId;
  bool busy_ = false;
  bool offPhase_ = false;
};
