#include "platform/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/handles.h"

namespace {
std::atomic<ShellNotifyFunction> shellNotify{&Shell_NotifyIconA};
constexpr auto kRetryInterval = std::chrono::milliseconds(1000);

NOTIFYICONDATAA Base(HWND owner, UINT id) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  return data;
}

void Copy(char* target, size_t size, const std::string& text) {
  const size_t n = std::min(size - 1, text.size());
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}

bool Call(DWORD message, NOTIFYICONDATAA& data) { return shellNotify.load()(message, &data) != FALSE; }

struct Request {
  DWORD message = NIM_ADD;  // NIM_ADD, NIM_MODIFY (a balloon) or NIM_DELETE
  NOTIFYICONDATAA data{};
  IconHandle icon;  // the request's own copy, alive until the shell has it
};

bool SameIcon(const Request& a, const Request& b) { return a.data.hWnd == b.data.hWnd && a.data.uID == b.data.uID; }

// The one thread that talks to the shell. It lives as long as the process:
// at its end Windows stops it, after SettleTrayIcons has let the last
// delete through.
class NotifyThread {
 public:
  static NotifyThread& Get() {
    static NotifyThread* const thread = new NotifyThread;
    return *thread;
  }

  void Post(Request request) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(request));
    wake_.notify_one();
  }

  bool Settle(DWORD timeoutMs) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return queue_.empty() && !busy_; });
  }

 private:
  NotifyThread() : thread_([this] { Run(); }) {}

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (queue_.empty() && !retries_.empty() && std::chrono::steady_clock::now() >= nextRetry_) {
        Retry(lock);
        continue;
      }
      if (queue_.empty()) {
        idle_.notify_all();
        if (retries_.empty()) {
          wake_.wait(lock);
        } else {
          wake_.wait_until(lock, nextRetry_);
        }
        continue;
      }
      Request request = std::move(queue_.front());
      queue_.pop_front();
      const auto waiting = std::find_if(retries_.begin(), retries_.end(),
                                        [&](const Request& other) { return SameIcon(other, request); });
      if (waiting != retries_.end()) {
        if (request.message == NIM_MODIFY) continue;  // a balloon on an icon that is not there yet
        retries_.erase(waiting);                      // a new add or a delete supersedes the old add
      }
      busy_ = true;
      lock.unlock();
      const bool done = Make(request);
      lock.lock();
      busy_ = false;
      if (!done && request.message == NIM_ADD) Later(std::move(request));
    }
  }

  // The calls, with no lock held: they may block for seconds.
  static bool Make(Request& request) {
    if (request.message != NIM_ADD) return Call(request.message, request.data);
    return Call(NIM_ADD, request.data) || Call(NIM_MODIFY, request.data);
  }

  void Later(Request request) {
    if (retries_.empty()) nextRetry_ = std::chrono::steady_clock::now() + kRetryInterval;
    retries_.push_back(std::move(request));
  }

  void Retry(std::unique_lock<std::mutex>& lock) {
    std::vector<Request> waiting = std::move(retries_);
    retries_.clear();
    busy_ = true;
    lock.unlock();
    std::vector<Request> refused;
    for (Request& request : waiting) {
      if (!Make(request)) refused.push_back(std::move(request));
    }
    lock.lock();
    busy_ = false;
    // A delete or a new add that came meanwhile wins over the old add.
    for (Request& request : refused) {
      const bool superseded = std::any_of(queue_.begin(), queue_.end(),
                                          [&](const Request& queued) { return SameIcon(queued, request); });
      if (!superseded) retries_.push_back(std::move(request));
    }
    nextRetry_ = std::chrono::steady_clock::now() + kRetryInterval;
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  // All below belong to the thread, under mutex_.
  std::deque<Request> queue_;
  std::vector<Request> retries_;
  std::chrono::steady_clock::time_point nextRetry_{};
  bool busy_ = false;
  std::thread thread_;
};

void Post(DWORD message, NOTIFYICONDATAA data, HICON icon) {
  Request request;
  request.message = message;
  request.data = data;
  if (icon != nullptr) request.icon.Reset(CopyIcon(icon));
  request.data.hIcon = request.icon.Get();
  NotifyThread::Get().Post(std::move(request));
}
}  // namespace

bool AddTrayIcon(HWND owner, HICON icon, UINT id, const std::string& tooltip) {
  if (owner == nullptr) return false;
  NOTIFYICONDATAA data = Base(owner, id);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kTrayCallbackMessage;
  Copy(data.szTip, sizeof data.szTip, tooltip);
  Post(NIM_ADD, data, icon);
  return true;
}

bool ShowBalloonTrayTip(HWND owner, HICON icon, UINT id, const std::string& title, const std::string& text,
                        UINT timeoutMs, DWORD kind) {
  if (owner == nullptr) return false;
  NOTIFYICONDATAA data = Base(owner, id);
  data.uFlags = NIF_INFO | NIF_ICON;
  data.uTimeout = timeoutMs;
  data.dwInfoFlags = kind;
  Copy(data.szInfoTitle, sizeof data.szInfoTitle, title);
  Copy(data.szInfo, sizeof data.szInfo, text);
  Post(NIM_MODIFY, data, icon);
  return true;
}

bool DeleteTrayIcon(HWND owner, UINT id) {
  if (owner == nullptr) return false;
  Post(NIM_DELETE, Base(owner, id), nullptr);
  return true;
}

bool SettleTrayIcons(DWORD timeoutMs) { return NotifyThread::Get().Settle(timeoutMs); }

bool IsTrayClick(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsTrayMenuRequest(LPARAM mouseMessage) {
  const auto message = static_cast<UINT>(mouseMessage);
  return message == WM_RBUTTONUP || message == WM_CONTEXTMENU;
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void AcceptTaskbarCreated(HWND window) {
  if (TaskbarCreatedMessage() != 0) ChangeWindowMessageFilterEx(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

ShellNotifyFunction UseShellNotify(ShellNotifyFunction function) { return shellNotify.exchange(function); }
