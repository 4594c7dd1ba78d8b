#include "app/data_rules_dialog.h"

#include <utility>

#include "app/boxes.h"
#include "app/record_keys.h"
#include "app/rules_store.h"
#include "errors/callstack.h"
#include "platform/list_box.h"
#include "platform/modal_dialog.h"
#include "resources/resource_ids.h"

namespace {
constexpr const char* kModule = "A01  Data Rules";

std::wstring ListLine(const DataRule& rule) { return Widen(rule.match) + L"  \u2192  " + Widen(rule.type); }

class DataRulesDialog : public ModalDialog {
 public:
  explicit DataRulesDialog(std::vector<DataRule> rules) : rules_(std::move(rules)) {}
  std::vector<DataRule>& Rules() { return rules_; }

  LRESULT Dispatch(const Event& event) override {
    if (event.message == WM_INITDIALOG) {
      Init();
      return TRUE;
    }
    if (event.message == WM_COMMAND) {
      Command(LOWORD(event.wParam), HIWORD(event.wParam));
      return TRUE;
    }
    return ModalDialog::Dispatch(event);
  }

 private:
  void Init() {
    HWND form = Handle();
    list_.Attach(form, IDC_RULES_LIST);
    match_.Attach(form, IDC_RULE_MATCH);
    type_.Attach(form, IDC_RULE_TYPE);
    try_.Attach(form, IDC_RULE_TRY);
    result_.Attach(form, IDC_RULE_RESULT);
    for (const DataRule& rule : rules_) list_.AddItem(ListLine(rule));
    Select(rules_.empty() ? -1 : 0);
    UpdateTry();
  }

  void Command(int id, int code) {
    switch (id) {
      case IDC_RULES_LIST:
        if (code == LBN_SELCHANGE) Select(list_.SelectedIndex());
        break;
      case IDC_RULE_MATCH:
      case IDC_RULE_TYPE:
        if (code == EN_CHANGE) FieldChanged();
        break;
      case IDC_RULE_TRY:
        if (code == EN_CHANGE) UpdateTry();
        break;
      case IDC_RULE_ADD:
        Add();
        break;
      case IDC_RULE_REMOVE:
        Remove();
        break;
      case IDC_RULE_UP:
        Move(-1);
        break;
      case IDC_RULE_DOWN:
        Move(1);
        break;
      case IDOK:
        if (Accept()) End(IDOK);
        break;
      case IDCANCEL:
        End(IDCANCEL);
        break;
      default:
        break;
    }
  }

  // The fields show the selected rule; without one they are empty and greyed.
  void Select(int index) {
    selected_ = index;
    list_.SelectIndex(index);
    showing_ = true;
    match_.Caption(index >= 0 ? rules_[static_cast<size_t>(index)].match : "");
    type_.Caption(index >= 0 ? rules_[static_cast<size_t>(index)].type : "");
    showing_ = false;
    for (int id : {IDC_RULE_MATCH, IDC_RULE_TYPE, IDC_RULE_REMOVE, IDC_RULE_UP, IDC_RULE_DOWN}) {
      EnableWindow(GetDlgItem(Handle(), id), index >= 0);
    }
  }

  void FieldChanged() {
    if (showing_ || selected_ < 0) return;
    DataRule& rule = rules_[static_cast<size_t>(selected_)];
    rule.match = match_.Caption();
    rule.type = type_.Caption();
    list_.ItemText(selected_, ListLine(rule));
    UpdateTry();
  }

  void UpdateTry() { result_.Caption(try_.Caption().empty() ? "" : TryRecord(rules_, try_.Caption())); }

  void Add() {
    rules_.push_back({});
    list_.AddItem(ListLine(rules_.back()));
    Select(static_cast<int>(rules_.size()) - 1);
    FocusControl(match_.Handle());
    UpdateTry();
  }

  void Remove() {
    if (selected_ < 0) return;
    rules_.erase(rules_.begin() + selected_);
    SendMessageW(list_.Handle(), LB_DELETESTRING, static_cast<WPARAM>(selected_), 0);
    Select(std::min(selected_, static_cast<int>(rules_.size()) - 1));
    UpdateTry();
  }

  void Move(int by) {
    const int to = selected_ + by;
    if (selected_ < 0 || to < 0 || to >= static_cast<int>(rules_.size())) return;
    std::swap(rules_[static_cast<size_t>(selected_)], rules_[static_cast<size_t>(to)]);
    list_.ItemText(selected_, ListLine(rules_[static_cast<size_t>(selected_)]));
    list_.ItemText(to, ListLine(rules_[static_cast<size_t>(to)]));
    Select(to);
    UpdateTry();
  }

  // Every rule must be usable before anything is saved; the first that is
  // not is named, selected, and its faulty field gets the focus.
  bool Accept() {
    CALLSTACK_ENTER("DataRules:Accept", kModule);
    for (size_t i = 0; i < rules_.size(); ++i) {
      const std::optional<RuleProblem> problem = CheckRule(rules_[i], i);
      if (!problem) continue;
      const std::string field = problem->inMatch ? "its expression \"" + rules_[i].match + "\""
                                                 : "its text to type \"" + rules_[i].type + "\"";
      BoxError(this, "Rule " + std::to_string(i + 1) + " cannot be used, " + field + ":\r\n" + problem->what);
      Select(static_cast<int>(i));
      FocusControl(problem->inMatch ? match_.Handle() : type_.Handle());
      return false;
    }
    if (!SaveRules(rules_)) {
      BoxError(this, "The data rules could not be saved.");
      return false;
    }
    return true;
  }

  std::vector<DataRule> rules_;
  int selected_ = -1;
  bool showing_ = false;  // the fields are being filled, not edited
  ListBox list_;
  Control match_;
  Control type_;
  Control try_;
  Control result_;
};
}  // namespace

bool EditDataRules(HWND owner, std::vector<DataRule>& rules) {
  CALLSTACK_ENTER("DataRules:Edit", kModule);
  DataRulesDialog dialog(rules);
  if (dialog.Run("DataRules", owner) != IDOK) return false;
  rules = std::move(dialog.Rules());
  return true;
}
