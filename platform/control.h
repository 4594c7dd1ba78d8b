#pragma once
// Controls of a form, attached by dialog item id. Every control kind derives
// from Control, which the controls library extends with drawing and state helpers.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/window.h"

// True when any bit of `mask` is set in the window's style (GWL_STYLE) or
// extended style (GWL_EXSTYLE).
bool WindowHasStyle(HWND hwnd, int index, DWORD mask);

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Binds the control to item `id` of `form`; false when the form has no such item.
  bool Attach(HWND form, int id);

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }

  std::string Caption() const;
  void Caption(const std::string& text);

  void Enable();
  void Disable();
  bool IsEnabled() const;
  void SetFocus();
  void Font(HFONT font);
  // The font given through Font(); null when none was.
  HFONT FontHandle() const { return font_; }
  // Background brush for controls that paint themselves; null when none.
  // The caller keeps the brush alive.
  HBRUSH Background() const { return background_; }
  void Background(HBRUSH brush) { background_ = brush; }

  // Window style and extended style: the window's own once it exists, the
  // ones it will be created with before.
  DWORD Style() const;
  void Style(DWORD style);
  DWORD ExStyle() const;
  void ExStyle(DWORD exStyle);

  // Creates the control's window from what Init stored; false when there is
  // already one or it cannot be created.
  virtual bool Create();
  // The control's message filter, once Init has hooked its window. The base
  // gives the message to the control's own window procedure.
  virtual LRESULT Dispatch(const Event& event);
  // Unhooks the control; a window that Create made is destroyed as well.
  virtual void Destroy();

  void Show();
  void Hide();
  bool IsVisible() const;

  bool HasStyle(DWORD mask) const;
  bool HasStyleEx(DWORD mask) const;
  bool IsEnable() const;
  bool IsGotFocus() const;
  // Invalidates the whole client area; it paints with the next WM_PAINT.
  void RedrawControl(bool erase = false) const;
  void ShowOrHide(bool show);
  // Background and frame of a text field; no text.
  void DrawTextControl(HDC dc, const RECT& rect, bool frame, bool grey, bool flat) const;
  // Embossed (disabled) text; the DC's text colour is left at COLOR_GRAYTEXT.
  void DrawTextDisable(HDC dc, const RECT& rect, const std::string& text, UINT format) const;

 protected:
  // Code-created control: stores the placement and creates the window.
  bool Init(HWND owner, int id, POINT position, SIZE size, const std::string& text);
  // Control taken from a dialog template: binds to the item and hooks it.
  bool Init(HWND owner, int resourceId);
  // Window class a code-created control is made of; null when it cannot be.
  virtual const char* WindowClass() const { return nullptr; }

  HWND hwnd_ = nullptr;
  int id_ = 0;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self);
  void Hook();
  void Release();
  // One subclass per object: two objects bound to the same window each keep
  // their own hook, and one unhooking leaves the other's in place.
  UINT_PTR SubclassId() const { return reinterpret_cast<UINT_PTR>(this); }

  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  HWND owner_ = nullptr;
  POINT position_{};
  SIZE size_{};
  std::string text_;
  DWORD style_ = WS_CHILD | WS_VISIBLE;
  DWORD exStyle_ = 0;
  bool hooked_ = false;
  bool created_ = false;
};

class FixedText : public Control {
 protected:
  const char* WindowClass() const override { return "Static"; }
};
class GroupBox : public Control {};
class PushButton : public Control {};

class MultiLineEdit : public Control {
 public:
  std::string TextValue() const { return Caption(); }
  void TextValue(const std::string& text) { Caption(text); }
};

// A drop-down list whose items carry a value beside the shown text.
// Values are either numbers or texts; selecting by value compares like with like.
class ComboBox : public Control {
 public:
  void AddItem(const std::string& text, long value);
  void AddItem(const std::string& text, const std::string& value);
  void Clear();

  int ItemCount() const;
  std::string ItemText(int index) const;

  // Selects the item with this value; no match leaves no selection. True on a match.
  bool SelectValue(long value);
  bool SelectValue(const std::string& value);
  bool SelectIndex(int index);
  int SelectedIndex() const;

  // Value of the selected item: empty / none when nothing is selected.
  std::string TextValue() const;
  std::optional<long> NumberValue() const;

 private:
  struct Item {
    bool numeric;
    long number;
    std::string text;
  };
  bool SelectWhere(bool numeric, long number, const std::string& text);
  std::vector<Item> items_;
};
