#pragma once
// A 1 ms system timer while held. Windows' default tick is ~15.6 ms, which
// would stretch a 5 ms pause between keys to 15.6 ms; held only while
// paced keys wait, so an idle program leaves the tick alone.
#include <windows.h>
#include <mmsystem.h>

class TimerResolution {
 public:
  TimerResolution() = default;
  ~TimerResolution() { Release(); }
  TimerResolution(const TimerResolution&) = delete;
  TimerResolution& operator=(const TimerResolution&) = delete;

  void Hold() {
    if (!held_) held_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
  void Release() {
    if (held_) timeEndPeriod(1);
    held_ = false;
  }

 private:
  bool held_ = false;
};
