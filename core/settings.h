#pragma once
// The program's one persistent settings record: preferences, the recent list, the reassigned key
// chords, the bookmarks and the last window placement, stored below one key of the user's hive.
// It is loaded once at start and saved at fixed moments; dialogs edit a copy.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/env_switches.h"
#include "core/setting_choices.h"

namespace Quarlo::Platform {
class Hive;
}

namespace Quarlo::View {

// One picture marked inside the folder or archive that was open.
struct Bookmark {
  std::string location;  // the folder or archive
  std::string item;      // the picture: its full path in a folder, its entry name in an archive
  int64_t added = 0;     // when it was added, as a FILETIME (100-ns units since 1601-01-01 UTC)
  bool operator==(const Bookmark&) const = default;
};

// The stored form of a bookmark: location, TAB, item, TAB, added in decimal.
std::string FormatBookmark(const Bookmark& bookmark);

// Reads a stored bookmark. The location ends at the first TAB and the item at the last one, so an
// item holding a TAB (legal in Linux names) survives; the text after the last TAB is read as a
// decimal number (leading white space and a sign accepted, reading stops at the first other
// character, no digits give 0). Without two TABs or with an empty location: nothing.
std::optional<Bookmark> ParseBookmark(std::string_view text);

inline constexpr size_t kMaxRecent = 12;
inline constexpr size_t kMaxBookmarks = 500;

struct Settings {
  LanguageChoice language = LanguageChoice::System;
  ThemeChoice theme = ThemeChoice::System;
  bool singleWindow = true;
  bool confirmDelete = true;
  bool escCloses = true;
  EndAction endAction = EndAction::Ask;  // after the last image
  std::vector<std::string> recent;       // most recent first, at most kMaxRecent
  FitMode fitMode = FitMode::Fit;
  PageMode pageMode = PageMode::SinglePage;
  bool rightToLeft = false;
  bool coverAlone = true;
  bool wideAlone = true;
  int pageGap = 0;  // pixels between pages, 0 to 200
  bool zoomLock = false;
  bool smoothScaling = true;
  bool applyOrientation = true;
  bool colorManage = true;
  BackgroundKind background = BackgroundKind::Theme;
  int customBackground = 0x202020;  // 0xRRGGBB
  bool checkerboard = true;
  bool pinBars = false;
  bool sideArrows = true;
  bool notices = true;
  bool alwaysOnTop = false;
  WheelAction wheel = WheelAction::Navigate;
  DoubleClickAction doubleClick = DoubleClickAction::FullScreen;
  bool clickSides = false;
  int slideSeconds = 3;  // 1 to 3600
  bool slideLoop = true;
  bool slideRandom = false;
  bool slideFullscreen = false;
  std::array<std::string, 4> albums;  // album folders 1 to 4, stored as "Album1" to "Album4"
  bool albumMove = false;
  ConvertFormat convertFormat = ConvertFormat::Jpeg;
  int convertQuality = 90;
  bool convertLossless = false;
  ConvertResize convertResize = ConvertResize::KeepSize;
  int convertLongEdge = 1920;
  int convertPercent = 50;
  int convertBoxWidth = 1920;
  int convertBoxHeight = 1080;
  bool convertEnlarge = false;
  std::string convertFolder;  // empty: next to the original
  bool convertOverwrite = false;
  // Reassigned chords: command name -> stored chord text, for the commands whose chords differ from
  // their defaults. Command names are ASCII, so byte order is the order of UTF-16 code units.
  std::map<std::string, std::string> keys;
  std::vector<Bookmark> bookmarks;  // newest first, at most kMaxBookmarks
  bool hasWindow = false;           // the placement below was saved
  int windowX = 0;
  int windowY = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  bool windowMaximized = false;

  bool operator==(const Settings&) const = default;

  // The defaults, overlaid with every acceptable value stored below keyPath; never fails. Called once
  // at start, and by a forwarding start to read singleWindow.
  static Settings Load(Platform::Hive& hive, const std::string& keyPath);
  static Settings Load(const std::string& keyPath = SettingsKeyPath());

  // Writes every field below keyPath (created when missing) in one change of the hive; true only when
  // every write reached the file. Called at the save moments of the window and dialogs.
  bool Save(Platform::Hive& hive, const std::string& keyPath) const;
  bool Save(const std::string& keyPath = SettingsKeyPath()) const;

  // Puts path at the front of the recent list, removing an equal entry (compared exactly, as names
  // on Linux are case-sensitive) and keeping at most kMaxRecent. Called when a source opens.
  void AddRecent(const std::string& path);
};

}  // namespace Quarlo::View
