#pragma once
// The fixed catalogue of everything the user can do from the keyboard, the menus and the tool bars:
// 56 numbered commands with their names, menu groups and default key chords, and the texts chords
// are shown and stored as. Running a command is the viewer window's job.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "widget/input/hotkey_chord.h"

namespace App {

using Quarlo::Widget::Input::HotkeyChord;

// The commands by number. The numbers are fixed: they index the table, pick the labels (string 276 +
// number) and are what automation and the usage client report.
enum class CommandId : int {
  Open = 0,
  OpenFolder = 1,
  Reload = 2,
  Rename = 3,
  Delete = 4,
  DeletePermanently = 5,
  CopyImage = 6,
  CopyPath = 7,
  ShowInFolder = 8,
  OpenWith = 9,
  Convert = 10,
  SetWallpaper = 11,
  Properties = 12,
  AlbumCopy1 = 13,
  AlbumCopy2 = 14,
  AlbumCopy3 = 15,
  AlbumCopy4 = 16,
  CloseFile = 17,
  Exit = 18,
  Next = 19,
  Previous = 20,
  First = 21,
  Last = 22,
  Forward10 = 23,
  Back10 = 24,
  NextFolder = 25,
  PreviousFolder = 26,
  GoTo = 27,
  ShowList = 28,
  Fullscreen = 29,
  Slideshow = 30,
  ZoomFit = 31,
  ZoomOriginal = 32,
  FitWidth = 33,
  FitHeight = 34,
  FitFill = 35,
  ZoomIn = 36,
  ZoomOut = 37,
  ZoomLock = 38,
  SinglePage = 39,
  TwoPages = 40,
  Webtoon = 41,
  RightToLeft = 42,
  RotateRight = 43,
  RotateLeft = 44,
  FlipHorizontal = 45,
  FlipVertical = 46,
  ShowInfo = 47,
  AlwaysOnTop = 48,
  PinBars = 49,
  PlayPause = 50,
  BookmarkAdd = 51,
  Bookmarks = 52,
  Settings = 53,
  ShortcutList = 54,
  About = 55,
};

inline constexpr int kCommandCount = 56;

// A command's menu group; the numbers are those the group names are chosen by.
enum class CommandGroup : int { File = 0, Navigate = 1, View = 2, Other = 3 };

// A command holds at most this many chords.
inline constexpr size_t kMaxChords = 3;

using ChordList = std::vector<HotkeyChord>;

struct CommandInfo {
  CommandId id;
  std::string_view name;  // fixed ASCII identifier, used in the settings and by automation ("Next")
  CommandGroup group;
  ChordList defaults;  // the default chords, in order
};

// The 56 entries in id order (entry n has id n), built on first use and kept for the process.
std::span<const CommandInfo> CommandTable();

const CommandInfo& Command(CommandId id);

// The index of a command in the table and in every per-command list.
constexpr size_t IndexOf(CommandId id) { return static_cast<size_t>(id); }

// The command's label in the current language ("Next image").
const std::string& Label(CommandId id);

// The name of a menu group in the current language ("File", "Navigate", "View", "Other").
const std::string& GroupName(CommandGroup group);

// The command whose name equals the text exactly, letter case included ("Next" finds Next, "next"
// finds nothing). Used by the automation request "command:".
std::optional<CommandId> CommandByName(std::string_view name);

// A chord as menus and the shortcut list show it: "Ctrl+", "Shift+", "Alt+" and "Win+" for the bits
// held, in that order, then the key's name ("Ctrl+Shift+O", "Page Down"); empty when key is 0.
std::string ChordText(const HotkeyChord& chord);

// The chords of a stored text: space-separated "modifiers:key" tokens in decimal. A token is kept when
// its key is 1 to 255, its modifiers 0 to 15 and it is not already in the list; anything else is
// dropped, so a damaged text loses only its damaged tokens.
ChordList ParseChords(std::string_view text);

// The stored text of a chord list ("2:79 3:79"); chords with key 0 are left out.
std::string FormatChords(std::span<const HotkeyChord> chords);

}  // namespace App
