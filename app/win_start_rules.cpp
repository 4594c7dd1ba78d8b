// The data rules of text mode in the main window: the stored rules, handed
// to the running port, and their dialog.
#include <windows.h>
#include <shellapi.h>

#include "app/data_rules_dialog.h"
#include "app/globals.h"
#include "app/options.h"
#include "app/rules_store.h"
#include "app/win_start.h"
#include "errors/callstack.h"
#include "platform/tray_icon.h"
#include "resources/resource_ids.h"

namespace {
constexpr const char* kModule = "A00  Start Window";
}  // namespace

void WinStart::LoadDataRules() {
  CALLSTACK_ENTER("WinStart:LoadDataRules", kModule);
  const StoredRules stored = LoadRules();
  port_->RecordGapMs(RecordGapMsGet());
  port_->Rules(RuleSet::Build(stored.rules, nullptr));
  // Rules matter only in text mode; in key mode a warning would be noise.
  if (lTypeText && !stored.problems.empty()) {
    ShowBalloonTrayTip(Handle(), icon_.Handle(), kTrayIconId, Ret_Build(), SkippedRulesText(stored), 0,
                       NIIF_WARNING);
  }
}

void WinStart::ShowDataRules() {
  CALLSTACK_ENTER("WinStart:ShowDataRules", kModule);
  if (!lTypeText) return;
  std::vector<DataRule> rules = LoadRules().rules;
  if (EditDataRules(Handle(), rules) && port_) port_->Rules(RuleSet::Build(rules, nullptr));
}

void WinStart::UpdateDataRulesItem(Menu& menu) {
  menu.EnDisableItem(IDM_DATA_RULES, lTypeText);
  menu.ItemText(IDM_DATA_RULES, lTypeText ? "Data rules..." : "Data rules... (only with \"Type as text\")");
}
