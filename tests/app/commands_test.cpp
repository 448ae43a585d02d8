#include "app/commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/strings.h"
#include "widget/input/virtual_keys.h"

namespace {

using namespace App;
namespace Vk = Quarlo::Widget::Vk;

struct Entry {
  const char* name;
  CommandGroup group;
  const char* defaults;  // stored form
};

// Every command in id order with its group and default chords in their stored form; the stored
// numbers are what users' settings hold, so they must never drift.
const Entry kCatalogue[kCommandCount] = {
    {"Open", CommandGroup::File, "2:79"},
    {"OpenFolder", CommandGroup::File, "3:79"},
    {"Reload", CommandGroup::File, "0:116"},
    {"Rename", CommandGroup::File, "0:113"},
    {"Delete", CommandGroup::File, "0:46"},
    {"DeletePermanently", CommandGroup::File, "1:46"},
    {"CopyImage", CommandGroup::File, "2:67"},
    {"CopyPath", CommandGroup::File, "3:67"},
    {"ShowInFolder", CommandGroup::File, "2:69"},
    {"OpenWith", CommandGroup::File, ""},
    {"Convert", CommandGroup::File, "2:83"},
    {"SetWallpaper", CommandGroup::File, ""},
    {"Properties", CommandGroup::File, ""},
    {"AlbumCopy1", CommandGroup::File, "0:45 4:49"},
    {"AlbumCopy2", CommandGroup::File, "4:50"},
    {"AlbumCopy3", CommandGroup::File, "4:51"},
    {"AlbumCopy4", CommandGroup::File, "4:52"},
    {"CloseFile", CommandGroup::File, "2:87"},
    {"Exit", CommandGroup::File, "2:81"},
    {"Next", CommandGroup::Navigate, "0:39 0:34 0:32"},
    {"Previous", CommandGroup::Navigate, "0:37 0:33 0:8"},
    {"First", CommandGroup::Navigate, "0:36"},
    {"Last", CommandGroup::Navigate, "0:35"},
    {"Forward10", CommandGroup::Navigate, "2:34"},
    {"Back10", CommandGroup::Navigate, "2:33"},
    {"NextFolder", CommandGroup::Navigate, "0:221"},
    {"PreviousFolder", CommandGroup::Navigate, "0:219"},
    {"GoTo", CommandGroup::Navigate, "2:71"},
    {"ShowList", CommandGroup::Navigate, "0:13"},
    {"Fullscreen", CommandGroup::View, "0:122 4:13"},
    {"Slideshow", CommandGroup::View, "0:83"},
    {"ZoomFit", CommandGroup::View, "2:48"},
    {"ZoomOriginal", CommandGroup::View, "2:49"},
    {"FitWidth", CommandGroup::View, "2:50"},
    {"FitHeight", CommandGroup::View, "2:51"},
    {"FitFill", CommandGroup::View, "2:52"},
    {"ZoomIn", CommandGroup::View, "2:187 0:107"},
    {"ZoomOut", CommandGroup::View, "2:189 0:109"},
    {"ZoomLock", CommandGroup::View, "0:75"},
    {"SinglePage", CommandGroup::View, "0:49"},
    {"TwoPages", CommandGroup::View, "0:50"},
    {"Webtoon", CommandGroup::View, "0:51"},
    {"RightToLeft", CommandGroup::View, ""},
    {"RotateRight", CommandGroup::View, "0:82"},
    {"RotateLeft", CommandGroup::View, "0:76"},
    {"FlipHorizontal", CommandGroup::View, "0:72"},
    {"FlipVertical", CommandGroup::View, "0:86"},
    {"ShowInfo", CommandGroup::View, "0:73"},
    {"AlwaysOnTop", CommandGroup::View, "2:84"},
    {"PinBars", CommandGroup::View, "0:192"},
    {"PlayPause", CommandGroup::View, "0:80"},
    {"BookmarkAdd", CommandGroup::Other, "2:68 0:66"},
    {"Bookmarks", CommandGroup::Other, "2:66"},
    {"Settings", CommandGroup::Other, "2:188"},
    {"ShortcutList", CommandGroup::Other, "0:112"},
    {"About", CommandGroup::Other, ""},
};

TEST(CommandsTest, TableHoldsTheCatalogueInIdOrder) {
  const auto table = CommandTable();
  ASSERT_EQ(table.size(), static_cast<size_t>(kCommandCount));
  for (size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(kCatalogue[i].name);
    EXPECT_EQ(IndexOf(table[i].id), i);
    EXPECT_EQ(table[i].name, kCatalogue[i].name);
    EXPECT_EQ(table[i].group, kCatalogue[i].group);
    EXPECT_EQ(FormatChords(table[i].defaults), kCatalogue[i].defaults);
  }
}

TEST(CommandsTest, DefaultsKeepTheKeyMapRules) {
  std::set<std::pair<uint32_t, uint32_t>> seen;
  for (const CommandInfo& command : CommandTable()) {
    SCOPED_TRACE(std::string(command.name));
    EXPECT_LE(command.defaults.size(), kMaxChords);
    for (const HotkeyChord& chord : command.defaults) {
      EXPECT_FALSE(chord.IsEmpty());
      EXPECT_TRUE(seen.insert({chord.modifiers, chord.key}).second) << ChordText(chord) << " is bound twice";
    }
  }
}

TEST(CommandsTest, LabelsAndGroupNamesFollowTheLanguage) {
  Quarlo::View::SetKoreanStrings(false);
  EXPECT_EQ(Label(CommandId::Open), "Open file…");
  EXPECT_EQ(Label(CommandId::Next), "Next image");
  EXPECT_EQ(Label(CommandId::About), "About QuarloView");
  EXPECT_EQ(GroupName(CommandGroup::File), "File");
  EXPECT_EQ(GroupName(CommandGroup::Navigate), "Navigate");
  EXPECT_EQ(GroupName(CommandGroup::View), "View");
  EXPECT_EQ(GroupName(CommandGroup::Other), "Other");
  Quarlo::View::SetKoreanStrings(true);
  EXPECT_EQ(Label(CommandId::Exit), "종료");
  EXPECT_EQ(GroupName(CommandGroup::File), "파일");
}

TEST(CommandsTest, CommandByNameMatchesExactly) {
  const struct {
    const char* name;
    std::optional<CommandId> found;
  } cases[] = {
      {"Next", CommandId::Next},   {"next", std::nullopt},    {"NEXT", std::nullopt},
      {"Next ", std::nullopt},     {" Next", std::nullopt},   {"Nex", std::nullopt},
      {"", std::nullopt},          {"Open", CommandId::Open}, {"OpenFolder", CommandId::OpenFolder},
      {"About", CommandId::About},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandByName(c.name), c.found) << '"' << c.name << '"';
  }
  EXPECT_EQ(static_cast<int>(*CommandByName("Next")), 19);
}

TEST(CommandsTest, ChordTextNamesModifiersThenKey) {
  const struct {
    HotkeyChord chord;
    const char* text;
  } cases[] = {
      {{0, 0}, ""},
      {{2, 0}, ""},
      {{0, Vk::PageDown}, "Page Down"},
      {{2, 'O'}, "Ctrl+O"},
      {{3, 'O'}, "Ctrl+Shift+O"},
      {{1, Vk::Delete}, "Shift+Delete"},
      {{4, Vk::Enter}, "Alt+Enter"},
      {{7, Vk::F1 + 4}, "Ctrl+Shift+Alt+F5"},
      {{2, Vk::OemPlus}, "Ctrl+="},
      {{2, Vk::OemComma}, "Ctrl+,"},
      {{0, Vk::Oem6}, "]"},
      {{0, Vk::Add}, "Num +"},
      {{0, '1'}, "1"},
      {{0, 0xE8}, "0xE8"},
      {{8, 'A'}, "Win+A"},
      {{15, 'A'}, "Ctrl+Shift+Alt+Win+A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChordText(c.chord), c.text) << c.chord.modifiers << ':' << c.chord.key;
  }
}

TEST(CommandsTest, ParseChordsKeepsOnlySoundTokens) {
  const struct {
    const char* text;
    ChordList chords;
  } cases[] = {
      {"2:79 2:79 0:0 16:65 3:300 2:80", {{2, 79}, {2, 80}}},
      {"", {}},
      {"   ", {}},
      {"  3:79   2:79  ", {{3, 79}, {2, 79}}},
      {"0:65 0:66 0:67 0:68", {{0, 65}, {0, 66}, {0, 67}, {0, 68}}},
      {"15:255 0:1", {{15, 255}, {0, 1}}},
      {"2:256 -1:79 2:-79 16:79", {}},
      {"79 two:words", {}},
      {":79", {{0, 79}}},
      {"2:", {}},
      {"+2:+79", {{2, 79}}},
      {"2:\t79", {{2, 79}}},
      {"2:79x 1:46:5", {{2, 79}, {1, 46}}},
      {"99999999999999999999:79 2:99999999999999999999", {}},
      {"4294967298:79 2:4294967375", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseChords(c.text), c.chords) << '"' << c.text << '"';
  }
}

TEST(CommandsTest, FormatChordsWritesStoredForm) {
  const struct {
    ChordList chords;
    const char* text;
  } cases[] = {
      {{}, ""},
      {{{2, 79}}, "2:79"},
      {{{3, 79}, {2, 79}}, "3:79 2:79"},
      {{{0, 0}, {2, 79}, {2, 0}}, "2:79"},
      {{{15, 255}, {0, 8}}, "15:255 0:8"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatChords(c.chords), c.text);
    EXPECT_EQ(FormatChords(ParseChords(c.text)), c.text);
  }
}

}  // namespace
