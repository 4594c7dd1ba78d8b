#pragma once
// Controls of a form, attached by dialog item id. Every control kind derives
// from Control, which the controls library extends with drawing and state helpers.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class Control {
 public:
  Control() = default;
  virtual ~Control() = default;
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

 protected:
  HWND hwnd_ = nullptr;
  int id_ = 0;
};

class FixedText : public Control {};
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
