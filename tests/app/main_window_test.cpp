// The viewer window controller on the headless window and loop: real folders, archives and pictures on
// disk, decoded by the real cache, observed through the controller's state, the views, the headless
// window and the trace lines.

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/notice_bubble.h"
#include "app/viewer_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "support/fixture_pictures.h"
#include "support/headless_window.h"
#include "support/recording_canvas.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/application.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"

namespace {

using App::CommandId;
using App::MainWindow;
using Quarlo::Test::TempFolder;
using Quarlo::View::FormatText;
using Quarlo::View::Settings;
using Quarlo::View::Text;
using Quarlo::Widget::Application;
using Quarlo::Widget::KeyEvent;
using Quarlo::Widget::PointerButton;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Testing::HeadlessWindow;
namespace Vk = Quarlo::Widget::Vk;

// The hive, the trace file and every settings save of this test program live in one temporary home.
TempFolder& Home() {
  static TempFolder home;
  return home;
}

std::string TracePath() { return Home().At("trace.txt"); }

class ViewerHome : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", Home().Path().c_str(), 1);
    setenv("QUARLO_VIEW_TRACE", TracePath().c_str(), 1);
    setenv("QUARLO_VIEW_SETTINGS_KEY", "Software\\QuarloTest", 1);
    Quarlo::View::SetKoreanStrings(false);
    Application::Instance().Initialize({});
  }
};

const auto* const kHome = ::testing::AddGlobalTestEnvironment(new ViewerHome);

std::vector<uint8_t> Png(uint32_t width, uint32_t height) {
  return Quarlo::Test::EncodePng(Quarlo::Test::RgbaImage::Filled(width, height, 40, 120, 200));
}

Quarlo::Test::ZipTestEntry Entry(std::string name, std::vector<uint8_t> data) {
  Quarlo::Test::ZipTestEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

KeyEvent Key(uint32_t key, uint8_t modifiers = 0) {
  KeyEvent event;
  event.key = key;
  event.modifiers = modifiers;
  return event;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(TracePath(), std::ios::trunc).close();
    settings.endAction = Quarlo::View::EndAction::Stop;
  }

  // Builds the controller and its window on the settings as the test left them.
  void Start() {
    viewer = std::make_unique<MainWindow>(settings, MainWindow::Hooks{{}, [this] { ++quits; }});
    ASSERT_TRUE(viewer->Create());
  }

  // A folder of count portrait pictures named p01.png, p02.png, ...
  std::string PictureFolder(size_t count, const std::string& name = "pics") {
    for (size_t i = 1; i <= count; ++i) {
      const std::string file = (i < 10 ? "p0" : "p") + std::to_string(i) + ".png";
      folder.AddFile(name + "/" + file, Png(30, 40));
    }
    return folder.At(name);
  }

  // Runs the loop until the controller no longer waits for the cache.
  void Settle() {
    Application::Instance().RunUntil([this] { return !viewer->IsWaiting(); });
  }

  bool OpenAndSettle(const std::string& path) {
    const bool opened = viewer->Open(path);
    Settle();
    return opened;
  }

  HeadlessWindow& Native() { return HeadlessWindow::Of(*viewer->Window()); }

  static std::vector<std::string> TraceLines() {
    std::ifstream in(TracePath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  static bool Traced(const std::string& line) {
    const std::vector<std::string> lines = TraceLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  TempFolder folder;
  Settings settings;
  int quits = 0;
  std::unique_ptr<MainWindow> viewer;
};

TEST_F(MainWindowTest, OpensAFolderAtItsFirstPicture) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_EQ(viewer->List().items.size(), 3u);
  EXPECT_EQ(viewer->Current(), 0u);
  ASSERT_EQ(viewer->Pictures().Pages().size(), 1u);
  EXPECT_EQ(viewer->Pictures().Pages()[0]->width, 30);
  EXPECT_EQ(Native().title, "p01.png - QuarloView");
  EXPECT_TRUE(Traced("open " + pics + " items=3 start=0"));
  EXPECT_TRUE(Traced("show 1/3 p01.png"));
  EXPECT_EQ(settings.recent.front(), pics);
}

TEST_F(MainWindowTest, OpensAPictureInsideItsFolderAtThatPicture) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics + "/p02.png"));
  EXPECT_EQ(viewer->Current(), 1u);
  EXPECT_TRUE(Traced("show 2/3 p02.png"));
  EXPECT_EQ(settings.recent.front(), pics + "/p02.png");
}

TEST_F(MainWindowTest, OpensAnArchiveAndNamesEntriesByTheirOwnFileName) {
  const std::string archive = folder.At("book.cbz");
  Quarlo::Test::WriteFileBytes(
      archive,
      Quarlo::Test::BuildZip({Entry("ch1/001.png", Png(20, 30)), Entry("ch1/002.png", Png(20, 30))}).bytes);
  Start();
  ASSERT_TRUE(OpenAndSettle(archive));
  EXPECT_EQ(viewer->List().kind, Quarlo::View::SourceKind::Archive);
  EXPECT_EQ(viewer->Pictures().Pages().size(), 1u);
  EXPECT_TRUE(Traced("show 1/2 001.png"));
  EXPECT_EQ(settings.recent.front(), archive);
}

TEST_F(MainWindowTest, FailuresWithNothingOpenGoToTheMessagePanel) {
  folder.AddFolder("empty");
  folder.AddFile("notes/readme.txt", "text");
  folder.AddFile("broken.cbz", "this is no zip archive at all");
  Quarlo::Test::WriteFileBytes(folder.At("texts.zip"),
                               Quarlo::Test::BuildZip({Entry("a.txt", Quarlo::Test::BytesOf("x"))}).bytes);
  struct Case {
    std::string path;
    std::string name;
    std::string detail;
  };
  const std::string missing = folder.At("gone/nothing.jpg");
  const Case cases[] = {
      {missing, "nothing.jpg", FormatText(16, {missing})},
      {folder.At("empty"), "empty", Text(19)},
      {folder.At("notes"), "notes", Text(19)},
      {folder.At("broken.cbz"), "broken.cbz", Text(17)},
      {folder.At("texts.zip"), "texts.zip", Text(20)},
  };
  Start();
  for (const Case& c : cases) {
    EXPECT_FALSE(viewer->Open(c.path)) << c.path;
    EXPECT_FALSE(viewer->HasList()) << c.path;
    EXPECT_TRUE(viewer->IsMessageShown()) << c.path;
    EXPECT_EQ(viewer->MessageHeadline(), FormatText(15, {c.name})) << c.path;
    EXPECT_EQ(viewer->MessageDetail(), c.detail) << c.path;
    EXPECT_TRUE(Traced("message " + FormatText(15, {c.name}) + " | " + c.detail)) << c.path;
  }
  EXPECT_TRUE(Traced("open " + missing + " failed"));
}

TEST_F(MainWindowTest, AFailedOpenKeepsTheShownPictures) {
  const std::string pics = PictureFolder(2);
  folder.AddFolder("empty");
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_FALSE(viewer->Open(folder.At("empty")));
  EXPECT_FALSE(viewer->Open(folder.At("missing")));
  EXPECT_EQ(viewer->List().location, pics);
  EXPECT_FALSE(viewer->IsMessageShown());
  EXPECT_EQ(viewer->Pictures().Pages().size(), 1u);
  EXPECT_EQ(viewer->NoticeWidget().Text(), FormatText(15, {"missing"}));
  EXPECT_TRUE(Traced("message " + FormatText(15, {"empty"}) + " | " + Text(19)));
}

TEST_F(MainWindowTest, APictureThatCannotBeDecodedShowsWhy) {
  const std::vector<uint8_t> whole = Png(30, 40);
  folder.AddFile("bad/cut.png", std::span<const uint8_t>(whole.data(), 60));
  folder.AddFile("bad/unknown.png", "not a picture");
  Start();
  ASSERT_TRUE(OpenAndSettle(folder.At("bad")));
  EXPECT_TRUE(viewer->IsMessageShown());
  EXPECT_EQ(viewer->MessageHeadline(), Text(21));
  EXPECT_EQ(viewer->MessageDetail(), Text(24));
  EXPECT_TRUE(viewer->Pictures().Pages().empty());
  EXPECT_TRUE(Traced("show 1/2 cut.png failed"));
  viewer->RunCommand(CommandId::Next);
  Settle();
  EXPECT_EQ(viewer->MessageDetail(), Text(23));
}

// A large JPEG in a fitted view comes first as a preview, then as the full picture. Whenever the preview
// was on screen, everything shown describes the full picture, and the position is told once.
TEST_F(MainWindowTest, FullPictureFollowsThePreviewWithOneShowLine) {
  folder.AddFile("big/photo.jpg", Quarlo::Test::EncodeJpeg(Quarlo::Test::RgbaImage::Photo(2400, 1600)));
  Start();
  // Each step paints as the window would, which lays the frame out first: the view has its size.
  auto paint = [this] {
    Quarlo::Widget::Testing::RecordingCanvas canvas;
    Native().Paint(canvas);
  };
  paint();
  ASSERT_TRUE(viewer->Open(folder.At("big")));
  std::vector<double> zooms;  // while each kind of picture was shown
  bool previewShown = false;
  Application::Instance().RunUntil([&] {
    paint();
    const auto& pages = viewer->Pictures().Pages();
    if (pages.empty()) return false;
    EXPECT_EQ(pages[0]->width, 2400);
    EXPECT_EQ(viewer->Pictures().RotatedSize(), (Quarlo::Widget::Size{2400, 1600}));
    if (pages[0]->preview && !previewShown) zooms.push_back(viewer->Pictures().Zoom());
    previewShown = previewShown || pages[0]->preview;
    return !pages[0]->preview;
  });
  zooms.push_back(viewer->Pictures().Zoom());
  EXPECT_LT(zooms.back(), 0.5);
  EXPECT_EQ(zooms.front(), zooms.back()) << "the full picture took the preview's place at the same zoom";
  const std::vector<std::string> lines = TraceLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "show 1/1 photo.jpg"), 1);
  EXPECT_FALSE(viewer->IsWaiting());
  EXPECT_FALSE(viewer->IsMessageShown());
}

TEST_F(MainWindowTest, GoToClampsAndLandsOnTheStartOfASpread) {
  // Six portrait pictures with the cover alone: spreads start at 0, 1, 3 and 5.
  const std::string pics = PictureFolder(6);
  settings.pageMode = Quarlo::View::PageMode::TwoPages;
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  const std::pair<size_t, size_t> jumps[] = {{5, 5}, {4, 3}, {2, 1}, {0, 0}, {99, 5}};
  for (const auto& [to, landed] : jumps) {
    viewer->GoTo(to);
    Settle();
    EXPECT_EQ(viewer->Current(), landed) << "GoTo " << to;
  }
  viewer->GoTo(3);
  Settle();
  EXPECT_EQ(viewer->Pictures().Pages().size(), 2u);
  EXPECT_TRUE(Traced("show 4/6 p04.png"));
}

TEST_F(MainWindowTest, PagingStopsAtEitherEndWithANotice) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::Previous);
  EXPECT_EQ(viewer->Current(), 0u);
  EXPECT_TRUE(Traced("notice " + Text(43)));
  viewer->RunCommand(CommandId::Last);
  Settle();
  viewer->RunCommand(CommandId::Next);
  EXPECT_EQ(viewer->Current(), 2u);
  EXPECT_TRUE(Traced("notice " + Text(44)));
  EXPECT_TRUE(Traced("command Next"));
}

TEST_F(MainWindowTest, JumpsOfTenClampToTheList) {
  const std::string pics = PictureFolder(12);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  const std::pair<CommandId, size_t> steps[] = {
      {CommandId::Forward10, 10}, {CommandId::Forward10, 11}, {CommandId::Back10, 1}, {CommandId::Back10, 0}};
  for (const auto& [command, expected] : steps) {
    viewer->RunCommand(command);
    Settle();
    EXPECT_EQ(viewer->Current(), expected);
  }
  EXPECT_FALSE(Traced("notice " + Text(44)));
}

TEST_F(MainWindowTest, KeysRunTheirChordsAndUpDownScroll) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Right)));
  Settle();
  EXPECT_EQ(viewer->Current(), 1u);
  EXPECT_TRUE(Native().KeyDown(Key(Vk::End)));
  Settle();
  EXPECT_EQ(viewer->Current(), 2u);
  // Up and Down are the view's, never the key map's, while a list is open.
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Down)));
  EXPECT_EQ(viewer->Current(), 2u);
  EXPECT_FALSE(Native().KeyDown(Key(Vk::F1 + 11)));
}

TEST_F(MainWindowTest, SideButtonsPageBackAndForward) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  Native().Press({50, 50}, PointerButton::Forward);
  EXPECT_EQ(viewer->Current(), 0u) << "the press alone does nothing";
  Native().Release({50, 50}, PointerButton::Forward);
  Settle();
  EXPECT_EQ(viewer->Current(), 1u);
  Native().Press({50, 50}, PointerButton::Back);
  Native().Release({50, 50}, PointerButton::Back);
  Settle();
  EXPECT_EQ(viewer->Current(), 0u);
}

TEST_F(MainWindowTest, EscLeavesFullScreenFirstThenCloses) {
  Start();
  viewer->RunCommand(CommandId::Fullscreen);
  EXPECT_TRUE(Native().fullScreen);
  EXPECT_TRUE(Traced("fullscreen on"));
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Escape)));
  EXPECT_FALSE(Native().fullScreen);
  EXPECT_TRUE(Traced("fullscreen off"));
  EXPECT_TRUE(Native().exists);
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Escape)));
  EXPECT_FALSE(Native().exists);
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(Traced("closed"));
}

TEST_F(MainWindowTest, EscDoesNothingMoreWhenItDoesNotClose) {
  settings.escCloses = false;
  Start();
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Escape)));
  EXPECT_TRUE(Native().exists);
  EXPECT_EQ(quits, 0);
}

TEST_F(MainWindowTest, ClosingInFullScreenRecordsThePlacementFromBefore) {
  Start();
  viewer->Show();
  viewer->Window()->MoveTo({120, 80});
  viewer->Window()->ResizeClient({900, 600});
  viewer->RunCommand(CommandId::Fullscreen);
  ASSERT_NE(Native().bounds.width, 900);
  viewer->RunCommand(CommandId::Exit);
  EXPECT_FALSE(Native().exists);
  const Settings saved = Settings::Load();
  EXPECT_TRUE(saved.hasWindow);
  EXPECT_EQ(saved.windowX, 120);
  EXPECT_EQ(saved.windowY, 80);
  EXPECT_EQ(saved.windowWidth, 900);
  EXPECT_EQ(saved.windowHeight, 600);
  EXPECT_FALSE(saved.windowMaximized);
}

TEST_F(MainWindowTest, ShowRestoresTheSavedPlacementWhenAMonitorShowsIt) {
  struct Case {
    Rect saved;
    bool restored;
  };
  const Case cases[] = {
      {{200, 100, 800, 500}, true}, {{200, 100, 150, 500}, false}, {{-5000, -5000, 800, 500}, false}};
  for (const Case& c : cases) {
    settings.hasWindow = true;
    settings.windowX = static_cast<int>(c.saved.x);
    settings.windowY = static_cast<int>(c.saved.y);
    settings.windowWidth = static_cast<int>(c.saved.width);
    settings.windowHeight = static_cast<int>(c.saved.height);
    Start();
    viewer->Show();
    EXPECT_TRUE(Native().visible);
    EXPECT_EQ(Native().bounds.x == c.saved.x && Native().bounds.width == c.saved.width, c.restored)
        << c.saved.x << "," << c.saved.width;
  }
}

TEST_F(MainWindowTest, CloseStoresTheKeyMapAndTheSettings) {
  settings.keys = {{"Next", "0:78"}};
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_TRUE(Native().KeyDown(Key('N')));
  Settle();
  EXPECT_EQ(viewer->Current(), 1u);
  settings.keys.clear();
  Native().RequestClose();
  EXPECT_EQ(settings.keys, (std::map<std::string, std::string>{{"Next", "0:78"}}));
  EXPECT_EQ(Settings::Load().keys, settings.keys);
  EXPECT_EQ(Settings::Load().recent.front(), pics);
}

TEST_F(MainWindowTest, CloseFileReturnsToTheEmptyState) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::CloseFile);
  EXPECT_FALSE(viewer->HasList());
  EXPECT_TRUE(viewer->Pictures().Pages().empty());
  EXPECT_EQ(Native().title, "QuarloView");
}

TEST_F(MainWindowTest, CommandsOfLaterPartsOnlyTraceTheirName) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::Slideshow);
  viewer->RunCommand(CommandId::Delete);
  EXPECT_TRUE(Traced("command Slideshow"));
  EXPECT_TRUE(Traced("command Delete"));
  EXPECT_EQ(viewer->List().items.size(), 2u);
  EXPECT_EQ(viewer->Current(), 0u);
}

TEST_F(MainWindowTest, ViewCommandsChangeTheViewAndTellWithNotices) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ZoomOriginal);
  EXPECT_EQ(settings.fitMode, Quarlo::View::FitMode::ActualSize);
  EXPECT_EQ(viewer->Pictures().Mode(), Quarlo::View::FitMode::ActualSize);
  EXPECT_EQ(viewer->NoticeWidget().Text(), Text(308));
  viewer->RunCommand(CommandId::ZoomIn);
  EXPECT_GT(viewer->Pictures().Zoom(), 1.0);
  EXPECT_EQ(viewer->NoticeWidget().Text(),
            FormatText(30, {std::to_string(App::ZoomPercent(viewer->Pictures().Zoom()))}));
  viewer->RunCommand(CommandId::AlwaysOnTop);
  EXPECT_TRUE(Native().topmost);
  EXPECT_EQ(viewer->NoticeWidget().Text(), FormatText(41, {Text(324)}));
  viewer->RunCommand(CommandId::RotateRight);
  EXPECT_EQ(viewer->Pictures().RotatedSize().width, 40);
  settings.notices = false;
  viewer->RunCommand(CommandId::ZoomLock);
  EXPECT_TRUE(settings.zoomLock);
  EXPECT_EQ(viewer->NoticeWidget().Text(), FormatText(41, {Text(324)}));
}

TEST_F(MainWindowTest, TheNoticeHidesAfterItsTime) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::Previous);
  EXPECT_TRUE(viewer->NoticeWidget().IsVisible());
  Quarlo::Widget::Testing::AdvanceHeadlessClock(App::kNoticeSeconds + 0.1);
  EXPECT_FALSE(viewer->NoticeWidget().IsVisible());
}

TEST_F(MainWindowTest, WebtoonLayoutShowsTheStripAndPagesByScrolling) {
  const std::string pics = PictureFolder(4);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::Webtoon);
  EXPECT_EQ(settings.pageMode, Quarlo::View::PageMode::Webtoon);
  EXPECT_TRUE(viewer->Strip().IsVisible());
  EXPECT_FALSE(viewer->Pictures().IsVisible());
  viewer->RunCommand(CommandId::SinglePage);
  Settle();
  EXPECT_TRUE(viewer->Pictures().IsVisible());
  EXPECT_EQ(viewer->Pictures().Pages().size(), 1u);
}

}  // namespace
