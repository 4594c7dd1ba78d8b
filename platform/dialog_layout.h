#pragma once
// The controls of a dialog template placed, and given the template's font,
// at any resolution: what the dialog manager does once at creation, done
// again when a window moves to a monitor of another scale.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/handles.h"

class DialogLayout {
 public:
  // Reads the named DIALOGEX template of the program's module; false (and
  // nothing loaded) when there is none or it has another form.
  bool Load(const char* templateName);
  bool Loaded() const { return !items_.empty() || size_.cx > 0; }

  // The template's client area at `dpi`.
  SIZE ClientSize(UINT dpi) const;
  // Places and sizes every control of `dialog` (built from this template)
  // at `dpi`, and gives the template's font at `dpi` to those that draw with
  // the form's font. The dialog window's own size is the caller's.
  void Apply(HWND dialog, UINT dpi);

 private:
  struct Item {
    int id = 0;
    RECT units{};  // x, y, width, height in dialog units
  };
  int ToPixelsX(int units, UINT dpi) const;
  int ToPixelsY(int units, UINT dpi) const;
  // The dialog's base units at 96 DPI, measured as the dialog manager does.
  void MeasureBaseUnits();
  HFONT FontAt(UINT dpi);

  std::vector<Item> items_;
  SIZE size_{};  // the template's client area in dialog units
  std::string face_;
  int points_ = 0;
  int weight_ = FW_NORMAL;
  bool italic_ = false;
  BYTE charset_ = DEFAULT_CHARSET;
  int baseX_ = 0;
  int baseY_ = 0;
  GdiObject font_;  // the template's font at the last Apply's resolution
};

// Windows 10 1703 and later scale a per-monitor (V2) dialog themselves, with
// their own rounding: the program lays its dialogs out instead, the same way
// on every version. Nothing happens where the system lacks the calls.
void TakeOverDialogScaling(HWND dialog);
