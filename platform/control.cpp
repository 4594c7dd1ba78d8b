#include "platform/control.h"

#include <vector>

bool Control::Attach(HWND form, int id) {
  hwnd_ = GetDlgItem(form, id);
  id_ = id;
  return hwnd_ != nullptr;
}

std::string Control::Caption() const {
  if (hwnd_ == nullptr) return {};
  std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1);
  const int length = GetWindowTextA(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

void Control::Caption(const std::string& text) {
  if (hwnd_ != nullptr) SetWindowTextA(hwnd_, text.c_str());
}

void Control::Enable() {
  if (hwnd_ != nullptr) EnableWindow(hwnd_, TRUE);
}

void Control::Disable() {
  if (hwnd_ != nullptr) EnableWindow(hwnd_, FALSE);
}

bool Control::IsEnabled() const { return hwnd_ != nullptr && IsWindowEnabled(hwnd_); }

void Control::SetFocus() {
  if (hwnd_ != nullptr) ::SetFocus(hwnd_);
}

void Control::Font(HFONT font) {
  if (hwnd_ != nullptr) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ComboBox::AddItem(const std::string& text, long value) {
  items_.push_back({true, value, {}});
  SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::AddItem(const std::string& text, const std::string& value) {
  items_.push_back({false, 0, value});
  SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::Clear() {
  items_.clear();
  SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
}

int ComboBox::ItemCount() const { return static_cast<int>(items_.size()); }

std::string ComboBox::ItemText(int index) const {
  const LRESULT length = SendMessageA(hwnd_, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  SendMessageA(hwnd_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<size_t>(length));
}

bool ComboBox::SelectWhere(bool numeric, long number, const std::string& text) {
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    if (item.numeric != numeric) continue;
    if (numeric ? item.number == number : item.text == text) return SelectIndex(static_cast<int>(i));
  }
  SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return false;
}

bool ComboBox::SelectValue(long value) { return SelectWhere(true, value, {}); }
bool ComboBox::SelectValue(const std::string& value) { return SelectWhere(false, 0, value); }

bool ComboBox::SelectIndex(int index) {
  return SendMessageA(hwnd_, CB_SETCURSEL, index, 0) != CB_ERR;
}

int ComboBox::SelectedIndex() const {
  const LRESULT index = SendMessageA(hwnd_, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR || index < 0 || static_cast<size_t>(index) >= items_.size()) return -1;
  return static_cast<int>(index);
}

std::string ComboBox::TextValue() const {
  const int index = SelectedIndex();
  if (index < 0) return {};
  const Item& item = items_[static_cast<size_t>(index)];
  return item.numeric ? std::to_string(item.number) : item.text;
}

std::optional<long> ComboBox::NumberValue() const {
  const int index = SelectedIndex();
  if (index < 0 || !items_[static_cast<size_t>(index)].numeric) return std::nullopt;
  return items_[static_cast<size_t>(index)].number;
}
