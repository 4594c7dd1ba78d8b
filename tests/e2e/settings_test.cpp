// The main window's lists and the settings it keeps from run to run.
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace {

using e2e::Program;
namespace settings = e2e::settings;

struct Shown {
  std::string port, baud, bits, parity, stop, statusByte, statusText;
};

Shown OpenAndRead(Program& program) {
  Shown shown;
  EXPECT_TRUE(program.Start());
  HWND main = program.WaitForMainWindow();
  EXPECT_NE(main, nullptr);
  if (!main) return shown;
  EXPECT_TRUE(ui::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  shown.port = ui::ComboSelectedText(program.Control(IDC_PORT));
  shown.baud = ui::ComboSelectedText(program.Control(IDC_BAUDRATE));
  shown.bits = ui::ComboSelectedText(program.Control(IDC_DATABITS));
  shown.parity = ui::ComboSelectedText(program.Control(IDC_PARITY));
  shown.stop = ui::ComboSelectedText(program.Control(IDC_STOPBITS));
  shown.statusByte = program.ControlText(IDC_STATUS_BYTE);
  shown.statusText = program.ControlText(IDC_STATUS_TEXT);
  return shown;
}

TEST(SavedSettings, FirstRunCreatesTheEmptyKeyAndShowsTheDefaults) {
  settings::Remove();
  Program program;
  const Shown shown = OpenAndRead(program);
  EXPECT_TRUE(settings::KeyExists());
  EXPECT_EQ(settings::ValueCount(), 0u) << "nothing is written before Start";
  EXPECT_EQ(shown.port, "COM1");
  EXPECT_EQ(shown.baud, "9600");
  EXPECT_EQ(shown.bits, "8");
  EXPECT_EQ(shown.parity, "None");
  EXPECT_EQ(shown.stop, "1");
  EXPECT_EQ(shown.statusByte, "");
  EXPECT_EQ(shown.statusText, "");
  EXPECT_EQ(ui::ComboItems(program.Control(IDC_PARITY)),
            (std::vector<std::string>{"Odd", "Even", "Mark", "Space", "None"}));
  EXPECT_EQ(ui::ComboItems(program.Control(IDC_PORT)).size(), 20u);
  EXPECT_EQ(ui::ComboItems(program.Control(IDC_PORT)).back(), "COM20");
  EXPECT_EQ(ui::ComboItems(program.Control(IDC_BAUDRATE)),
            (std::vector<std::string>{"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                                      "56000", "128000", "256000"}));
  EXPECT_TRUE(program.CloseAndWait());
}

TEST(SavedSettings, SavedValuesAreSelectedAgain) {
  settings::Remove();
  settings::Write("COM4", 19200, 7, 2, 2);
  Program program;
  const Shown shown = OpenAndRead(program);
  EXPECT_EQ(shown.port, "COM4");
  EXPECT_EQ(shown.baud, "19200");
  EXPECT_EQ(shown.bits, "7");
  EXPECT_EQ(shown.parity, "Even");
  EXPECT_EQ(shown.stop, "2");
  EXPECT_TRUE(program.CloseAndWait());

  settings::WriteDWord("BaudRate", 256000);
  Program again;
  EXPECT_EQ(OpenAndRead(again).baud, "256000");
  EXPECT_TRUE(again.CloseAndWait());
}

TEST(SavedSettings, UnknownPortFallsBackToCom1AndUnknownNumbersSelectNothing) {
  settings::Remove();
  settings::Write("COM25", 57600, 5, 9, 1);
  Program program;
  const Shown shown = OpenAndRead(program);
  EXPECT_EQ(shown.port, "COM1");
  EXPECT_EQ(shown.baud, "");
  EXPECT_EQ(shown.bits, "");
  EXPECT_EQ(shown.parity, "");
  EXPECT_EQ(shown.stop, "");
  EXPECT_EQ(SendMessageW(program.Control(IDC_BAUDRATE), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_TRUE(program.CloseAndWait());
}

}  // namespace
