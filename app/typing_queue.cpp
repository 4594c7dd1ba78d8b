#include "app/typing_queue.h"

#include <algorithm>

#include "platform/timer_resolution.h"

namespace {
// Without a pause keys go out in chunks of one port batch, each after one
// look at the window in front, as a batch was typed before the queue.
constexpr std::size_t kChunkKeys = 30;
}  // namespace

TypingQueue::~TypingQueue() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    keys_.clear();
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TypingQueue::Owner(HWND window, Check check) {
  owner_ = window;
  check_ = std::move(check);
}

void TypingQueue::PauseMs(unsigned ms) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pauseMs_ = ms;
  }
  changed_.notify_all();
}

void TypingQueue::Push(std::vector<TextKey> keys) {
  if (keys.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    keys_.insert(keys_.end(), keys.begin(), keys.end());
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  changed_.notify_all();
}

std::size_t TypingQueue::Pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return keys_.size();
}

std::size_t TypingQueue::Drop() {
  std::unique_lock<std::mutex> lock(mutex_);
  const std::size_t dropped = keys_.size();
  keys_.clear();
  changed_.notify_all();
  changed_.wait(lock, [this] { return !typing_; });
  return dropped;
}

void TypingQueue::Run() {
  TimerResolution resolution;
  Clock::time_point lastKey{};
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || !keys_.empty(); });
    if (stop_) return;
    if (pauseMs_ > 0) {
      resolution.Hold();
      // The pause counts from the last key out; Drop or a shorter pause
      // wakes the wait early.
      for (;;) {
        const Clock::time_point due = lastKey + std::chrono::milliseconds(pauseMs_);
        if (stop_ || keys_.empty() || Clock::now() >= due) break;
        changed_.wait_until(lock, due);
      }
      if (stop_) return;
      if (keys_.empty()) continue;
    }
    const std::size_t count = pauseMs_ > 0 ? 1 : std::min(keys_.size(), kChunkKeys);
    std::vector<TextKey> chunk(keys_.begin(), keys_.begin() + static_cast<std::ptrdiff_t>(count));
    keys_.erase(keys_.begin(), keys_.begin() + static_cast<std::ptrdiff_t>(count));
    typing_ = true;
    lock.unlock();
    // The pause runs from when this key starts out, so the time the check
    // and the typing take is part of it, not added to it.
    lastKey = Clock::now();
    const KeyTargetCheck target = check_ ? check_() : KeyTargetCheck{};
    if (target.target == KeyTarget::Window) {
      TypeText(chunk);
      Typed();
    } else {
      NotTyped(target, count);
    }
    lock.lock();
    typing_ = false;
    changed_.notify_all();
    if (keys_.empty()) {
      resolution.Release();
      ReportStretch();
    }
  }
}

void TypingQueue::Typed() { stretch_ = Stretch{}; }

// Keys meant for another program never press our own window's buttons, as
// before there was a queue; that needs no word.
void TypingQueue::NotTyped(const KeyTargetCheck& check, std::size_t count) {
  if (check.target != stretch_.target || check.window != stretch_.window) {
    stretch_ = Stretch{check.target, check.window, 0, false};
  }
  stretch_.count += count;
}

// One report per stretch, and one per window with higher rights however
// often typing comes back to it.
void TypingQueue::ReportStretch() {
  if (stretch_.reported || stretch_.count == 0) return;
  stretch_.reported = true;
  if (stretch_.target == KeyTarget::NoFocus) {
    PostMessageA(owner_, kNoFocusReport, stretch_.count, 0);
  } else if (stretch_.target == KeyTarget::HigherRights) {
    if (std::find(warnedWindows_.begin(), warnedWindows_.end(), stretch_.window) != warnedWindows_.end()) return;
    warnedWindows_.push_back(stretch_.window);
    PostMessageA(owner_, kHigherRightsReport, stretch_.count, reinterpret_cast<LPARAM>(stretch_.window));
  }
}
