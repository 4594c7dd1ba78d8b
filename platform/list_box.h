#pragma once
// A list box of a form: one line of text per item, at most one selected.
#include <string>

#include "platform/control.h"

class ListBox : public Control {
 public:
  // Items are given as UTF-16, so that any character shows (an arrow, say).
  void AddItem(const std::wstring& text);
  void ItemText(int index, const std::wstring& text);
  void Clear();
  int ItemCount() const;
  // -1 when nothing is selected.
  int SelectedIndex() const;
  void SelectIndex(int index);
};
