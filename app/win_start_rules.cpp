// The data rules of text mode in the main window: the keys of each batch,
// the record gap, the stored rules and their dialog.
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

std::vector<TextKey> WinStart::TextKeysFor(const std::string& data) {
  std::vector<TextKey> keys = recordKeys_.Translate(data, textKeys_);
  // The gap counts from the last byte: a batch that brought none moves nothing.
  if (!data.empty()) {
    if (recordKeys_.RecordOpen() && recordGapMs_ > 0) {
      SetTimer(Handle(), kRecordGapTimer, recordGapMs_, nullptr);
    } else {
      KillTimer(Handle(), kRecordGapTimer);
    }
  }
  return keys;
}

void WinStart::RecordGapEnded() {
  CALLSTACK_ENTER("WinStart:RecordGapEnded", kModule);
  KillTimer(Handle(), kRecordGapTimer);
  const std::vector<TextKey> keys = recordKeys_.EndOfGap();
  // A record cut short by Stop is dropped with the port.
  if (!IsRunning()) return;
  if (keys.empty()) return;
  typing_.Push(keys);
  ShowReadStatus();
}

void WinStart::LoadDataRules() {
  CALLSTACK_ENTER("WinStart:LoadDataRules", kModule);
  KillTimer(Handle(), kRecordGapTimer);
  recordGapMs_ = RecordGapMsGet();
  const StoredRules stored = LoadRules();
  recordKeys_.Rules(RuleSet::Build(stored.rules, nullptr));
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
  if (EditDataRules(Handle(), rules)) recordKeys_.Rules(RuleSet::Build(rules, nullptr));
}

void WinStart::UpdateDataRulesItem(Menu& menu) {
  menu.EnDisableItem(IDM_DATA_RULES, lTypeText);
  menu.ItemText(IDM_DATA_RULES, lTypeText ? "Data rules..." : "Data rules... (only with \"Type as text\")");
}
