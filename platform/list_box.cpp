#include "platform/list_box.h"

void ListBox::AddItem(const std::wstring& text) {
  SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A list box cannot change an item's text: the item is put in anew, and
// the selection kept.
void ListBox::ItemText(int index, const std::wstring& text) {
  const int selected = SelectedIndex();
  SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  if (selected >= 0) SelectIndex(selected);
}

void ListBox::Clear() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }

int ListBox::ItemCount() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }

int ListBox::SelectedIndex() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }

void ListBox::SelectIndex(int index) { SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
