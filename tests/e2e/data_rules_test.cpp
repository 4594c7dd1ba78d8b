// Data rules end to end: a scale's line through the real port, the record
// gap, a burst without line ends, and the dialog with its bad inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "resources/resource_ids.h"
#include "tests/e2e/running_program.h"

namespace {

using e2e::Program;
namespace settings = e2e::settings;

constexpr const char* kRulesPath = "Software\\Talvik\\TV-SERKEY\\Rules";
constexpr const char* kScaleMatch = R"(ST,GS,\+\s*0*(\d+\.\d+)kg)";

void WriteRules(const std::vector<std::pair<std::string, std::string>>& rules) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kRulesPath);
  for (size_t i = 0; i < rules.size(); ++i) {
    const std::string key = std::string(kRulesPath) + "\\" + std::to_string(i + 1);
    for (const auto& [name, value] : {std::pair{"Match", rules[i].first}, std::pair{"Type", rules[i].second}}) {
      RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
    }
  }
}

std::string StoredRule(int number, const char* name) {
  char value[512] = {};
  DWORD size = sizeof value;
  const std::string key = std::string(kRulesPath) + "\\" + std::to_string(number);
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != 0) return "<none>";
  return value;
}

void WriteOption(const char* name, DWORD value) {
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Talvik\\TV-SERKEY\\Options", name, REG_DWORD, &value, sizeof value);
}

class ScaleRules : public e2e::RunningProgram {
 protected:
  void BeforeStart() override {
    WriteOption("TypeText", 1);
    WriteOption("RecordGapMs", 100);
    // The first and the last cannot be used: skipped, with a balloon.
    WriteRules({{"(", "x"}, {kScaleMatch, "$1{TAB}"}, {"US,.*", ""}, {"B(\\d+)", "{NOPE}"}});
  }
};

TEST_F(ScaleRules, TheWeightIsTypedWithATabOtherLinesAsTheyCameAndBadRulesAreSkipped) {
  SendAndCollect("ST,GS,+  0012.34kg\r\nUS,GS,+  0000.00kg\r\nB12\r\n", 10);
  EXPECT_EQ(target.Text(), "12.34\tB12\r\n");
}

TEST_F(ScaleRules, ARecordWithoutLineEndIsTypedWhenTheDeviceFallsSilent) {
  SendAndCollect("B1\r", 3);  // the path's first use is not what is measured
  LARGE_INTEGER sent, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&sent);
  SendAndCollect("ST,GS,+  0001.50kg", 8);
  EXPECT_EQ(target.Text(), "B1\r\n1.50\t");
  // To the record's first key: the edit itself then takes 10-20 ms a key.
  const double ms = 1000.0 * static_cast<double>(target.Arrivals()[3].counter - sent.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
  std::printf("record began to be typed %.0f ms after its last byte was sent (gap 100 ms)\n", ms);
  EXPECT_LT(ms, 2000.0) << "hang guard: the record waited for a line end";
}

class LongRecord : public e2e::RunningProgram {
 protected:
  LongRecord() : RunningProgram(e2e::kProgramPort, e2e::kDevicePort, true) {}
  void BeforeStart() override {
    WriteOption("TypeText", 1);
    WriteRules({{"(\\d+)", "<$1>"}});
  }
};

TEST_F(LongRecord, TenThousandBytesWithoutLineEndAreAllTypedAsTheyCameWhileTheWindowAnswers) {
  std::string burst;
  for (int i = 0; i < 10000; ++i) burst += static_cast<char>('0' + i % 10);
  ASSERT_TRUE(device.Send(burst));
  DWORD_PTR answer = 0;
  int rounds = 0;
  while (!target.WaitForKeys(burst.size(), 200)) {
    ASSERT_NE(SendMessageTimeoutA(program.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0)
        << "the window stopped answering after " << target.Keys().size() << " keys";
    ASSERT_LT(target.Keys().size(), burst.size() + 1);
    ASSERT_LT(++rounds, 600) << "got " << target.Keys().size() << " keys";
  }
  // The long record ended when the device fell silent: the next one meets the rule again.
  const auto keys = SendAndCollect("5\r", burst.size() + 3);
  EXPECT_EQ(keys.size(), burst.size() + 3) << "<5>, without the Enter";
  EXPECT_EQ(std::count(keys.begin(), keys.end(), VK_RETURN), 0);
}

// The dialog, driven as a user does: Try, refusals on OK, Add, Up, OK, Cancel.
TEST(DataRulesDialog, TryShowsTheKeysBadRulesAreRefusedOkSavesAndCancelKeepsAll) {
  settings::Remove();
  WriteOption("TypeText", 1);
  WriteRules({{"(\\d+)", "$1{ENTER}"}});
  Program program;
  ASSERT_TRUE(program.Start());
  ASSERT_NE(program.WaitForMainWindow(), nullptr);
  const DWORD pid = program.Pid();
  auto open = [&] {
    PostMessageA(program.Main(), WM_SYSCOMMAND, IDM_DATA_RULES, 0);
    return ui::WaitForWindowTitled(pid, "Data rules");
  };
  HWND dialog = open();
  ASSERT_NE(dialog, nullptr);
  auto set = [&](int id, const wchar_t* text) {
    SendMessageW(ui::Child(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  };
  auto result = [&] { return ui::WindowTextW(ui::Child(dialog, IDC_RULE_RESULT)); };
  auto count = [&] { return SendMessageW(ui::Child(dialog, IDC_RULES_LIST), LB_GETCOUNT, 0, 0); };
  set(IDC_RULE_TRY, L"42");
  EXPECT_EQ(result(), "Rule 1 types: 42{ENTER}");

  struct Bad {
    const wchar_t* match;
    const wchar_t* type;
    int field;
    const char* saying;
  };
  for (const Bad& bad : {Bad{L"(", L"$1", IDC_RULE_MATCH, "expression \"(\""},
                         Bad{L"(\\d+)", L"{NOPE}", IDC_RULE_TYPE, "unknown key name {NOPE}"}}) {
    set(IDC_RULE_MATCH, bad.match);
    set(IDC_RULE_TYPE, bad.type);
    EXPECT_EQ(result().rfind("Rule 1 cannot be used: ", 0), 0u) << result();
    ui::PressButton(dialog, IDOK);
    HWND box = ui::WaitForWindow(pid, [&](HWND h) { return h != dialog && ui::ClassName(h) == "#32770"; });
    ASSERT_NE(box, nullptr) << bad.saying;
    const ui::BoxSnapshot snapshot = ui::ReadMessageBox(box);
    EXPECT_EQ(snapshot.text.rfind("Rule 1 ", 0), 0u) << snapshot.text;
    EXPECT_NE(snapshot.text.find(bad.saying), std::string::npos) << snapshot.text;
    ui::PressButton(box, IDOK);
    ASSERT_TRUE(ui::WaitForWindowGone(box));
    EXPECT_TRUE(IsWindowVisible(dialog));
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    EXPECT_TRUE(ui::WaitUntil([&] {
      return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus) &&
             focus.hwndFocus == ui::Child(dialog, bad.field);
    }, 5000)) << bad.saying;
    EXPECT_EQ(StoredRule(1, "Match"), "(\\d+)") << "nothing saved";
    EXPECT_EQ(StoredRule(1, "Type"), "$1{ENTER}");
  }

  set(IDC_RULE_MATCH, L"ST,GS,\\+\\s*0*(\\d+\\.\\d+)kg");
  set(IDC_RULE_TYPE, L"$1{TAB}");
  ui::PressButton(dialog, IDC_RULE_ADD);
  ASSERT_TRUE(ui::WaitUntil([&] { return count() == 2; }, 5000));
  set(IDC_RULE_MATCH, L".*");
  set(IDC_RULE_TYPE, L"");
  set(IDC_RULE_TRY, L"ST,GS,+  0012.34kg");
  EXPECT_EQ(result(), "Rule 1 types: 12.34{TAB}");
  set(IDC_RULE_TRY, L"noise");
  EXPECT_EQ(result(), "Dropped by Rule 2.");
  ui::PressButton(dialog, IDC_RULE_UP);
  EXPECT_TRUE(ui::WaitUntil([&] { return result() == "Dropped by Rule 1."; }, 5000)) << result();
  ui::PressButton(dialog, IDC_RULE_DOWN);
  ui::PressButton(dialog, IDOK);
  ASSERT_TRUE(ui::WaitForWindowGone(dialog));
  EXPECT_EQ(StoredRule(1, "Match"), kScaleMatch);
  EXPECT_EQ(StoredRule(2, "Match"), ".*");
  EXPECT_EQ(StoredRule(2, "Type"), "");

  dialog = open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(count(), 2);
  ui::PressButton(dialog, IDC_RULE_REMOVE);
  ASSERT_TRUE(ui::WaitUntil([&] { return count() == 1; }, 5000));
  ui::PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(ui::WaitForWindowGone(dialog));
  EXPECT_EQ(StoredRule(2, "Match"), ".*") << "Cancel saves nothing";
  EXPECT_TRUE(program.CloseAndWait());
  RegDeleteTreeA(HKEY_CURRENT_USER, kRulesPath);
}

}  // namespace
