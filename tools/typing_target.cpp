// A window that receives typed keys: one multi-line edit that takes the focus
// and the foreground. With a log path on the command line every key press the
// edit receives is appended as "<virtual-key> <performance counter>" so tests
// and the benchmark can see what arrived, in which order and when.
//
//   typing_target.exe [/keysonly] [log path]
//
// /keysonly logs the key presses without typing them into the edit, to
// measure how fast keys arrive apart from how fast an edit control takes them;
// a character typed as itself is logged as its character code.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kEditId = 100;
HANDLE g_log = INVALID_HANDLE_VALUE;
WNDPROC g_editProc = nullptr;
HWND g_edit = nullptr;
bool g_keysOnly = false;

void LogKey(WPARAM vk) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  char line[64];
  const int length = std::snprintf(line, sizeof line, "%u %lld\n", static_cast<unsigned>(vk), now.QuadPart);
  DWORD written = 0;
  WriteFile(g_log, line, static_cast<DWORD>(length), &written, nullptr);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) LogKey(wParam);
  return CallWindowProcA(g_editProc, hwnd, message, wParam, lParam);
}

// Another program asks the target to come to the front: done from the
// target's own thread, which the system lets take the foreground.
constexpr UINT kComeToFront = WM_APP + 1;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kComeToFront:
      ShowWindow(hwnd, SW_SHOW);
      SetForegroundWindow(hwnd);
      SetActiveWindow(hwnd);
      if (g_edit) SetFocus(g_edit);
      return 0;
    case WM_SIZE:
      if (g_edit) MoveWindow(g_edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (g_edit) SetFocus(g_edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// The log path is the whole command line after the program name, quotes removed.
std::string LogPathFromCommandLine() {
  std::string line = GetCommandLineA();
  size_t start = 0;
  if (!line.empty() && line[0] == '"') {
    start = line.find('"', 1);
    start = start == std::string::npos ? line.size() : start + 1;
  } else {
    start = line.find(' ');
    if (start == std::string::npos) start = line.size();
  }
  std::string rest = line.substr(start);
  rest.erase(0, rest.find_first_not_of(' '));
  if (rest.rfind("/keysonly", 0) == 0) {
    g_keysOnly = true;
    rest.erase(0, 9);
    rest.erase(0, rest.find_first_not_of(' '));
  }
  if (!rest.empty() && rest.front() == '"') rest = rest.substr(1, rest.find('"', 1) - 1);
  while (!rest.empty() && rest.back() == ' ') rest.pop_back();
  return rest;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const std::string logPath = LogPathFromCommandLine();
  if (!logPath.empty()) {
    g_log = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TvTypingTarget";
  RegisterClassA(&wc);
  HWND frame = CreateWindowExA(0, wc.lpszClassName, "Typing target (keys from TV-SERKEY arrive here)",
                               WS_OVERLAPPEDWINDOW, 40, 40, 520, 300, nullptr, nullptr, instance, nullptr);
  g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                           0, 0, 0, 0, frame, reinterpret_cast<HMENU>(kEditId), instance, nullptr);
  // Room for long bursts: the default limit of an edit is 30,000 characters.
  SendMessageA(g_edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier New");
  SendMessageA(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  g_editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  RECT client;
  GetClientRect(frame, &client);
  MoveWindow(g_edit, 0, 0, client.right, client.bottom, FALSE);
  ShowWindow(frame, SW_SHOW);
  SetForegroundWindow(frame);
  SetFocus(g_edit);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (g_keysOnly && msg.hwnd == g_edit) {
      // A character typed as itself comes as VK_PACKET: what is logged for
      // it is the character of the WM_CHAR that translating it posts.
      if (msg.message == WM_KEYDOWN && LOWORD(msg.wParam) == VK_PACKET) {
        TranslateMessage(&msg);
        continue;
      }
      if (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) {
        LogKey(msg.wParam);
        continue;
      }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
  DeleteObject(font);
  return 0;
}
