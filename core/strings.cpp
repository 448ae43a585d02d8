#include "core/strings.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <iterator>

#include "core/string_tables.h"
#include "core/system_wording.h"

namespace Quarlo::View {

namespace {

struct StringTable {
  std::array<std::string, kStringCount> english;
  std::array<std::string, kStringCount> korean;
};

const StringTable& Table() {
  static const StringTable table = [] {
    StringTable built;
    for (int id = 0; id < kStringCount; ++id) {
      built.english[id] = ApplySystemWording(kEnglishTexts[id], false);
      built.korean[id] = ApplySystemWording(kKoreanTexts[id], true);
    }
    return built;
  }();
  return table;
}

std::atomic<bool> gKorean{true};

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

std::string_view EnvValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

const std::string& TextIn(int id, bool korean) {
  if (id < 0 || id >= kStringCount) return EmptyText();
  return korean ? Table().korean[id] : Table().english[id];
}

const std::string& Text(int id) { return TextIn(id, KoreanStrings()); }

std::string FillPlaceholders(std::string_view text, std::span<const std::string_view> arguments) {
  std::string result(text);
  size_t index = 0;
  for (std::string_view argument : arguments) {
    std::string placeholder = std::to_string(index++);
    placeholder.insert(placeholder.begin(), '{');
    placeholder.push_back('}');
    size_t at = 0;
    while ((at = result.find(placeholder, at)) != std::string::npos) {
      result.replace(at, placeholder.size(), argument);
      at += argument.size();
    }
  }
  return result;
}

std::string FormatText(int id, std::initializer_list<std::string_view> arguments) {
  return FillPlaceholders(Text(id), std::span(arguments.begin(), arguments.size()));
}

void SetKoreanStrings(bool korean) { gKorean.store(korean, std::memory_order_relaxed); }

bool KoreanStrings() { return gKorean.load(std::memory_order_relaxed); }

const std::string& CommandLabel(int command) {
  if (command < 0 || command >= kCommandLabelCount) return EmptyText();
  return Text(kFirstCommandLabel + command);
}

const std::string& MenuGroupName(int group) {
  static constexpr int kGroupNames[] = {1, 2, 3};
  constexpr int kOtherGroupName = 4;
  if (group < 0 || group >= static_cast<int>(std::size(kGroupNames))) return Text(kOtherGroupName);
  return Text(kGroupNames[group]);
}

bool ChooseKorean(LanguageChoice languageSetting, bool systemKorean) {
  return languageSetting == LanguageChoice::Korean ||
         (languageSetting == LanguageChoice::System && systemKorean);
}

bool LocaleIsKorean(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
  std::string_view locale = !lcAll.empty() ? lcAll : !lcMessages.empty() ? lcMessages : lang;
  if (!locale.starts_with("ko")) return false;
  // "ko" must be the whole language code: "kok_IN" is Konkani.
  return locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@' || locale[2] == '-';
}

bool SystemLanguageIsKorean() {
  static const bool korean = LocaleIsKorean(EnvValue("LC_ALL"), EnvValue("LC_MESSAGES"), EnvValue("LANG"));
  return korean;
}

void ApplyLanguage(LanguageChoice languageSetting) {
  SetKoreanStrings(ChooseKorean(languageSetting, SystemLanguageIsKorean()));
}

}  // namespace Quarlo::View
