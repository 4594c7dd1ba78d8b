#pragma once
// The keys still to type, typed by a thread of their own with the chosen
// pause between keys, so that the window keeps reading the port (and
// answering the user) however far typing lags behind.
//
// Keys that would reach no window that takes them are not typed; one report
// per stretch of such keys goes to the owner window as a posted message.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "app/key_targets.h"
#include "app/text_keys.h"

class TypingQueue {
 public:
  using Check = std::function<KeyTargetCheck()>;

  // Posted to the owner: wParam the number of keys not typed, lParam the
  // window in front (kHigherRightsReport only).
  static constexpr UINT kNoFocusReport = WM_APP + 0x61;
  static constexpr UINT kHigherRightsReport = WM_APP + 0x62;

  TypingQueue() = default;
  ~TypingQueue();
  TypingQueue(const TypingQueue&) = delete;
  TypingQueue& operator=(const TypingQueue&) = delete;

  // Where reports go, and what decides whether keys may go out now.
  void Owner(HWND window, Check check);
  // From the next key on; 0 types each key as soon as it is there.
  void PauseMs(unsigned ms);
  // The one way in: `keys` are typed after everything pushed before them.
  void Push(std::vector<TextKey> keys);
  // Keys not typed yet.
  std::size_t Pending() const;
  // Forgets the keys not typed yet and returns how many; no key goes out
  // after this returns.
  std::size_t Drop();

 private:
  using Clock = std::chrono::steady_clock;
  void Run();
  // What the keys of one chunk met: typed, or a report of the stretch
  // they belong to once the queue runs dry.
  void Typed();
  void NotTyped(const KeyTargetCheck& check, std::size_t count);
  void ReportStretch();

  // Shared with the typing thread, under mutex_.
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<TextKey> keys_;
  unsigned pauseMs_ = 0;
  bool typing_ = false;  // a chunk is between the queue and the input stream
  bool stop_ = false;
  std::thread thread_;

  // Set before the thread starts, then read only.
  HWND owner_ = nullptr;
  Check check_;

  // The typing thread's own.
  struct Stretch {
    KeyTarget target = KeyTarget::Window;
    HWND window = nullptr;
    std::size_t count = 0;
    bool reported = false;
  } stretch_;
  std::vector<HWND> warnedWindows_;
};
