// Baseline for the start-up figure: the least a program can do to show a
// window with five filled drop-down lists (as many items as the port
// settings hold), centred, then wait for its close.
#include <windows.h>

#include <string>
#include <vector>

namespace {

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void AddList(HWND frame, int index, const std::vector<std::string>& items) {
  HWND list = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                              90, 10 + index * 26, 100, 200, frame, reinterpret_cast<HMENU>(INT_PTR{100} + index),
                              GetModuleHandleA(nullptr), nullptr);
  for (const std::string& item : items) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(list, CB_SETCURSEL, 0, 0);
}

}  // namespace

int main() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "TvComboWindow";
  RegisterClassA(&wc);
  constexpr int kWidth = 260, kHeight = 190;
  HWND frame = CreateWindowExA(0, wc.lpszClassName, "Five lists", WS_OVERLAPPEDWINDOW,
                               (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2,
                               kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
  std::vector<std::string> ports;
  for (int i = 1; i <= 20; ++i) ports.push_back("COM" + std::to_string(i));
  AddList(frame, 0, ports);
  AddList(frame, 1, {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                     "57600", "115200"});
  AddList(frame, 2, {"7", "8"});
  AddList(frame, 3, {"None", "Odd", "Even", "Mark", "Space"});
  AddList(frame, 4, {"1", "2"});
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
