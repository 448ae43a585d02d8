#pragma once
// The program's localised texts: 332 numbered Korean/English pairs, chosen by one process-wide
// language flag, with the number, size and date texts the user interface shows beside them.
// Other parts of the program cite a text by its fixed id (for example Text(275)).

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "core/setting_choices.h"

namespace Quarlo::View {

inline constexpr int kStringCount = 332;
// Command n (0 to 55) is labelled by string kFirstCommandLabel + n.
inline constexpr int kFirstCommandLabel = 276;
inline constexpr int kCommandLabelCount = kStringCount - kFirstCommandLabel;

// The text of an id in the current language; an empty text for an id outside 0 to 331. The
// reference stays valid for the life of the process. Any thread may call it.
const std::string& Text(int id);

// The text of an id in the given language, whatever the current one; used by tests and by code that
// needs both wordings.
const std::string& TextIn(int id, bool korean);

// Text(id) with "{0}", "{1}", ... replaced by the arguments (FillPlaceholders).
std::string FormatText(int id, std::initializer_list<std::string_view> arguments);

// Replaces placeholder i by argument i for i = 0, 1, ... in turn: every occurrence, searching the
// text from the start for each i and going on right after each inserted argument. So an argument
// may itself bring a later placeholder in, a placeholder without an argument stays, and braces have
// no escape.
std::string FillPlaceholders(std::string_view text, std::span<const std::string_view> arguments);

// Sets the language of every later lookup; the start-up sequence calls it (through ApplyLanguage)
// before any window exists, and again after an accepted settings change. Starts as Korean.
void SetKoreanStrings(bool korean);
bool KoreanStrings();

// The label of command id (0 to 55) in the current language; empty for any other id.
const std::string& CommandLabel(int command);

// The name of a menu group: 0 "File", 1 "Navigate", 2 "View", anything else "Other".
const std::string& MenuGroupName(int group);

// Whether the Language setting asks for Korean: Korean does, System does when the system language is
// Korean; English, and a number outside the choices, do not.
bool ChooseKorean(LanguageChoice languageSetting, bool systemKorean);

// Whether a locale environment asks for Korean: the first non-empty of LC_ALL, LC_MESSAGES and
// LANG names the language "ko" ("ko", "ko_KR.UTF-8", "ko@...").
bool LocaleIsKorean(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

// LocaleIsKorean of this process's environment, read on the first call and kept.
bool SystemLanguageIsKorean();

// SetKoreanStrings(ChooseKorean(languageSetting, SystemLanguageIsKorean())); the start-up sequence
// calls it with the Language setting, installer actions call SetKoreanStrings(SystemLanguageIsKorean()).
void ApplyLanguage(LanguageChoice languageSetting);

// Decimal with "," between groups of three digits (1234 -> "1,234"), whatever the locale.
std::string FormatThousands(uint64_t value);

// A file size for display: "512 bytes" (string 89) below 1024, else KB, MB, GB or TB (1024 each)
// with one decimal below 10 ("1.5 KB") and none from 10 ("12 MB"); sizes past 1023 TB stay in TB.
std::string FormatByteSize(uint64_t bytes);

// A FILETIME (100 ns units since 1601, UTC) as local short date, a space and the time without
// seconds, in the user's LC_TIME locale; empty for 0, negative values and times the calendar
// cannot hold.
std::string FormatDateTime(int64_t fileTime);

}  // namespace Quarlo::View
