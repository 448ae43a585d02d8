#include "app/key_map.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "core/settings.h"
#include "platform/registry/hive.h"
#include "support/temp_folder.h"
#include "widget/input/virtual_keys.h"

namespace {

using namespace App;
namespace Vk = Quarlo::Widget::Vk;
using Keys = std::map<std::string, std::string>;

constexpr HotkeyChord kCtrlO{2, 'O'};
constexpr HotkeyChord kCtrlShiftO{3, 'O'};
constexpr HotkeyChord kCtrlP{2, 'P'};

bool HoldsDefaults(const KeyMap& map) {
  for (const CommandInfo& command : CommandTable()) {
    if (map.Chords(command.id) != command.defaults) return false;
  }
  return true;
}

// The rules every change must keep: at most three chords a command, none with key 0, none twice
// anywhere, and FindCommand agreeing with the lists.
void ExpectInvariants(const KeyMap& map) {
  std::set<std::pair<uint32_t, uint32_t>> seen;
  for (const CommandInfo& command : CommandTable()) {
    const ChordList& chords = map.Chords(command.id);
    EXPECT_LE(chords.size(), kMaxChords) << command.name;
    for (const HotkeyChord& chord : chords) {
      EXPECT_FALSE(chord.IsEmpty()) << command.name;
      EXPECT_TRUE(seen.insert({chord.modifiers, chord.key}).second) << ChordText(chord) << " held twice";
      EXPECT_EQ(map.FindCommand(chord), command.id) << ChordText(chord);
    }
  }
}

TEST(KeyMapTest, StartsWithTheDefaults) {
  KeyMap map;
  EXPECT_TRUE(HoldsDefaults(map));
  EXPECT_TRUE(map.ExportOverrides().empty());
  ExpectInvariants(map);
}

TEST(KeyMapTest, FindCommandOfKeyZeroFindsNothing) {
  KeyMap map;
  EXPECT_EQ(map.FindCommand({0, 0}), std::nullopt);
  EXPECT_EQ(map.FindCommand({2, 0}), std::nullopt);
  EXPECT_EQ(map.FindCommand({0, Vk::F1 + 5}), std::nullopt);  // F6 is bound to nothing
  EXPECT_EQ(map.FindCommand({4, Vk::Enter}), CommandId::Fullscreen);
  EXPECT_EQ(map.FindCommand({0, Vk::Enter}), CommandId::ShowList);
}

TEST(KeyMapTest, TakingCtrlOFromOpenForOpenFolder) {
  KeyMap map;
  const HotkeyChord wanted[] = {kCtrlShiftO, kCtrlO};
  map.SetChords(CommandId::OpenFolder, wanted);
  EXPECT_TRUE(map.Chords(CommandId::Open).empty());
  EXPECT_EQ(map.Chords(CommandId::OpenFolder), (ChordList{kCtrlShiftO, kCtrlO}));
  EXPECT_EQ(map.FindCommand(kCtrlO), CommandId::OpenFolder);
  EXPECT_EQ(map.ExportOverrides(), (Keys{{"Open", ""}, {"OpenFolder", "3:79 2:79"}}));
  ExpectInvariants(map);

  // Giving Open its default back takes Ctrl+O from OpenFolder again, and nothing differs any more.
  map.ResetToDefault(CommandId::Open);
  EXPECT_EQ(map.Chords(CommandId::OpenFolder), ChordList{kCtrlShiftO});
  EXPECT_TRUE(HoldsDefaults(map));
  EXPECT_TRUE(map.ExportOverrides().empty());
}

TEST(KeyMapTest, SetChordsBuildsTheListFromTheWishedOne) {
  const HotkeyChord a{0, 'A'}, b{0, 'B'}, c{0, 'C'}, d{0, 'D'};
  const struct {
    const char* what;
    ChordList wished;
    ChordList held;
  } cases[] = {
      {"a fourth chord is dropped", {a, b, c, d}, {a, b, c}},
      {"key 0 and repeats do not count", {{0, 0}, a, a, {2, 0}, b, a, c, d}, {a, b, c}},
      {"empty clears", {}, {}},
      {"order is kept", {c, a}, {c, a}},
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(item.what);
    KeyMap map;
    map.SetChords(CommandId::RightToLeft, item.wished);
    EXPECT_EQ(map.Chords(CommandId::RightToLeft), item.held);
    ExpectInvariants(map);
  }
}

TEST(KeyMapTest, SetChordsTakesChordsAwayKeepingTheOthersOrder) {
  KeyMap map;
  const HotkeyChord wanted[] = {{0, Vk::PageDown}, {0, Vk::Backspace}};
  map.SetChords(CommandId::Slideshow, wanted);
  EXPECT_EQ(map.Chords(CommandId::Next), (ChordList{{0, Vk::Right}, {0, Vk::Space}}));
  EXPECT_EQ(map.Chords(CommandId::Previous), (ChordList{{0, Vk::Left}, {0, Vk::PageUp}}));
  EXPECT_EQ(map.FindCommand({0, 'S'}), std::nullopt);
  EXPECT_EQ(map.ExportOverrides(),
            (Keys{{"Next", "0:39 0:32"}, {"Previous", "0:37 0:33"}, {"Slideshow", "0:34 0:8"}}));
}

TEST(KeyMapTest, ReorderingOwnChordsCountsAsDifferent) {
  KeyMap map;
  const HotkeyChord reordered[] = {{0, Vk::Space}, {0, Vk::Right}, {0, Vk::PageDown}};
  map.SetChords(CommandId::Next, reordered);
  EXPECT_EQ(map.ExportOverrides(), (Keys{{"Next", "0:32 0:39 0:34"}}));
  map.SetChords(CommandId::Next, Command(CommandId::Next).defaults);
  EXPECT_TRUE(map.ExportOverrides().empty());
}

TEST(KeyMapTest, ResetAllUndoesEveryChange) {
  KeyMap map;
  const HotkeyChord one[] = {kCtrlO};
  map.SetChords(CommandId::About, one);
  map.SetChords(CommandId::Next, {});
  map.ResetAll();
  EXPECT_TRUE(HoldsDefaults(map));
  EXPECT_EQ(map, KeyMap());
}

TEST(KeyMapTest, LoadOverridesAppliesKnownNamesOnTopOfTheDefaults) {
  KeyMap map;
  map.SetChords(CommandId::About, std::initializer_list<HotkeyChord>{{0, Vk::F1 + 8}});
  map.LoadOverrides({
      {"Open", "2:79 2:79 0:0 16:65 3:300 2:80"},
      {"next", "0:65"},
      {"Bogus", "0:66"},
      {"Webtoon", "0:67 0:68 0:69 0:70"},
  });
  EXPECT_EQ(map.Chords(CommandId::Open), (ChordList{kCtrlO, kCtrlP}));
  EXPECT_EQ(map.Chords(CommandId::Next), Command(CommandId::Next).defaults);
  EXPECT_EQ(map.FindCommand({0, 'A'}), std::nullopt);
  EXPECT_EQ(map.FindCommand({0, 'B'}), CommandId::BookmarkAdd);
  EXPECT_EQ(map.Chords(CommandId::Webtoon), (ChordList{{0, 'C'}, {0, 'D'}, {0, 'E'}}));
  EXPECT_TRUE(map.Chords(CommandId::About).empty());  // the earlier change is gone
  ExpectInvariants(map);
}

TEST(KeyMapTest, LoadOverridesAppliesInMapOrder) {
  // "Next" sorts before "Slideshow", so Slideshow ends up with Right whichever command asked first.
  KeyMap map;
  map.LoadOverrides({{"Slideshow", "0:39"}, {"Next", "0:39 0:34"}});
  EXPECT_EQ(map.Chords(CommandId::Slideshow), (ChordList{{0, Vk::Right}}));
  EXPECT_EQ(map.Chords(CommandId::Next), (ChordList{{0, Vk::PageDown}}));
  ExpectInvariants(map);
}

TEST(KeyMapTest, RandomChangesKeepTheInvariants) {
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> command(0, kCommandCount - 1);
  std::uniform_int_distribution<int> count(0, 5);
  // A small pool, so that chords collide often: a few keys with Shift and Ctrl, key 0 among them.
  const uint32_t keys[] = {0, 'A', 'B', Vk::Right, Vk::PageDown, Vk::Enter};
  std::uniform_int_distribution<size_t> key(0, std::size(keys) - 1);
  std::uniform_int_distribution<uint32_t> modifiers(0, 3);
  KeyMap map;
  for (int step = 0; step < 500; ++step) {
    const auto id = static_cast<CommandId>(command(random));
    if (step % 50 == 49) {
      map.ResetToDefault(id);
    } else {
      ChordList wished(count(random));
      for (HotkeyChord& chord : wished) chord = {modifiers(random), keys[key(random)]};
      map.SetChords(id, wished);
    }
    ExpectInvariants(map);
    if (testing::Test::HasFailure()) break;
  }
}

class KeyMapStoreTest : public ::testing::Test {
 protected:
  static constexpr const char* kKeyPath = "Software\\QuarloView";

  Quarlo::View::Settings Load() { return Quarlo::View::Settings::Load(hive_, kKeyPath); }

  Quarlo::Test::TempFolder folder_;
  Quarlo::Platform::Hive hive_{folder_.At("quarloview/registry.txt")};
};

TEST_F(KeyMapStoreTest, NoKeysSubkeyGivesTheDefaults) {
  Quarlo::View::Settings settings;
  settings.slideSeconds = 7;
  ASSERT_TRUE(settings.Save(hive_, kKeyPath));
  auto key = hive_.Root().Open(kKeyPath);
  ASSERT_TRUE(key.Ok());
  EXPECT_FALSE(key.value.Open("Keys").Ok());

  KeyMap map;
  map.SetChords(CommandId::Next, {});
  map.LoadOverrides(Load().keys);
  EXPECT_TRUE(HoldsDefaults(map));
}

TEST_F(KeyMapStoreTest, OverridesSurviveTheSettingsStore) {
  KeyMap map;
  const HotkeyChord openFolder[] = {kCtrlShiftO, kCtrlO};
  const HotkeyChord slideshow[] = {{8, 'S'}, {0, Vk::PageDown}, {7, Vk::F1 + 11}};
  map.SetChords(CommandId::OpenFolder, openFolder);
  map.SetChords(CommandId::Slideshow, slideshow);
  map.SetChords(CommandId::Delete, {});

  Quarlo::View::Settings settings = Load();
  settings.keys = map.ExportOverrides();
  ASSERT_TRUE(settings.Save(hive_, kKeyPath));

  const Quarlo::View::Settings loaded = Load();
  EXPECT_EQ(loaded.keys, (Keys{{"Delete", ""},
                               {"Next", "0:39 0:32"},
                               {"Open", ""},
                               {"OpenFolder", "3:79 2:79"},
                               {"Slideshow", "8:83 0:34 7:123"}}));
  KeyMap reloaded;
  reloaded.LoadOverrides(loaded.keys);
  EXPECT_EQ(reloaded, map);
  ExpectInvariants(reloaded);
}

}  // namespace
