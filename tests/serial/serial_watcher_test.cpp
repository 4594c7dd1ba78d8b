// Serial: the comm event watcher, seen from a real window of the test.
#include <gtest/gtest.h>

#include "tests/harness/ui.h"
#include "tests/serial/cable.h"

namespace {

class Watcher : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.IsOpen());
    ASSERT_TRUE(cable::OpenShort(serial, cable::kPort)) << serial.ErrorDesc();
  }
  void TearDown() override { serial.Close(); }
  cable::Sink sink;
  cable::Device device{cable::kPeer};
  Serial serial{sink.Handle()};
};

TEST_F(Watcher, ArrivingBytesNotifyTheOwnerWindow) {
  ASSERT_TRUE(serial.EnableEvents(EV_RXCHAR));
  EXPECT_EQ(sink.Pump(200), 0) << "notified with nothing received";
  device.Send("hello");
  ASSERT_TRUE(sink.WaitFor(1)) << "no WM_COMMNOTIFY arrived";
  EXPECT_EQ(sink.LastWParam(), 1u);
  EXPECT_EQ(cable::ReadAll(serial, 5), "hello");
}

TEST_F(Watcher, SecondEnableIsRefusedAndStartsNoThread) {
  EXPECT_TRUE(serial.DisableEvents()) << "never enabled";
  ASSERT_TRUE(serial.EnableEvents(EV_RXCHAR));
  EXPECT_EQ(cable::WatcherCount(), 1);
  EXPECT_FALSE(serial.EnableEvents(EV_RXCHAR));
  EXPECT_EQ(cable::WatcherCount(), 1);
  EXPECT_TRUE(serial.DisableEvents());
  EXPECT_FALSE(serial.EventsEnabled());
  EXPECT_TRUE(cable::WatchersSettleAt(0));
  EXPECT_EQ(serial.ErrorDesc(), "");
}

TEST_F(Watcher, NothingIsPostedAfterDisableEventsOrClose) {
  for (bool byClose : {false, true}) {
    SCOPED_TRACE(byClose ? "Close" : "DisableEvents");
    ASSERT_TRUE(serial.EnableEvents(EV_RXCHAR));
    device.Send("a");
    ASSERT_TRUE(sink.WaitFor(1));
    EXPECT_TRUE(byClose ? serial.Close() : serial.DisableEvents());
    // Under Wine closing the handle alone ends the wait too: only a stopped
    // watcher tells that Close went through DisableEvents.
    EXPECT_FALSE(serial.EventsEnabled()) << "the watcher was stopped";
    sink.Pump(100);  // what was posted before the stop
    sink.Reset();
    device.Send("b");
    EXPECT_EQ(sink.Pump(500), 0);
    if (!byClose) {
      EXPECT_EQ(cable::ReadAll(serial, 2), "ab");
    }
  }
}

// One handle leaked per start (the thread's, say) or a thread left behind
// shows up here as 200 of them. A byte waits unread at each stop, so the
// watcher is busy (Wine reports it again and again) when the stop comes:
// a stop landing between its loop test and its next wait must not hang.
TEST(WatcherCycles, TwoHundredStartsAndStopsLeaveNothingBehind) {
  cable::Sink sink;
  cable::Device device(cable::kPeer);
  const int handles = cable::HandleCount();
  for (int i = 0; i < 200; ++i) {
    Serial serial(sink.Handle());
    ASSERT_TRUE(serial.Open(cable::kPort)) << "cycle " << i;
    ASSERT_TRUE(serial.EnableEvents(EV_RXCHAR));
    device.Send("x");
    Sleep(i % 3);
    ASSERT_TRUE(serial.Close()) << "cycle " << i << ": " << serial.ErrorDesc();
    ASSERT_FALSE(serial.EventsEnabled()) << "cycle " << i << ": " << serial.ErrorDesc();
  }
  sink.Pump(50);
  EXPECT_TRUE(cable::WatchersSettleAt(0)) << cable::WatcherCount() << " watchers left";
  EXPECT_EQ(cable::HandleCount(), handles);
}

// A port that was never opened: the watcher's SetCommMask fails.
TEST(WatcherFailure, MaskFailureShowsItsBoxAndStopDoesNotHang) {
  Serial serial;
  auto box = ui::AnswerNextBox(IDOK);
  EXPECT_TRUE(serial.EnableEvents(EV_RXCHAR));
  const ui::BoxSnapshot shown = box.get();
  ASSERT_NE(shown.hwnd, nullptr) << "no box from the watcher";
  EXPECT_EQ(shown.text, "SetCommMask failed!");
  EXPECT_EQ(shown.title, "CommWatchProc Error");
  EXPECT_EQ(shown.owner, nullptr);
  EXPECT_EQ(shown.buttons.size(), 1u);
  EXPECT_TRUE(shown.HasButton(IDOK));
  EXPECT_TRUE(cable::WatchersSettleAt(0));
  bool stopped = true;
  bool closed = true;
  EXPECT_TRUE(cable::ReturnsWithin(10000, [&] {
    stopped = serial.DisableEvents();
    closed = serial.Close();
  }));
  EXPECT_FALSE(stopped) << "no port to clear the mask of";
  EXPECT_EQ(serial.ErrorDesc(), "SetCommMask failed in DisableEvents.");
  EXPECT_EQ(serial.ErrorCode(), std::to_string(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(serial.EventsEnabled()) << "the watcher has ended";
  EXPECT_FALSE(closed) << "nothing was open";
}

// A watcher that does not end (here: held in its box while the object has
// meanwhile opened a port) must not hang DisableEvents.
TEST(WatcherFailure, DisableEventsGivesUpOnAWatcherThatNeverEnds) {
  Serial serial;
  ASSERT_TRUE(serial.EnableEvents(EV_RXCHAR));
  const HWND box = ui::WaitForMessageBox();
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(serial.Open(cable::kPort));
  bool stopped = true;
  ASSERT_TRUE(cable::ReturnsWithin(15000, [&] { stopped = serial.DisableEvents(); }));
  EXPECT_FALSE(stopped);
  EXPECT_TRUE(serial.EventsEnabled());
  EXPECT_EQ(serial.ErrorDesc(), "CommWatchProc did not end in DisableEvents.");
  EXPECT_EQ(serial.ErrorCode(), std::to_string(WAIT_TIMEOUT));
  EXPECT_FALSE(serial.EnableEvents(EV_RXCHAR)) << "a second watcher beside the first";
  EXPECT_EQ(cable::WatcherCount(), 1);
  EXPECT_FALSE(serial.Close()) << "the handle was closed under the running watcher";
  EXPECT_TRUE(serial.IsOpen());

  ui::PressButton(box, IDOK);
  ASSERT_TRUE(ui::WaitForWindowGone(box));
  EXPECT_TRUE(ui::WaitUntil([&] { return !serial.EventsEnabled(); }, 5000)) << "the watcher has ended";
  ASSERT_TRUE(serial.Open(cable::kPort)) << serial.ErrorDesc();
  EXPECT_TRUE(serial.EnableEvents(EV_RXCHAR)) << "refused until the object was opened again";
  EXPECT_EQ(cable::WatcherCount(), 1);
  EXPECT_TRUE(serial.Close());
  EXPECT_FALSE(serial.EventsEnabled());
}

// The far end vanishes (the cable's socat is killed) while the port is watched.
TEST(WatcherUnplug, PortWhoseCableIsPulledStillCloses) {
  cable::Sink sink;
  cable::Device device(cable::kPullablePeer);
  Serial serial(sink.Handle());
  ASSERT_TRUE(cable::OpenShort(serial, cable::kPullable));
  ASSERT_TRUE(serial.EnableEvents(EV_RXCHAR));
  device.Send("z");
  ASSERT_TRUE(sink.WaitFor(1));
  EXPECT_EQ(serial.Read(1), "z");
  ASSERT_TRUE(cable::Unplug(cable::kPullable)) << "the test harness could not pull the plug";
  sink.Pump(300);
  EXPECT_TRUE(cable::ReturnsWithin(10000, [&] {
    serial.Read(4);
    serial.Write("gone");
    serial.Close();
  })) << "the port hung after its cable was pulled";
  EXPECT_FALSE(serial.IsOpen());
  EXPECT_TRUE(cable::WatchersSettleAt(0));
}

}  // namespace
