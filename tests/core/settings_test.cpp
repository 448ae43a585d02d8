#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/registry/hive.h"
#include "support/concurrent_processes.h"

namespace {

using namespace Quarlo::View;
using Quarlo::Platform::Hive;
using Quarlo::Platform::HiveKey;
using Quarlo::Platform::HiveStatus;
using Quarlo::Platform::HiveStrings;
using Quarlo::Platform::HiveValue;
namespace fs = std::filesystem;

constexpr const char* kKeyPath = "Software\\QuarloView";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quarlo_settings_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    hive_ = std::make_unique<Hive>((folder_ / "quarloview" / "registry.txt").string());
  }
  void TearDown() override { fs::remove_all(folder_); }

  HiveKey Key() {
    auto key = hive_->Root().Create(kKeyPath);
    EXPECT_TRUE(key.Ok());
    return key.value;
  }
  Settings Load() { return Settings::Load(*hive_, kKeyPath); }

  fs::path folder_;
  std::unique_ptr<Hive> hive_;
};

// Every DWORD value with the default it is stored as.
const std::vector<std::pair<const char*, uint32_t>> kStoredDefaults = {
    {"Language", 0},
    {"Theme", 0},
    {"SingleWindow", 1},
    {"ConfirmDelete", 1},
    {"EscCloses", 1},
    {"EndAction", 3},
    {"FitMode", 0},
    {"PageMode", 0},
    {"RightToLeft", 0},
    {"CoverAlone", 1},
    {"WideAlone", 1},
    {"PageGap", 0},
    {"ZoomLock", 0},
    {"SmoothScaling", 1},
    {"ApplyOrientation", 1},
    {"ColorManage", 1},
    {"Background", 0},
    {"CustomBackground", 0x202020},
    {"Checkerboard", 1},
    {"PinBars", 0},
    {"SideArrows", 1},
    {"Notices", 1},
    {"AlwaysOnTop", 0},
    {"Wheel", 0},
    {"DoubleClick", 0},
    {"ClickSides", 0},
    {"SlideSeconds", 3},
    {"SlideLoop", 1},
    {"SlideRandom", 0},
    {"SlideFullscreen", 0},
    {"AlbumMove", 0},
    {"ConvertFormat", 0},
    {"ConvertQuality", 90},
    {"ConvertLossless", 0},
    {"ConvertResize", 0},
    {"ConvertLongEdge", 1920},
    {"ConvertPercent", 50},
    {"ConvertBoxWidth", 1920},
    {"ConvertBoxHeight", 1080},
    {"ConvertEnlarge", 0},
    {"ConvertOverwrite", 0},
    {"HasWindow", 0},
    {"WindowX", 0},
    {"WindowY", 0},
    {"WindowWidth", 0},
    {"WindowHeight", 0},
    {"WindowMaximized", 0},
};

TEST_F(SettingsTest, EmptyOrMissingKeyGivesTheDefaults) {
  EXPECT_EQ(Load(), Settings());
  Key();
  EXPECT_EQ(Load(), Settings());

  ASSERT_TRUE(Settings().Save(*hive_, kKeyPath));
  HiveKey key = Key();
  for (const auto& [name, expected] : kStoredDefaults) {
    auto read = key.GetDword(name);
    EXPECT_TRUE(read.Ok()) << name;
    EXPECT_EQ(read.value, expected) << name;
  }
  for (const char* name : {"Album1", "Album2", "Album3", "Album4", "ConvertFolder"}) {
    EXPECT_EQ(key.GetString(name).value, "") << name;
  }
  for (const char* name : {"Recent", "Bookmarks"})
    EXPECT_EQ(key.Get(name).status, HiveStatus::NotFound) << name;
  EXPECT_EQ(key.Open("Keys").status, HiveStatus::NotFound);
  EXPECT_EQ(key.ValueNames().value.size(), kStoredDefaults.size() + 5);
}

struct LoadCase {
  const char* name;
  HiveValue stored;
  std::function<int64_t(const Settings&)> field;
  int64_t expected;
};

TEST_F(SettingsTest, LoadAcceptsOnlyStoredValuesInRange) {
  auto language = [](const Settings& s) { return static_cast<int64_t>(s.language); };
  auto pageGap = [](const Settings& s) { return s.pageGap; };
  auto slideSeconds = [](const Settings& s) { return s.slideSeconds; };
  auto custom = [](const Settings& s) { return s.customBackground; };
  auto single = [](const Settings& s) { return int64_t{s.singleWindow}; };
  auto quality = [](const Settings& s) { return s.convertQuality; };
  auto windowX = [](const Settings& s) { return s.windowX; };
  const LoadCase cases[] = {
      {"Language", std::string("1"), language, 0},
      {"Language", uint64_t{1}, language, 0},
      {"Language", uint32_t{2}, language, 2},
      {"Language", uint32_t{3}, language, 0},
      {"PageGap", uint32_t{0xFFFFFFFF}, pageGap, 0},
      {"PageGap", uint32_t{200}, pageGap, 200},
      {"PageGap", uint32_t{201}, pageGap, 0},
      {"SlideSeconds", uint32_t{0}, slideSeconds, 3},
      {"SlideSeconds", uint32_t{3601}, slideSeconds, 3},
      {"SlideSeconds", uint32_t{3600}, slideSeconds, 3600},
      {"SlideSeconds", uint32_t{1}, slideSeconds, 1},
      {"CustomBackground", uint32_t{0xFFFFFF}, custom, 0xFFFFFF},
      {"CustomBackground", uint32_t{0x1000000}, custom, 0x202020},
      {"SingleWindow", uint32_t{0}, single, 0},
      {"SingleWindow", uint32_t{7}, single, 1},
      {"SingleWindow", std::string("0"), single, 1},
      {"ConvertQuality", uint32_t{0}, quality, 90},
      {"ConvertQuality", uint32_t{100}, quality, 100},
      {"WindowX", uint32_t{0xFFFFFFF8}, windowX, -8},
      {"windowx", uint32_t{12}, windowX, 12},  // value names ignore letter case
  };
  for (const LoadCase& test : cases) {
    SCOPED_TRACE(std::string(test.name) + " stored as type " +
                 std::to_string(int(Quarlo::Platform::TypeOf(test.stored))));
    hive_->Root().DeleteTree(kKeyPath);
    ASSERT_EQ(Key().Set(test.name, test.stored), HiveStatus::Ok);
    EXPECT_EQ(test.field(Load()), test.expected);
  }
}

// A field that holds one of a few choices, seen through its stored number.
struct ChoiceField {
  const char* name;
  uint32_t count;  // the stored numbers are 0 to count - 1
  uint32_t defaultNumber;
  std::function<uint32_t(const Settings&)> number;
  std::function<void(Settings&, uint32_t)> setNumber;
};

template <auto Member>
ChoiceField Choice(const char* name, uint32_t count, uint32_t defaultNumber) {
  using Type = std::remove_cvref_t<decltype(std::declval<Settings&>().*Member)>;
  return {name, count, defaultNumber, [](const Settings& s) { return static_cast<uint32_t>(s.*Member); },
          [](Settings& s, uint32_t number) { s.*Member = static_cast<Type>(number); }};
}

const ChoiceField kChoiceFields[] = {
    Choice<&Settings::language>("Language", 3, 0),
    Choice<&Settings::theme>("Theme", 3, 0),
    Choice<&Settings::endAction>("EndAction", 4, 3),
    Choice<&Settings::fitMode>("FitMode", 5, 0),
    Choice<&Settings::pageMode>("PageMode", 3, 0),
    Choice<&Settings::background>("Background", 5, 0),
    Choice<&Settings::wheel>("Wheel", 3, 0),
    Choice<&Settings::doubleClick>("DoubleClick", 3, 0),
    Choice<&Settings::convertFormat>("ConvertFormat", 6, 0),
    Choice<&Settings::convertResize>("ConvertResize", 4, 0),
};

// Every number a choice field accepts loads as itself; one past the last, a negative number and a
// value of another type leave the default.
TEST_F(SettingsTest, ChoiceFieldsLoadTheirStoredNumbersAndIgnoreOthers) {
  for (const ChoiceField& field : kChoiceFields) {
    SCOPED_TRACE(field.name);
    EXPECT_EQ(field.number(Settings()), field.defaultNumber);
    for (uint32_t stored = 0; stored < field.count; ++stored) {
      ASSERT_EQ(Key().Set(field.name, stored), HiveStatus::Ok);
      EXPECT_EQ(field.number(Load()), stored);
    }
    const HiveValue rejected[] = {field.count, uint32_t{0xFFFFFFFF}, uint32_t{0x80000000}, uint64_t{1},
                                  std::string("1")};
    for (const HiveValue& stored : rejected) {
      hive_->Root().DeleteTree(kKeyPath);
      ASSERT_EQ(Key().Set(field.name, stored), HiveStatus::Ok);
      EXPECT_EQ(field.number(Load()), field.defaultNumber);
    }
  }
}

TEST_F(SettingsTest, ChoiceFieldsSaveTheirNumbers) {
  for (const ChoiceField& field : kChoiceFields) {
    SCOPED_TRACE(field.name);
    for (uint32_t number = 0; number < field.count; ++number) {
      Settings settings;
      field.setNumber(settings, number);
      ASSERT_TRUE(settings.Save(*hive_, kKeyPath));
      auto stored = Key().GetDword(field.name);
      ASSERT_TRUE(stored.Ok());
      EXPECT_EQ(stored.value, number);
      EXPECT_EQ(Load(), settings);
    }
  }
}

// One named value of a choice field and the number the hive holds for it.
struct StoredChoice {
  const char* name;
  uint32_t number;
  std::function<void(Settings&)> choose;
};

template <auto Member, typename Choice>
StoredChoice Stored(const char* name, Choice value, uint32_t number) {
  return {name, number, [value](Settings& s) { s.*Member = value; }};
}

// The numbers are the stored format that earlier versions wrote and later ones must read.
TEST_F(SettingsTest, EveryChoiceIsStoredAsItsFixedNumber) {
  const StoredChoice cases[] = {
      Stored<&Settings::language>("Language", LanguageChoice::System, 0),
      Stored<&Settings::language>("Language", LanguageChoice::Korean, 1),
      Stored<&Settings::language>("Language", LanguageChoice::English, 2),
      Stored<&Settings::theme>("Theme", ThemeChoice::System, 0),
      Stored<&Settings::theme>("Theme", ThemeChoice::Light, 1),
      Stored<&Settings::theme>("Theme", ThemeChoice::Dark, 2),
      Stored<&Settings::endAction>("EndAction", EndAction::Stop, 0),
      Stored<&Settings::endAction>("EndAction", EndAction::WrapAround, 1),
      Stored<&Settings::endAction>("EndAction", EndAction::NextFolder, 2),
      Stored<&Settings::endAction>("EndAction", EndAction::Ask, 3),
      Stored<&Settings::fitMode>("FitMode", FitMode::Fit, 0),
      Stored<&Settings::fitMode>("FitMode", FitMode::Fill, 1),
      Stored<&Settings::fitMode>("FitMode", FitMode::FitWidth, 2),
      Stored<&Settings::fitMode>("FitMode", FitMode::FitHeight, 3),
      Stored<&Settings::fitMode>("FitMode", FitMode::ActualSize, 4),
      Stored<&Settings::pageMode>("PageMode", PageMode::SinglePage, 0),
      Stored<&Settings::pageMode>("PageMode", PageMode::TwoPages, 1),
      Stored<&Settings::pageMode>("PageMode", PageMode::Webtoon, 2),
      Stored<&Settings::background>("Background", BackgroundKind::Theme, 0),
      Stored<&Settings::background>("Background", BackgroundKind::Black, 1),
      Stored<&Settings::background>("Background", BackgroundKind::Gray, 2),
      Stored<&Settings::background>("Background", BackgroundKind::White, 3),
      Stored<&Settings::background>("Background", BackgroundKind::Custom, 4),
      Stored<&Settings::wheel>("Wheel", WheelAction::Navigate, 0),
      Stored<&Settings::wheel>("Wheel", WheelAction::Zoom, 1),
      Stored<&Settings::wheel>("Wheel", WheelAction::Scroll, 2),
      Stored<&Settings::doubleClick>("DoubleClick", DoubleClickAction::FullScreen, 0),
      Stored<&Settings::doubleClick>("DoubleClick", DoubleClickAction::FitOrActualSize, 1),
      Stored<&Settings::doubleClick>("DoubleClick", DoubleClickAction::Nothing, 2),
      Stored<&Settings::convertFormat>("ConvertFormat", ConvertFormat::Jpeg, 0),
      Stored<&Settings::convertFormat>("ConvertFormat", ConvertFormat::Png, 1),
      Stored<&Settings::convertFormat>("ConvertFormat", ConvertFormat::WebP, 2),
      Stored<&Settings::convertFormat>("ConvertFormat", ConvertFormat::Bmp, 3),
      Stored<&Settings::convertFormat>("ConvertFormat", ConvertFormat::Tiff, 4),
      Stored<&Settings::convertFormat>("ConvertFormat", ConvertFormat::Gif, 5),
      Stored<&Settings::convertResize>("ConvertResize", ConvertResize::KeepSize, 0),
      Stored<&Settings::convertResize>("ConvertResize", ConvertResize::LongSide, 1),
      Stored<&Settings::convertResize>("ConvertResize", ConvertResize::Percentage, 2),
      Stored<&Settings::convertResize>("ConvertResize", ConvertResize::FitInBox, 3),
  };
  for (const StoredChoice& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.number));
    Settings chosen;
    c.choose(chosen);
    ASSERT_TRUE(chosen.Save(*hive_, kKeyPath));
    auto stored = Key().GetDword(c.name);
    ASSERT_TRUE(stored.Ok());
    EXPECT_EQ(stored.value, c.number);

    hive_->Root().DeleteTree(kKeyPath);
    ASSERT_EQ(Key().Set(c.name, c.number), HiveStatus::Ok);
    EXPECT_EQ(Load(), chosen);
  }
}

TEST_F(SettingsTest, TextValuesNeedStringType) {
  HiveKey key = Key();
  key.Set("Album3", std::string("/home/me/Best"));
  key.Set("Album4", uint32_t{4});
  key.Set("ConvertFolder", HiveStrings{"/a"});
  Settings loaded = Load();
  EXPECT_EQ(loaded.albums, (std::array<std::string, 4>{"", "", "/home/me/Best", ""}));
  EXPECT_EQ(loaded.convertFolder, "");
}

TEST_F(SettingsTest, RecentListKeepsTwelveAndStopsAtAnEmptyEntry) {
  HiveStrings twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back("/pictures/" + std::to_string(i));
  Key().Set("Recent", twenty);
  EXPECT_EQ(Load().recent, HiveStrings(twenty.begin(), twenty.begin() + 12));

  Key().Set("Recent", HiveStrings{"/a", "/b", "", "/after"});
  EXPECT_EQ(Load().recent, (HiveStrings{"/a", "/b"}));

  Key().Set("Recent", std::string("/a"));
  EXPECT_TRUE(Load().recent.empty());
}

TEST(BookmarkTest, StoredFormParses) {
  struct Case {
    std::string text;
    std::optional<Bookmark> expected;
  };
  const Case cases[] = {
      {"/pics\t/pics/a.jpg\t133497000000000000", Bookmark{"/pics", "/pics/a.jpg", 133497000000000000}},
      {"/pics\t/pics/a.jpg", std::nullopt},
      {"/pics/a.jpg", std::nullopt},
      {"\t/pics/a.jpg\t5", std::nullopt},
      {"/pics\t/pics/a.jpg\t", Bookmark{"/pics", "/pics/a.jpg", 0}},
      {"/c.cbz\t\t7", Bookmark{"/c.cbz", "", 7}},
      {"/c.cbz\tp.png\t \t-42xyz", Bookmark{"/c.cbz", "p.png\t ", -42}},
      {"/c.cbz\tp.png\t  +17 3", Bookmark{"/c.cbz", "p.png", 17}},
      {"/c.cbz\tp.png\tabc", Bookmark{"/c.cbz", "p.png", 0}},
      {"/c.cbz\tp.png\t99999999999999999999",
       Bookmark{"/c.cbz", "p.png", std::numeric_limits<int64_t>::max()}},
      {"/c.cbz\tp.png\t" + std::string(40, '9') + "8",
       Bookmark{"/c.cbz", "p.png", std::numeric_limits<int64_t>::max()}},
      {"/c.cbz\tp.png\t-" + std::string(40, '7'),
       Bookmark{"/c.cbz", "p.png", std::numeric_limits<int64_t>::min()}},
      {"/c.cbz\tp.png\t9223372036854775807",
       Bookmark{"/c.cbz", "p.png", std::numeric_limits<int64_t>::max()}},
      {"/c.cbz\tp.png\t-9223372036854775808",
       Bookmark{"/c.cbz", "p.png", std::numeric_limits<int64_t>::min()}},
      {"/c.cbz\tname\twith tab.png\t9", Bookmark{"/c.cbz", "name\twith tab.png", 9}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.text);
    EXPECT_EQ(ParseBookmark(test.text), test.expected);
  }
  const Bookmark negative{"/l", "i", -5};
  EXPECT_EQ(FormatBookmark(negative), "/l\ti\t-5");
  EXPECT_EQ(ParseBookmark(FormatBookmark(negative)), negative);
}

TEST_F(SettingsTest, BookmarksLoadValidEntriesUpToFiveHundred) {
  HiveStrings stored = {"broken entry", "/x\t/x/0.jpg\t1"};
  for (int i = 1; i <= 510; ++i)
    stored.push_back("/x\t/x/" + std::to_string(i) + ".jpg\t" + std::to_string(i));
  Key().Set("Bookmarks", stored);
  std::vector<Bookmark> loaded = Load().bookmarks;
  ASSERT_EQ(loaded.size(), kMaxBookmarks);
  EXPECT_EQ(loaded.front(), (Bookmark{"/x", "/x/0.jpg", 1}));
  EXPECT_EQ(loaded.back().item, "/x/499.jpg");
}

TEST_F(SettingsTest, KeysSubkeyLoadsItsStringValues) {
  auto keys = Key().Create("Keys");
  ASSERT_TRUE(keys.Ok());
  keys.value.Set("Next", std::string("0:39 0:34"));
  keys.value.Set("Open", std::string());
  keys.value.Set("Delete", uint32_t{46});
  EXPECT_EQ(Load().keys, (std::map<std::string, std::string>{{"Next", "0:39 0:34"}, {"Open", ""}}));
}

// Every field away from its default, so that a field the store forgets cannot pass.
Settings EveryFieldChanged() {
  Settings s;
  s.language = LanguageChoice::Korean;
  s.theme = ThemeChoice::Dark;
  s.singleWindow = false;
  s.confirmDelete = false;
  s.escCloses = false;
  s.endAction = EndAction::NextFolder;
  s.recent = {"/home/me/a.cbz", "/home/me/tab\tand\nnewline", "/home/me/\xff not utf-8"};
  s.fitMode = FitMode::ActualSize;
  s.pageMode = PageMode::TwoPages;
  s.rightToLeft = true;
  s.coverAlone = false;
  s.wideAlone = false;
  s.pageGap = 200;
  s.zoomLock = true;
  s.smoothScaling = false;
  s.applyOrientation = false;
  s.colorManage = false;
  s.background = BackgroundKind::Custom;
  s.customBackground = 0xABCDEF;
  s.checkerboard = false;
  s.pinBars = true;
  s.sideArrows = false;
  s.notices = false;
  s.alwaysOnTop = true;
  s.wheel = WheelAction::Scroll;
  s.doubleClick = DoubleClickAction::FitOrActualSize;
  s.clickSides = true;
  s.slideSeconds = 3600;
  s.slideLoop = false;
  s.slideRandom = true;
  s.slideFullscreen = true;
  s.albums = {"/albums/1", "/albums/2 \"quoted\"", "/albums/%41", "/albums/사진"};
  s.albumMove = true;
  s.convertFormat = ConvertFormat::Gif;
  s.convertQuality = 1;
  s.convertLossless = true;
  s.convertResize = ConvertResize::FitInBox;
  s.convertLongEdge = 65535;
  s.convertPercent = 1000;
  s.convertBoxWidth = 800;
  s.convertBoxHeight = 600;
  s.convertEnlarge = true;
  s.convertFolder = "/out\\folder";
  s.convertOverwrite = true;
  s.keys = {{"Next", "0:39"}, {"Open", ""}, {"OpenFolder", "3:79 2:79"}};
  s.bookmarks = {{"/pics", "/pics/a.jpg", 133497000000000000}, {"/c.cbz", "dir/p.png", -1}};
  s.hasWindow = true;
  s.windowX = -8;
  s.windowY = -2147483647 - 1;
  s.windowWidth = 1280;
  s.windowHeight = 2147483647;
  s.windowMaximized = true;
  return s;
}

TEST_F(SettingsTest, SaveThenLoadGivesEveryFieldBack) {
  const Settings changed = EveryFieldChanged();
  ASSERT_TRUE(changed.Save(*hive_, kKeyPath));
  EXPECT_EQ(Load(), changed);
  EXPECT_EQ(Settings::Load(*hive_, "software\\quarloview"), changed);

  // A second process (another hive object on the same file) sees the same record.
  Hive other(hive_->FilePath());
  EXPECT_EQ(Settings::Load(other, kKeyPath), changed);

  ASSERT_TRUE(Settings().Save(*hive_, kKeyPath));
  EXPECT_EQ(Load(), Settings());
}

TEST_F(SettingsTest, EmptyListsDeleteTheirValuesAndTheKeysSubkey) {
  ASSERT_TRUE(EveryFieldChanged().Save(*hive_, kKeyPath));
  HiveKey key = Key();
  ASSERT_TRUE(key.Open("Keys").Ok());
  key.Open("Keys").value.Set("Stale", std::string("2:1"));

  Settings emptied = EveryFieldChanged();
  emptied.recent = {"", ""};
  emptied.bookmarks.clear();
  emptied.keys.clear();
  ASSERT_TRUE(emptied.Save(*hive_, kKeyPath));
  EXPECT_EQ(key.Get("Recent").status, HiveStatus::NotFound);
  EXPECT_EQ(key.Get("Bookmarks").status, HiveStatus::NotFound);
  EXPECT_EQ(key.Open("Keys").status, HiveStatus::NotFound);

  // Reassigned chords replace the whole subkey, dropping names no longer in the map.
  Settings one;
  one.keys = {{"Exit", "2:81"}};
  ASSERT_TRUE(one.Save(*hive_, kKeyPath));
  EXPECT_EQ(key.Open("Keys").value.ValueNames().value, std::vector<std::string>{"Exit"});
}

TEST_F(SettingsTest, SaveLeavesOtherValuesOfTheKeyAlone) {
  Key().Set("UsageId", std::string("0123456789abcdef0123456789abcdef"));
  ASSERT_TRUE(EveryFieldChanged().Save(*hive_, kKeyPath));
  EXPECT_EQ(Key().GetString("UsageId").value, "0123456789abcdef0123456789abcdef");
}

TEST_F(SettingsTest, SaveReportsFailure) {
  std::ofstream(folder_ / "plain-file") << "not a folder";
  Hive unusable((folder_ / "plain-file" / "registry.txt").string());
  EXPECT_FALSE(EveryFieldChanged().Save(unusable, kKeyPath));
  EXPECT_EQ(Settings::Load(unusable, kKeyPath), Settings());

  EXPECT_FALSE(Settings().Save(*hive_, "Software\\\\Broken"));

  Settings withNul;
  withNul.convertFolder = std::string("/a\0b", 4);
  EXPECT_FALSE(withNul.Save(*hive_, kKeyPath));
  EXPECT_EQ(Load().convertFolder, "");  // the other values were still written
  EXPECT_TRUE(Key().GetDword("Language").Ok());
}

// Two instances with their own key paths (as tests run them) save at the same moment, repeatedly;
// neither may lose the other's record.
TEST_F(SettingsTest, TwoProcessesSavingDifferentKeysBothSurvive) {
  constexpr int kSaves = 15;
  const std::string paths[2] = {"Software\\QuarloView", "Software\\QuarloViewTest"};
  EXPECT_TRUE(Quarlo::Test::RunConcurrently(2, [&](int child) {
    Hive hive(hive_->FilePath());
    Settings settings = EveryFieldChanged();
    bool ok = true;
    for (int i = 0; i < kSaves; ++i) {
      settings.AddRecent("/child" + std::to_string(child) + "/" + std::to_string(i));
      ok = settings.Save(hive, paths[child]) && ok;
    }
    return ok;
  }));
  for (int child = 0; child < 2; ++child) {
    Settings loaded = Settings::Load(*hive_, paths[child]);
    EXPECT_EQ(loaded.recent.front(), "/child" + std::to_string(child) + "/" + std::to_string(kSaves - 1));
    loaded.recent = EveryFieldChanged().recent;
    EXPECT_EQ(loaded, EveryFieldChanged());
  }
}

TEST_F(SettingsTest, DamagedHiveFileLoadsDefaultsAndIsKeptAside) {
  ASSERT_TRUE(EveryFieldChanged().Save(*hive_, kKeyPath));
  const std::string file = hive_->FilePath();
  std::ofstream(file, std::ios::app) << "\"Half written = dword\n";
  Hive reopened(file);
  EXPECT_EQ(Settings::Load(reopened, kKeyPath), Settings());
  EXPECT_FALSE(reopened.KeptAsidePath().empty());
  EXPECT_TRUE(fs::exists(reopened.KeptAsidePath()));
  EXPECT_TRUE(EveryFieldChanged().Save(reopened, kKeyPath));
  EXPECT_EQ(Settings::Load(reopened, kKeyPath), EveryFieldChanged());
}

TEST(AddRecentTest, MovesToFrontAndKeepsTwelve) {
  Settings settings;
  settings.AddRecent("");
  EXPECT_TRUE(settings.recent.empty());
  for (int i = 0; i < 13; ++i) settings.AddRecent("/p/" + std::to_string(i));
  ASSERT_EQ(settings.recent.size(), kMaxRecent);
  EXPECT_EQ(settings.recent.front(), "/p/12");
  EXPECT_EQ(settings.recent.back(), "/p/1");

  settings.AddRecent("/p/5");
  EXPECT_EQ(settings.recent.size(), kMaxRecent);
  EXPECT_EQ(settings.recent[0], "/p/5");
  EXPECT_EQ(std::count(settings.recent.begin(), settings.recent.end(), "/p/5"), 1);

  // Linux names are case-sensitive: paths differing in letter case are different sources.
  settings.recent = {"/Pics", "/a", "/Pics"};
  settings.AddRecent("/pics");
  EXPECT_EQ(settings.recent, (std::vector<std::string>{"/pics", "/Pics", "/a", "/Pics"}));
  settings.AddRecent("/Pics");
  EXPECT_EQ(settings.recent, (std::vector<std::string>{"/Pics", "/pics", "/a"}));
}

}  // namespace
