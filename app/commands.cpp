// The command table and the display and stored texts of chords.

#include "app/commands.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/decimal_text.h"
#include "core/strings.h"
#include "widget/input/events.h"
#include "widget/input/key_names.h"
#include "widget/input/virtual_keys.h"

namespace App {
namespace {

namespace Vk = Quarlo::Widget::Vk;
namespace Modifier = Quarlo::Widget::Modifier;

constexpr uint32_t kNone = 0;
constexpr uint32_t kShift = Modifier::Shift;
constexpr uint32_t kCtrl = Modifier::Ctrl;
constexpr uint32_t kAlt = Modifier::Alt;

// Stored texts keep chords whose parts fit a Windows virtual-key code and the four modifier bits.
constexpr int64_t kHighestKey = 255;
constexpr int64_t kHighestModifiers = 15;

constexpr char kStoredSeparator = ' ';
constexpr char kStoredJoiner = ':';

HotkeyChord Chord(uint32_t modifiers, uint32_t key) { return HotkeyChord{modifiers, key}; }

// Letter and digit keys have the codes of their characters ('O', '1'); function key n is F(n).
constexpr uint32_t F(uint32_t n) { return Vk::F1 + n - 1; }

std::vector<CommandInfo> BuildTable() {
  using enum CommandId;
  using G = CommandGroup;
  return {
      {Open, "Open", G::File, {Chord(kCtrl, 'O')}},
      {OpenFolder, "OpenFolder", G::File, {Chord(kCtrl | kShift, 'O')}},
      {Reload, "Reload", G::File, {Chord(kNone, F(5))}},
      {Rename, "Rename", G::File, {Chord(kNone, F(2))}},
      {Delete, "Delete", G::File, {Chord(kNone, Vk::Delete)}},
      {DeletePermanently, "DeletePermanently", G::File, {Chord(kShift, Vk::Delete)}},
      {CopyImage, "CopyImage", G::File, {Chord(kCtrl, 'C')}},
      {CopyPath, "CopyPath", G::File, {Chord(kCtrl | kShift, 'C')}},
      {ShowInFolder, "ShowInFolder", G::File, {Chord(kCtrl, 'E')}},
      {OpenWith, "OpenWith", G::File, {}},
      {Convert, "Convert", G::File, {Chord(kCtrl, 'S')}},
      {SetWallpaper, "SetWallpaper", G::File, {}},
      {Properties, "Properties", G::File, {}},
      {AlbumCopy1, "AlbumCopy1", G::File, {Chord(kNone, Vk::Insert), Chord(kAlt, '1')}},
      {AlbumCopy2, "AlbumCopy2", G::File, {Chord(kAlt, '2')}},
      {AlbumCopy3, "AlbumCopy3", G::File, {Chord(kAlt, '3')}},
      {AlbumCopy4, "AlbumCopy4", G::File, {Chord(kAlt, '4')}},
      {CloseFile, "CloseFile", G::File, {Chord(kCtrl, 'W')}},
      {Exit, "Exit", G::File, {Chord(kCtrl, 'Q')}},
      {Next,
       "Next",
       G::Navigate,
       {Chord(kNone, Vk::Right), Chord(kNone, Vk::PageDown), Chord(kNone, Vk::Space)}},
      {Previous,
       "Previous",
       G::Navigate,
       {Chord(kNone, Vk::Left), Chord(kNone, Vk::PageUp), Chord(kNone, Vk::Backspace)}},
      {First, "First", G::Navigate, {Chord(kNone, Vk::Home)}},
      {Last, "Last", G::Navigate, {Chord(kNone, Vk::End)}},
      {Forward10, "Forward10", G::Navigate, {Chord(kCtrl, Vk::PageDown)}},
      {Back10, "Back10", G::Navigate, {Chord(kCtrl, Vk::PageUp)}},
      {NextFolder, "NextFolder", G::Navigate, {Chord(kNone, Vk::Oem6)}},
      {PreviousFolder, "PreviousFolder", G::Navigate, {Chord(kNone, Vk::Oem4)}},
      {GoTo, "GoTo", G::Navigate, {Chord(kCtrl, 'G')}},
      {ShowList, "ShowList", G::Navigate, {Chord(kNone, Vk::Enter)}},
      {Fullscreen, "Fullscreen", G::View, {Chord(kNone, F(11)), Chord(kAlt, Vk::Enter)}},
      {Slideshow, "Slideshow", G::View, {Chord(kNone, 'S')}},
      {ZoomFit, "ZoomFit", G::View, {Chord(kCtrl, '0')}},
      {ZoomOriginal, "ZoomOriginal", G::View, {Chord(kCtrl, '1')}},
      {FitWidth, "FitWidth", G::View, {Chord(kCtrl, '2')}},
      {FitHeight, "FitHeight", G::View, {Chord(kCtrl, '3')}},
      {FitFill, "FitFill", G::View, {Chord(kCtrl, '4')}},
      {ZoomIn, "ZoomIn", G::View, {Chord(kCtrl, Vk::OemPlus), Chord(kNone, Vk::Add)}},
      {ZoomOut, "ZoomOut", G::View, {Chord(kCtrl, Vk::OemMinus), Chord(kNone, Vk::Subtract)}},
      {ZoomLock, "ZoomLock", G::View, {Chord(kNone, 'K')}},
      {SinglePage, "SinglePage", G::View, {Chord(kNone, '1')}},
      {TwoPages, "TwoPages", G::View, {Chord(kNone, '2')}},
      {Webtoon, "Webtoon", G::View, {Chord(kNone, '3')}},
      {RightToLeft, "RightToLeft", G::View, {}},
      {RotateRight, "RotateRight", G::View, {Chord(kNone, 'R')}},
      {RotateLeft, "RotateLeft", G::View, {Chord(kNone, 'L')}},
      {FlipHorizontal, "FlipHorizontal", G::View, {Chord(kNone, 'H')}},
      {FlipVertical, "FlipVertical", G::View, {Chord(kNone, 'V')}},
      {ShowInfo, "ShowInfo", G::View, {Chord(kNone, 'I')}},
      {AlwaysOnTop, "AlwaysOnTop", G::View, {Chord(kCtrl, 'T')}},
      {PinBars, "PinBars", G::View, {Chord(kNone, Vk::Oem3)}},
      {PlayPause, "PlayPause", G::View, {Chord(kNone, 'P')}},
      {BookmarkAdd, "BookmarkAdd", G::Other, {Chord(kCtrl, 'D'), Chord(kNone, 'B')}},
      {Bookmarks, "Bookmarks", G::Other, {Chord(kCtrl, 'B')}},
      {Settings, "Settings", G::Other, {Chord(kCtrl, Vk::OemComma)}},
      {ShortcutList, "ShortcutList", G::Other, {Chord(kNone, F(1))}},
      {About, "About", G::Other, {}},
  };
}

}  // namespace

std::span<const CommandInfo> CommandTable() {
  static const std::vector<CommandInfo> table = BuildTable();
  return table;
}

const CommandInfo& Command(CommandId id) { return CommandTable()[IndexOf(id)]; }

const std::string& Label(CommandId id) { return Quarlo::View::CommandLabel(static_cast<int>(id)); }

const std::string& GroupName(CommandGroup group) {
  return Quarlo::View::MenuGroupName(static_cast<int>(group));
}

std::optional<CommandId> CommandByName(std::string_view name) {
  for (const CommandInfo& command : CommandTable()) {
    if (command.name == name) return command.id;
  }
  return std::nullopt;
}

std::string ChordText(const HotkeyChord& chord) {
  if (chord.IsEmpty()) return {};
  std::string text;
  if (chord.modifiers & Modifier::Ctrl) text += "Ctrl+";
  if (chord.modifiers & Modifier::Shift) text += "Shift+";
  if (chord.modifiers & Modifier::Alt) text += "Alt+";
  // The key dispatch never matches a Win chord, but the shortcut box can record one: naming the bit
  // keeps such a chord from reading as the bare key, which may run another command.
  if (chord.modifiers & Modifier::Win) text += "Win+";
  return text + Quarlo::Widget::Input::KeyName(chord.key);
}

ChordList ParseChords(std::string_view text) {
  ChordList chords;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(kStoredSeparator, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view token = text.substr(start, end - start);
    start = end + 1;
    const size_t joiner = token.find(kStoredJoiner);
    if (joiner == std::string_view::npos) continue;
    const int64_t modifiers = Quarlo::View::ReadDecimal(token.substr(0, joiner));
    const int64_t key = Quarlo::View::ReadDecimal(token.substr(joiner + 1));
    if (key < 1 || key > kHighestKey || modifiers < 0 || modifiers > kHighestModifiers) continue;
    const HotkeyChord chord = Chord(static_cast<uint32_t>(modifiers), static_cast<uint32_t>(key));
    if (std::find(chords.begin(), chords.end(), chord) == chords.end()) chords.push_back(chord);
  }
  return chords;
}

std::string FormatChords(std::span<const HotkeyChord> chords) {
  std::string text;
  for (const HotkeyChord& chord : chords) {
    if (chord.IsEmpty()) continue;
    if (!text.empty()) text += kStoredSeparator;
    text += std::to_string(chord.modifiers) + kStoredJoiner + std::to_string(chord.key);
  }
  return text;
}

}  // namespace App
