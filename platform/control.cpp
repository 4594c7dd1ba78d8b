#include "platform/control.h"

#include <commctrl.h>

#include <vector>

bool WindowHasStyle(HWND hwnd, int index, DWORD mask) {
  if (hwnd == nullptr) return false;
  return (static_cast<DWORD>(GetWindowLongA(hwnd, index)) & mask) != 0;
}

Control::~Control() { Release(); }

void Control::Release() {
  if (hwnd_ == nullptr) return;
  if (hooked_) RemoveWindowSubclass(hwnd_, &Control::SubclassProc, SubclassId());
  hooked_ = false;
  if (created_) DestroyWindow(hwnd_);
  created_ = false;
  hwnd_ = nullptr;
}

void Control::Hook() {
  if (hwnd_ != nullptr && !hooked_) {
    hooked_ =
        SetWindowSubclass(hwnd_, &Control::SubclassProc, SubclassId(), reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  }
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) {
  auto* control = reinterpret_cast<Control*>(self);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &Control::SubclassProc, id);
    control->hooked_ = false;
    control->created_ = false;
    control->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return control->Dispatch({message, wParam, lParam});
}

bool Control::Init(HWND owner, int id, POINT position, SIZE size, const std::string& text) {
  Release();
  owner_ = owner;
  id_ = id;
  position_ = position;
  size_ = size;
  text_ = text;
  return Create();
}

bool Control::Init(HWND owner, int resourceId) {
  Release();
  owner_ = owner;
  if (!Attach(owner, resourceId)) return false;
  Hook();
  return true;
}

bool Control::Create() {
  const char* windowClass = WindowClass();
  if (hwnd_ != nullptr || windowClass == nullptr || owner_ == nullptr) return false;
  hwnd_ = CreateWindowExA(exStyle_, windowClass, text_.c_str(), style_ | WS_CHILD, position_.x, position_.y, size_.cx,
                          size_.cy, owner_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleA(nullptr), nullptr);
  if (hwnd_ == nullptr) return false;
  created_ = true;
  if (font_ != nullptr) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Hook();
  return true;
}

LRESULT Control::Dispatch(const Event& event) {
  return DefSubclassProc(hwnd_, event.message, event.wParam, event.lParam);
}

void Control::Destroy() { Release(); }

DWORD Control::Style() const {
  return hwnd_ != nullptr ? static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)) : style_;
}

void Control::Style(DWORD style) {
  style_ = style;
  if (hwnd_ != nullptr) SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(style));
}

DWORD Control::ExStyle() const {
  return hwnd_ != nullptr ? static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)) : exStyle_;
}

void Control::ExStyle(DWORD exStyle) {
  exStyle_ = exStyle;
  if (hwnd_ != nullptr) SetWindowLongA(hwnd_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
}

void Control::Show() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_SHOW);
}

void Control::Hide() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
}

bool Control::IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

bool Control::HasStyle(DWORD mask) const { return WindowHasStyle(hwnd_, GWL_STYLE, mask); }
bool Control::HasStyleEx(DWORD mask) const { return WindowHasStyle(hwnd_, GWL_EXSTYLE, mask); }
bool Control::IsEnable() const { return !HasStyle(WS_DISABLED); }
bool Control::IsGotFocus() const { return hwnd_ != nullptr && GetFocus() == hwnd_; }

void Control::RedrawControl(bool erase) const {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
}

void Control::ShowOrHide(bool show) {
  if (show) {
    Show();
  } else {
    Hide();
  }
}

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
  text_ = text;
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
  font_ = font;
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
