// The ports on this computer (the list, the menu, the status bar's note and
// device notices), the icon's way back after the shell restarts or refuses
// it, and the main window at another resolution.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/app.h"
#include "app/ports_menu.h"
#include "app/win_start.h"
#include "platform/dpi.h"
#include "platform/tray_icon.h"
#include "resources/resource_ids.h"
#include "serial/port_list.h"
#include "tests/harness/e2e_support.h"
#include "tests/harness/ui.h"

namespace {

constexpr const char* kSerialMap = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

// A port the driver's serial map knows, as virtual-port drivers enter theirs.
void MapPort(const std::string& port, bool present = true) {
  const std::string device = "\\Device\\TvTest" + port.substr(3);
  if (!present) RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSerialMap, device.c_str());
  if (present) RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSerialMap, device.c_str(), REG_SZ, port.c_str(), port.size() + 1);
}

UINT PortId(int number) { return IDM_PORT_FIRST + 16u * static_cast<UINT>(number); }

TEST(PortList, SerialMapPortsComeSortedByNumberOnceEachWithTheirDeviceNames) {
  MapPort("COM25");
  MapPort("COM5");
  const auto start = std::chrono::steady_clock::now();
  const std::vector<PortDevice> ports = PortsOnThisComputer();
  std::printf("[ figure ] ports listed in %.2f ms\n",
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  MapPort("COM25", false);
  MapPort("COM5", false);
  std::string listed;
  for (const PortDevice& port : ports) listed += port.name + "=" + port.device + " ";
  EXPECT_NE(listed.find("COM5=TvTest5 COM25=TvTest25 "), std::string::npos) << listed;
  EXPECT_EQ(listed.find("COM25", listed.find("COM25") + 1), std::string::npos) << "once each: " << listed;

  for (auto [name, number] : {std::pair{"com12", 12}, {"COM0", 0}, {"LPT1", 0}, {"COM1000", 0}, {"COM3A", 0}}) {
    EXPECT_EQ(ComPortNumber(name), number) << name;
  }
  EXPECT_EQ(DeviceNameWithoutPort("USB-SERIAL CH340 (COM3)", "COM3") + DeviceNameWithoutPort("Modem (COM4)", "COM3"),
            "USB-SERIAL CH340Modem (COM4)");
}

// What the window's own test cannot reach: ports above COM20, and none at all.
TEST(PortsMenu, PortsTheListDoesNotHoldAreGreyedAndNoPortGivesOneGreyedItem) {
  auto upToCom20 = [](const std::string& name) { return ComPortNumber(name) <= 20; };
  const auto items = PortMenuItems({{"COM3", "USB-SERIAL CH340"}, {"COM25", "Virtual"}}, "COM3", false, upToCom20);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].text, "COM3  USB-SERIAL CH340");
  EXPECT_TRUE(items[0].enabled);
  EXPECT_FALSE(items[1].enabled) << "COM25";
  const auto none = PortMenuItems({}, "COM3", false, upToCom20);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].text, "No COM port found");
  EXPECT_FALSE(none[0].enabled);
}

class PortsWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { App().Initialize(); }

  void SetUp() override {
    e2e::settings::Remove();
    e2e::settings::WriteString("Port", e2e::kProgramPort);
    MapPort(e2e::kProgramPort);
    window = std::make_unique<WinStart>(nullptr);
    ASSERT_NE(window->Handle(), nullptr);
  }

  void TearDown() override {
    window.reset();
    for (const char* port : {e2e::kProgramPort, "COM7", "COM12"}) MapPort(port, false);
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::string Note() const {
    char text[256] = {};
    SendMessageA(window->StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }

  // The record Windows broadcasts to top-level windows for a COM port.
  void PortNotice(WPARAM event, const std::string& port) {
    struct {
      DEV_BROADCAST_PORT_A header;
      char rest[16];
    } record{};
    record.header.dbcp_size = static_cast<DWORD>(sizeof record.header + port.size());
    record.header.dbcp_devicetype = DBT_DEVTYP_PORT;
    port.copy(record.header.dbcp_name, port.size());
    SendMessageA(window->Handle(), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&record));
  }

  // "Ports on this computer" of the system menu, as it is when it opens.
  HMENU OpenPortsMenu() {
    HMENU system = GetSystemMenu(window->Handle(), FALSE);
    for (int i = 0; i < GetMenuItemCount(system); ++i) {
      char text[64] = {};
      HMENU ports = GetSubMenu(system, i);
      GetMenuStringA(system, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      if (text != std::string("Ports on this computer")) continue;
      SendMessageA(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(ports), MAKELPARAM(i, FALSE));
      return ports;
    }
    return nullptr;
  }

  std::unique_ptr<WinStart> window;
};

TEST_F(PortsWindow, NoteAndMenuFollowTheSelectionAndTheDevices) {
  ui::PumpMessages(100);
  EXPECT_EQ(Note(), "COM5: TvTest5");
  HMENU ports = OpenPortsMenu();
  ASSERT_NE(ports, nullptr);
  char text[64] = {};
  GetMenuStringA(ports, PortId(5), text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "COM5  TvTest5");
  EXPECT_TRUE(GetMenuState(ports, PortId(5), MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(GetMenuState(ports, PortId(7), MF_BYCOMMAND), static_cast<UINT>(-1)) << "COM7 is not on this computer";

  MapPort("COM12");
  OpenPortsMenu();
  SendMessageA(window->Handle(), WM_SYSCOMMAND, PortId(12), 0);
  EXPECT_EQ(window->oDCPort.TextValue(), "COM12");
  EXPECT_EQ(Note(), "COM12: TvTest12");

  window->oDCPort.SelectValue(std::string("COM7"));
  SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(IDC_PORT, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(window->oDCPort.Handle()));
  EXPECT_EQ(Note(), "COM7: not on this computer");
  MapPort("COM7");
  PortNotice(DBT_DEVICEARRIVAL, "COM7");
  EXPECT_EQ(Note(), "COM7: TvTest7");

  window->oDCPort.SelectValue(std::string("COM5"));
  window->ButtonStartStop();
  ASSERT_TRUE(window->IsRunning());
  ports = OpenPortsMenu();
  EXPECT_TRUE(GetMenuState(ports, PortId(12), MF_BYCOMMAND) & MF_GRAYED) << "no choice while running";
  SendMessageA(window->Handle(), WM_SYSCOMMAND, PortId(12), 0);
  EXPECT_EQ(window->oDCPort.TextValue(), "COM5");
}

// Wine announces nothing for the virtual cable: the notices are sent here
// as Windows sends them, with the cable still in place.
TEST_F(PortsWindow, RemovalOfTheRunningPortIsHandledAtOnceAndItsArrivalTriedAtOnce) {
  window->ButtonStartStop();
  ASSERT_NE(window->SerialPort(), nullptr);
  PortNotice(DBT_DEVICEREMOVECOMPLETE, "COM7");
  EXPECT_FALSE(window->IsWaitingForPort()) << "another port went";
  PortNotice(DBT_DEVICEREMOVECOMPLETE, "COM5");
  EXPECT_TRUE(window->IsWaitingForPort());
  EXPECT_EQ(window->SerialPort(), nullptr);
  PortNotice(DBT_DEVICEARRIVAL, "COM5");
  EXPECT_FALSE(window->IsWaitingForPort());
  EXPECT_NE(window->SerialPort(), nullptr) << "opened again without waiting for the retry";
}

// A notification area that is not there yet refuses every call.
BOOL WINAPI NoNotificationArea(DWORD, PNOTIFYICONDATAA) { return FALSE; }

TEST_F(PortsWindow, IconComesBackAfterARefusedAddAndAfterTheShellRestarts) {
  auto icons = [] { return e2e::Program{}.TrayIconCount(); };
  window->ShowCentered();
  const ShellNotifyFunction shell = UseShellNotify(&NoNotificationArea);
  SendMessageA(window->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);  // hidden and stopped: the icon is the way back
  EXPECT_EQ(icons(), 0);
  UseShellNotify(shell);
  ui::PumpMessages(1500);
  EXPECT_EQ(icons(), 1) << "the add is tried again";

  DeleteTrayIcon(window->Handle(), 1);  // behind the window's back, as a restarting shell does
  ASSERT_TRUE(ui::WaitUntil([&] { return icons() == 0; }, 5000));
  SendMessageA(window->Handle(), TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(ui::WaitUntil([&] { return icons() == 1; }, 5000)) << "the shell is called on a thread of its own";
}

// At 150% the status bar's font grows; the fields' font is remade for the new resolution.
TEST_F(PortsWindow, AtAnotherResolutionTheClockFitsAndTheFieldsFontIsRemade) {
  GdiObject font(CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
  SendMessageA(window->StatusBar(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  RECT place{};
  GetWindowRect(window->Handle(), &place);
  SendMessageA(window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&place));

  RECT clock{};
  SendMessageA(window->StatusBar(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&clock));
  EXPECT_GT(clock.right - clock.left, TextWidth(window->StatusBar(), "00:00:00"));
  LOGFONTA fields{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window->oDCStatusText.Handle(), WM_GETFONT, 0, 0)), sizeof fields,
             &fields);
  EXPECT_EQ(fields.lfHeight, -16) << "8 points at 144 DPI";
}

}  // namespace
