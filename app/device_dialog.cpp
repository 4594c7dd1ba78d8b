#include "app/device_dialog.h"

#include <optional>
#include <tuple>
#include <utility>

#include "app/boxes.h"
#include "app/device_text.h"
#include "errors/callstack.h"
#include "platform/hotkey.h"
#include "platform/modal_dialog.h"
#include "resources/resource_ids.h"

namespace {
constexpr const char* kModule = "A02  Device";
constexpr UINT_PTR kAnswerTimer = 1;
using Field = DeviceProblem::Field;

// Each field's label as the dialog shows it, for the messages that name it.
struct FieldInfo {
  Field field;
  int id;
  const char* label;
};
constexpr FieldInfo kFields[] = {
    {Field::Prompt, IDC_DEVICE_PROMPT, "Prompt"},
    {Field::PromptHotkey, IDC_DEVICE_PROMPT_HOTKEY, "Prompt hotkey"},
    {Field::PromptEveryMs, IDC_DEVICE_EVERY, "Ask every (ms)"},
    {Field::AtStart, IDC_DEVICE_AT_START, "At start"},
    {Field::AfterRecord, IDC_DEVICE_AFTER_RECORD, "After each record"},
    {Field::PauseHotkey, IDC_DEVICE_PAUSE_HOTKEY, "Pause typing hotkey"},
    {Field::RepeatWithinMs, IDC_DEVICE_REPEAT, "Drop repeats within (ms)"},
};

const FieldInfo& InfoOf(Field field) {
  for (const FieldInfo& info : kFields) {
    if (info.field == field) return info;
  }
  return kFields[0];
}

// A number field: digits only (pasting can bring others), within 32 bits.
std::optional<std::uint32_t> ParseMs(const std::string& text) {
  if (text.empty()) return 0;
  unsigned long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

class DeviceDialog : public ModalDialog {
 public:
  DeviceDialog(DeviceSettings settings, DeviceLink* link) : settings_(std::move(settings)), link_(link) {}
  ~DeviceDialog() override { StopListening(); }
  const DeviceSettings& Settings() const { return settings_; }

  LRESULT Dispatch(const Event& event) override {
    switch (event.message) {
      case WM_INITDIALOG:
        Init();
        return TRUE;
      case WM_COMMAND:
        Command(LOWORD(event.wParam));
        return TRUE;
      case WM_TIMER:
        if (event.wParam == kAnswerTimer) AnswerTimeEnded();
        return TRUE;
      case WM_DESTROY:
        StopListening();
        break;
      default:
        break;
    }
    return ModalDialog::Dispatch(event);
  }

 private:
  void Init() {
    HWND form = Handle();
    prompt_.Attach(form, IDC_DEVICE_PROMPT);
    promptHotkey_.Attach(form, IDC_DEVICE_PROMPT_HOTKEY);
    every_.Attach(form, IDC_DEVICE_EVERY);
    atStart_.Attach(form, IDC_DEVICE_AT_START);
    afterRecord_.Attach(form, IDC_DEVICE_AFTER_RECORD);
    pauseHotkey_.Attach(form, IDC_DEVICE_PAUSE_HOTKEY);
    repeat_.Attach(form, IDC_DEVICE_REPEAT);
    answer_.Attach(form, IDC_DEVICE_ANSWER);
    answerHex_.Attach(form, IDC_DEVICE_ANSWER_HEX);
    prompt_.Caption(settings_.prompt);
    promptHotkey_.Value(settings_.promptHotkey);
    every_.Caption(std::to_string(settings_.promptEveryMs));
    atStart_.Caption(settings_.atStart);
    afterRecord_.Caption(settings_.afterRecord);
    pauseHotkey_.Value(settings_.pauseHotkey);
    repeat_.Caption(std::to_string(settings_.repeatWithinMs));
  }

  void Command(int id) {
    switch (id) {
      case IDC_DEVICE_SEND_NOW:
        SendNow();
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

  void Refuse(Field field, const std::string& what) {
    const FieldInfo& info = InfoOf(field);
    BoxError(this, std::string("\"") + info.label + "\" cannot be used: " + what);
    FocusControl(GetDlgItem(Handle(), info.id));
  }

  // The fields as they stand; none when a number field holds no number.
  std::optional<DeviceSettings> Fields() {
    DeviceSettings fields;
    fields.prompt = prompt_.Caption();
    fields.promptHotkey = promptHotkey_.Value();
    fields.atStart = atStart_.Caption();
    fields.afterRecord = afterRecord_.Caption();
    fields.pauseHotkey = pauseHotkey_.Value();
    for (auto [control, field, value] : {std::tuple{&every_, Field::PromptEveryMs, &fields.promptEveryMs},
                                         std::tuple{&repeat_, Field::RepeatWithinMs, &fields.repeatWithinMs}}) {
      const std::optional<std::uint32_t> ms = ParseMs(control->Caption());
      if (!ms) {
        std::string what(1, '"');
        what += control->Caption();
        what += "\" is not a number of milliseconds.";
        Refuse(field, what);
        return std::nullopt;
      }
      *value = *ms;
    }
    return fields;
  }

  bool Accept() {
    CALLSTACK_ENTER("Device:Accept", kModule);
    const std::optional<DeviceSettings> fields = Fields();
    if (!fields) return false;
    const std::vector<DeviceProblem> problems = CheckDeviceSettings(*fields);
    if (!problems.empty()) {
      Refuse(problems.front().field, problems.front().what);
      return false;
    }
    if (!DeviceSettingsSave(*fields)) {
      BoxError(this, "The device settings could not be saved.");
      return false;
    }
    settings_ = *fields;
    return true;
  }

  // The prompt as the field holds it now, saved or not: the user tries it out.
  void SendNow() {
    CALLSTACK_ENTER("Device:SendNow", kModule);
    std::string problem;
    const std::optional<std::string> bytes = CommandBytes(prompt_.Caption(), &problem);
    if (!bytes) {
      Refuse(Field::Prompt, problem);
      return;
    }
    if (bytes->empty()) {
      Refuse(Field::Prompt, "it is empty: write what the device is to be sent.");
      return;
    }
    StopListening();
    answerBytes_.clear();
    ShowAnswer("", "");
    std::string error = "The port is not running: start it, then send the prompt.";
    if (link_ == nullptr || !link_->Send(*bytes, error)) {
      ShowAnswer(error, "");
      return;
    }
    link_->Listen([this](const std::string& read) {
      answerBytes_ += read;
      ShowAnswer(CommandText(answerBytes_), HexBytes(answerBytes_));
    });
    listening_ = true;
    SetTimer(Handle(), kAnswerTimer, kAnswerMs, nullptr);
  }

  void AnswerTimeEnded() {
    StopListening();
    if (answerBytes_.empty()) ShowAnswer("(no answer within a second)", "");
  }

  void StopListening() {
    if (!listening_) return;
    listening_ = false;
    if (Handle() != nullptr) KillTimer(Handle(), kAnswerTimer);
    link_->Listen({});
  }

  void ShowAnswer(const std::string& text, const std::string& hex) {
    answer_.Caption(text);
    answerHex_.Caption(hex);
  }

  DeviceSettings settings_;
  DeviceLink* link_;
  bool listening_ = false;
  std::string answerBytes_;
  Control prompt_;
  HotkeyControl promptHotkey_;
  Control every_;
  Control atStart_;
  Control afterRecord_;
  HotkeyControl pauseHotkey_;
  Control repeat_;
  Control answer_;
  Control answerHex_;
};
}  // namespace

bool EditDeviceSettings(HWND owner, DeviceSettings& settings, DeviceLink* link) {
  CALLSTACK_ENTER("Device:Edit", kModule);
  RegisterHotkeyControl();
  DeviceDialog dialog(settings, link);
  if (dialog.Run("Device", owner) != IDOK) return false;
  settings = dialog.Settings();
  return true;
}
