#include "app/data_rules.h"

#include <algorithm>
#include <cctype>

#include "pattern/pattern.h"

namespace {
struct KeyName {
  const char* name;
  WORD key;
};

constexpr KeyName kKeyNames[] = {
    {"ENTER", VK_RETURN}, {"TAB", VK_TAB},      {"ESC", VK_ESCAPE}, {"BACKSPACE", VK_BACK}, {"DELETE", VK_DELETE},
    {"INSERT", VK_INSERT}, {"HOME", VK_HOME},   {"END", VK_END},    {"PGUP", VK_PRIOR},     {"PGDN", VK_NEXT},
    {"UP", VK_UP},         {"DOWN", VK_DOWN},   {"LEFT", VK_LEFT},  {"RIGHT", VK_RIGHT},
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

struct Part {
  enum class Kind { Text, Group, Key };
  Kind kind;
  std::wstring text;
  unsigned number;  // group number or virtual key
};

// The template's parts; an empty text when it is sound, else what is wrong.
std::string ParseTemplate(const std::wstring& type, unsigned groups, std::vector<Part>& parts) {
  std::wstring text;
  auto flushText = [&] {
    if (!text.empty()) parts.push_back({Part::Kind::Text, std::move(text), 0});
    text.clear();
  };
  for (std::size_t i = 0; i < type.size(); ++i) {
    const wchar_t c = type[i];
    const wchar_t next = i + 1 < type.size() ? type[i + 1] : L'\0';
    if (c == L'$') {
      if (next == L'$') {
        text += L'$';
      } else if (next >= L'0' && next <= L'9') {
        const unsigned group = static_cast<unsigned>(next - L'0');
        if (group > groups) return "the expression has no group $" + std::to_string(group) + ".";
        flushText();
        parts.push_back({Part::Kind::Group, {}, group});
      } else {
        return "\"$\" must be followed by a digit (a group) or by \"$\" (a dollar sign).";
      }
      ++i;
    } else if (c == L'{') {
      if (next == L'{') {
        text += L'{';
        ++i;
        continue;
      }
      const std::size_t close = type.find(L'}', i + 1);
      if (close == std::wstring::npos) return "a \"{\" has no \"}\" (write \"{{\" for a brace).";
      const std::string name = Narrow(std::wstring_view(type).substr(i + 1, close - i - 1));
      const WORD key = KeyByName(name);
      if (key == 0) return "unknown key name {" + name + "}.";
      flushText();
      parts.push_back({Part::Kind::Key, {}, key});
      i = close;
    } else {
      text += c;
    }
  }
  flushText();
  return {};
}
}  // namespace

struct RuleSet::Compiled {
  std::size_t position;
  pattern::Pattern expression;
  std::vector<Part> parts;
};

WORD KeyByName(std::string_view name) {
  const std::string upper = Upper(name);
  for (const KeyName& entry : kKeyNames) {
    if (upper == entry.name) return entry.key;
  }
  // F1 to F12, written without a leading zero.
  const std::string digits = upper.size() > 1 && upper[0] == 'F' && upper[1] != '0' ? upper.substr(1) : "";
  if (!digits.empty() && digits.size() <= 2 && std::all_of(digits.begin(), digits.end(), ::isdigit)) {
    const int number = std::stoi(digits);
    if (number <= 12) return static_cast<WORD>(VK_F1 + number - 1);
  }
  return 0;
}

RuleSet RuleSet::Build(const std::vector<DataRule>& rules, std::vector<RuleProblem>* problems) {
  RuleSet set;
  for (std::size_t position = 0; position < rules.size(); ++position) {
    auto compiled = std::make_shared<Compiled>();
    compiled->position = position;
    std::string problem;
    compiled->expression = pattern::Pattern::Compile(Widen(rules[position].match), problem);
    if (!problem.empty()) {
      if (problems != nullptr) problems->push_back({position, true, problem + "."});
      continue;
    }
    const std::string templateError =
        ParseTemplate(Widen(rules[position].type), compiled->expression.Groups(),
                      compiled->parts);
    if (!templateError.empty()) {
      if (problems != nullptr) problems->push_back({position, false, templateError});
      continue;
    }
    set.rules_.push_back(std::move(compiled));
  }
  return set;
}

std::optional<RuleProblem> CheckRule(const DataRule& rule, std::size_t position) {
  std::vector<RuleProblem> problems;
  RuleSet::Build({rule}, &problems);
  if (problems.empty()) return std::nullopt;
  problems.front().rule = position;
  return problems.front();
}

RuleOutcome RuleSet::Apply(const std::wstring& record) const {
  std::vector<pattern::Span> groups;
  for (const auto& rule : rules_) {
    // Out of memory for this record: as if the rule did not match.
    if (rule->expression.Match(record, groups) != pattern::Outcome::Match) continue;
    RuleOutcome outcome;
    outcome.rule = static_cast<int>(rule->position);
    for (const Part& part : rule->parts) {
      if (part.kind == Part::Kind::Text) {
        AppendCharacters(outcome.keys, part.text);
      } else if (part.kind == Part::Kind::Group) {
        const pattern::Span& group = groups[part.number];
        if (group.taken) AppendCharacters(outcome.keys, std::wstring_view(record).substr(group.start, group.length));
      } else {
        outcome.keys.push_back({TextKey::Kind::Key, static_cast<std::uint16_t>(part.number)});
      }
    }
    return outcome;
  }
  return {};
}

void AppendCharacters(std::vector<TextKey>& keys, std::wstring_view text) {
  bool afterCR = false;
  for (const wchar_t c : text) {
    const bool wasAfterCR = afterCR;
    afterCR = c == L'\r';
    WORD key = 0;
    switch (c) {
      case L'\r': key = VK_RETURN; break;
      case L'\n': key = wasAfterCR ? 0 : VK_RETURN; break;
      case L'\t': key = VK_TAB; break;
      case L'\b': key = VK_BACK; break;
      case 0x1B: key = VK_ESCAPE; break;
      default:
        if (c >= 0x20 && !(c >= 0x7F && c <= 0x9F)) keys.push_back({TextKey::Kind::Character, c});
        continue;
    }
    if (key != 0) keys.push_back({TextKey::Kind::Key, key});
  }
}

std::string KeysShown(const std::vector<TextKey>& keys) {
  std::string shown;
  for (const TextKey& key : keys) {
    if (key.kind == TextKey::Kind::Character) {
      const wchar_t c = static_cast<wchar_t>(key.code);
      shown += c == L'{' ? "{{" : Narrow(std::wstring_view(&c, 1));
      continue;
    }
    std::string name;
    for (const KeyName& entry : kKeyNames) {
      if (entry.key == key.code) name = entry.name;
    }
    if (name.empty() && key.code >= VK_F1 && key.code <= VK_F24) name = 'F' + std::to_string(key.code - VK_F1 + 1);
    if (name.empty()) name = "KEY " + std::to_string(key.code);
    shown.append(1, '{').append(name).append(1, '}');
  }
  return shown;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}
