#pragma once
// The toolkit's own language (dialog buttons, the text-editing menu, accessibility names) and the locale
// tag that text shaping follows. The application overrides the automatic choice with its own setting.

#include <optional>
#include <string>
#include <string_view>

namespace Quarlo::Widget {

enum class ToolkitLanguageId : int {
  English = 0,
  Korean = 1,
  Japanese = 2,
  SimplifiedChinese = 3,
  TraditionalChinese = 4
};

// The toolkit's texts, in table order.
enum class ToolkitText : int {
  Ok = 0,
  Cancel,
  Yes,
  No,
  Close,
  Undo,
  Cut,
  Copy,
  Paste,
  Delete,
  SelectAll,
  ToggleSwitchRole,
  TileListName,
  VerticalScrollBar,
  HorizontalScrollBar,
  MoreOptions,
  ChordNone,
  ChordPrompt,
  NothingToShow,
};

// The override when set, else the language of the user's locale (computed once).
ToolkitLanguageId ToolkitLanguage();
// Called by the application with its language setting; nullopt restores the automatic choice.
void SetToolkitLanguage(std::optional<ToolkitLanguageId> language);
// The text in the toolkit language ("&" marks the access key); empty for a number outside the table.
std::string ToolkitString(ToolkitText id);

// Language from a POSIX locale name ("ko_KR.UTF-8", "zh_TW", "C"); the automatic choice applies it to the
// first of LC_ALL, LC_MESSAGES and LANG that is set.
ToolkitLanguageId LanguageFromLocaleName(std::string_view locale);
// BCP 47 tag of the user's locale ("en-US" for "en_US.UTF-8"; "en-US" when unset or "C").
std::string UserLocaleTag();

}  // namespace Quarlo::Widget
