#include "platform/dialog_layout.h"

#include <cstring>

#include "platform/dpi.h"

namespace {
// Reads a template resource front to back; every read is bounded by its size.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool Ok() const { return ok_; }

  template <class T>
  T Read() {
    T value{};
    if (pos_ + sizeof value > size_) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, data_ + pos_, sizeof value);
    pos_ += sizeof value;
    return value;
  }
  // A UTF-16 text ended by a 0 character.
  std::wstring Text() {
    std::wstring text;
    for (wchar_t c = Read<wchar_t>(); ok_ && c != 0; c = Read<wchar_t>()) text += c;
    return text;
  }
  // "sz_Or_Ord": nothing, an ordinal, or a text.
  void SkipNameOrOrdinal() {
    const WORD first = Read<WORD>();
    if (first == 0xFFFF) {
      Read<WORD>();
    } else if (first != 0) {
      Text();
    }
  }
  void Skip(size_t bytes) {
    if (pos_ + bytes > size_) ok_ = false;
    pos_ += bytes;
  }
  void AlignToDword() { Skip((4 - pos_ % 4) % 4); }

 private:
  const BYTE* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

constexpr const char* kAverageWidthText = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

template <class F>
F UserFunction(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}
}  // namespace

bool DialogLayout::Load(const char* templateName) {
  items_.clear();
  size_ = {};
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, templateName, MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const auto* data = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (data == nullptr) return false;
  TemplateReader reader(data, SizeofResource(module, resource));
  const WORD version = reader.Read<WORD>();
  const WORD signature = reader.Read<WORD>();
  if (version != 1 || signature != 0xFFFF) return false;
  reader.Read<DWORD>();  // help id
  reader.Read<DWORD>();  // extended style
  const DWORD style = reader.Read<DWORD>();
  const WORD count = reader.Read<WORD>();
  reader.Skip(2 * sizeof(short));
  const short width = reader.Read<short>();
  const short height = reader.Read<short>();
  reader.SkipNameOrOrdinal();  // menu
  reader.SkipNameOrOrdinal();  // class
  reader.Text();               // caption
  if ((style & DS_SETFONT) == 0) return false;
  points_ = reader.Read<WORD>();
  weight_ = reader.Read<WORD>();
  italic_ = reader.Read<BYTE>() != 0;
  charset_ = reader.Read<BYTE>();
  const std::wstring face = reader.Text();
  std::vector<Item> items;
  for (WORD i = 0; i < count && reader.Ok(); ++i) {
    reader.AlignToDword();
    reader.Skip(3 * sizeof(DWORD));  // help id, extended style, style
    Item item;
    item.units.left = reader.Read<short>();
    item.units.top = reader.Read<short>();
    item.units.right = reader.Read<short>();
    item.units.bottom = reader.Read<short>();
    item.id = static_cast<int>(reader.Read<DWORD>());
    reader.SkipNameOrOrdinal();  // class
    reader.SkipNameOrOrdinal();  // text
    reader.Skip(reader.Read<WORD>());
    items.push_back(item);
  }
  if (!reader.Ok() || points_ <= 0) return false;
  char faceName[LF_FACESIZE] = {};
  WideCharToMultiByte(CP_ACP, 0, face.c_str(), -1, faceName, sizeof faceName - 1, nullptr, nullptr);
  face_ = faceName;
  items_ = std::move(items);
  size_ = {width, height};
  MeasureBaseUnits();
  return true;
}

void DialogLayout::MeasureBaseUnits() {
  GdiObject font(CreateFontA(-MulDiv(points_, static_cast<int>(kDefaultDpi), 72), 0, 0, 0, weight_, italic_, FALSE,
                             FALSE, charset_, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face_.c_str()));
  WindowDC screen(nullptr);
  SelectedObject selected(screen.Get(), font.Get() != nullptr ? font.Get() : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  SIZE extent{};
  GetTextExtentPoint32A(screen.Get(), kAverageWidthText, 52, &extent);
  // The dialog manager's own rounding of the average character width.
  baseX_ = (extent.cx / 26 + 1) / 2;
  baseY_ = metrics.tmHeight;
}

int DialogLayout::ToPixelsX(int units, UINT dpi) const {
  return MulDiv(units * baseX_, static_cast<int>(dpi), 4 * static_cast<int>(kDefaultDpi));
}

int DialogLayout::ToPixelsY(int units, UINT dpi) const {
  return MulDiv(units * baseY_, static_cast<int>(dpi), 8 * static_cast<int>(kDefaultDpi));
}

SIZE DialogLayout::ClientSize(UINT dpi) const { return {ToPixelsX(size_.cx, dpi), ToPixelsY(size_.cy, dpi)}; }

HFONT DialogLayout::FontAt(UINT dpi) {
  return CreateFontA(-MulDiv(points_, static_cast<int>(dpi), 72), 0, 0, 0, weight_, italic_, FALSE, FALSE, charset_,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     face_.c_str());
}

void DialogLayout::Apply(HWND dialog, UINT dpi) {
  if (!Loaded() || dialog == nullptr) return;
  const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  const auto previous = static_cast<HFONT>(font_.Get());
  GdiObject font(FontAt(dpi));
  // The dialog manager made the controls in template order, which is the
  // order of its children; an id finds one that is out of place.
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const Item& item : items_) {
    HWND control = child;
    if (control == nullptr || LOWORD(GetDlgCtrlID(control)) != LOWORD(item.id)) control = GetDlgItem(dialog, item.id);
    if (control == child && child != nullptr) child = GetWindow(child, GW_HWNDNEXT);
    if (control == nullptr) continue;
    // A font the program gave the control itself is the program's to remake.
    const auto current = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (font.Get() != nullptr && (current == dialogFont || (previous != nullptr && current == previous))) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }
    SetWindowPos(control, nullptr, ToPixelsX(item.units.left, dpi), ToPixelsY(item.units.top, dpi),
                 ToPixelsX(item.units.right, dpi), ToPixelsY(item.units.bottom, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The controls hold the new font now: the old one may go.
  if (font.Get() != nullptr) font_ = std::move(font);
  InvalidateRect(dialog, nullptr, TRUE);
}

void TakeOverDialogScaling(HWND dialog) {
  using DialogFn = BOOL(WINAPI*)(HWND, int, int);
  using ControlFn = BOOL(WINAPI*)(HWND, int, int);
  static const auto dialogFn = UserFunction<DialogFn>("SetDialogDpiChangeBehavior");
  static const auto controlFn = UserFunction<ControlFn>("SetDialogControlDpiChangeBehavior");
  constexpr int kDisableAll = 0x0001;           // DDC_DISABLE_ALL
  constexpr int kNoFontNoRelayout = 0x0003;     // DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT
  if (dialogFn != nullptr) dialogFn(dialog, kDisableAll, kDisableAll);
  if (controlFn == nullptr) return;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    controlFn(child, kNoFontNoRelayout, kNoFontNoRelayout);
  }
}
