// The viewer window controller on the headless window and loop: real folders, archives and pictures on
// disk, decoded by the real cache, observed through the controller's state, the views, the headless
// window and the trace lines.

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/list_source.h"
#include "app/notice_bubble.h"
#include "app/program.h"
#include "app/viewer_fixture.h"
#include "app/viewer_window.h"
#include "support/recording_canvas.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/input/menu_item.h"
#include "widget/list/tile_view.h"
#include "widget/toolkit_language.h"

namespace {

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
  DialogAnswers answers;
  EXPECT_FALSE(viewer->Open(folder.At("empty")));
  EXPECT_FALSE(viewer->Open(folder.At("missing")));
  EXPECT_EQ(viewer->List().location, pics);
  EXPECT_FALSE(viewer->IsMessageShown());
  EXPECT_EQ(viewer->Pictures().Pages().size(), 1u);
  EXPECT_TRUE(Traced("message " + FormatText(15, {"empty"}) + " | " + Text(19)));
  // Told over the pictures in a message dialog titled with the program's name.
  ASSERT_EQ(answers.shown.size(), 2u);
  EXPECT_EQ(answers.shown[0].title, Text(0));
  const std::vector<std::string>& texts = answers.shown[1].texts;
  const std::string message = FormatText(15, {"missing"}) + "\n\n" + FormatText(16, {folder.At("missing")});
  EXPECT_NE(std::find(texts.begin(), texts.end(), message), texts.end());
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

TEST_F(MainWindowTest, ShowInfoNeedsAPictureList) {
  Start();
  viewer->RunCommand(CommandId::ShowInfo);
  EXPECT_FALSE(viewer->IsInfoShown());
  EXPECT_FALSE(InfoPanelOnScreen());
  EXPECT_TRUE(Traced("info hidden"));
}

TEST_F(MainWindowTest, ShowInfoTogglesThePanelAndItFollowsTheShownPicture) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_FALSE(InfoPanelOnScreen());
  viewer->RunCommand(CommandId::ShowInfo);
  EXPECT_TRUE(viewer->IsInfoShown());
  EXPECT_TRUE(InfoPanelOnScreen());
  EXPECT_TRUE(Traced("info shown"));
  std::vector<std::string> lines = InfoLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "File name: p01.png");
  EXPECT_EQ(lines[1], "Location: " + pics);
  EXPECT_EQ(lines[2], "Dimensions: 30 × 40 pixels");
  EXPECT_TRUE(Traced("info 1/3 p01.png"));

  viewer->RunCommand(CommandId::Next);
  Settle();
  lines = InfoLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "File name: p02.png");
  EXPECT_TRUE(Traced("info 2/3 p02.png"));

  viewer->RunCommand(CommandId::ShowInfo);
  EXPECT_FALSE(viewer->IsInfoShown());
  EXPECT_FALSE(InfoPanelOnScreen());
  // Hidden rows keep their content.
  EXPECT_EQ(InfoLines()[0], "File name: p02.png");
}

TEST_F(MainWindowTest, TheCloseButtonSwitchesTheInfoPanelOff) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ShowInfo);
  Quarlo::Widget::Input::Button& close = viewer->InfoWidget().CloseButton();
  EXPECT_EQ(close.toolTip, Text(64));
  EXPECT_EQ(close.AccessibleName(), Text(64));
  close.Click();
  EXPECT_FALSE(viewer->IsInfoShown());
  EXPECT_FALSE(InfoPanelOnScreen());
}

TEST_F(MainWindowTest, TheInfoPanelWaitsOutAClosedListAndComesBackWithTheNext) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ShowInfo);
  viewer->RunCommand(CommandId::CloseFile);
  EXPECT_TRUE(viewer->IsInfoShown());
  EXPECT_FALSE(InfoPanelOnScreen());
  // The rows of a picture not decoded yet name it at once; the rest follow when it is decoded.
  ASSERT_TRUE(viewer->Open(pics + "/p02.png"));
  EXPECT_TRUE(InfoPanelOnScreen());
  ASSERT_FALSE(InfoLines().empty());
  EXPECT_EQ(InfoLines()[0], "File name: p02.png");
  Settle();
  ASSERT_GE(InfoLines().size(), 3u);
  EXPECT_EQ(InfoLines()[2], "Dimensions: 30 × 40 pixels");
}

TEST_F(MainWindowTest, InTheWebtoonLayoutTheInfoPanelFollowsGoToAndDecodedPictures) {
  const std::string pics = PictureFolder(12);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::Webtoon);
  viewer->RunCommand(CommandId::ShowInfo);
  // Far from the first pictures, so that the cache decodes it only after GoTo asked for it.
  viewer->GoTo(10);
  ASSERT_FALSE(InfoLines().empty());
  EXPECT_EQ(InfoLines()[0], "File name: p11.png");
  const std::string dimensions = "Dimensions: 30 × 40 pixels";
  Application::Instance().RunUntil([&] { return InfoLines().size() > 2 && InfoLines()[2] == dimensions; });
  EXPECT_TRUE(Traced("info 11/12 p11.png"));
}

TEST_F(MainWindowTest, InTwoPagesTheInfoPanelDescribesTheFirstPictureOfTheSpread) {
  // Six portrait pictures with the cover alone: spreads start at 0, 1, 3 and 5.
  const std::string pics = PictureFolder(6);
  settings.pageMode = Quarlo::View::PageMode::TwoPages;
  settings.rightToLeft = true;
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ShowInfo);
  viewer->GoTo(4);
  Settle();
  ASSERT_EQ(viewer->Pictures().Pages().size(), 2u);
  ASSERT_FALSE(InfoLines().empty());
  EXPECT_EQ(InfoLines()[0], "File name: p04.png");
}

TEST_F(MainWindowTest, TheInfoPanelIsBuiltAgainWithTheFrame) {
  const std::string pics = PictureFolder(1);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ShowInfo);
  Quarlo::View::SetKoreanStrings(true);
  viewer->Rebuild();
  Settle();
  Quarlo::View::SetKoreanStrings(false);
  EXPECT_TRUE(InfoPanelOnScreen());
  ASSERT_FALSE(InfoLines().empty());
  EXPECT_EQ(InfoLines()[0], Quarlo::View::TextIn(66, true) + ": p01.png");
}

// The frame takes its texts as it is built: the language its settings choose must be in force by then, not
// the one that came before.
TEST_F(MainWindowTest, TheProgramBuildsItsFrameInTheLanguageOfItsSettings) {
  for (const bool korean : {false, true}) {
    settings.language = korean ? Quarlo::View::LanguageChoice::Korean : Quarlo::View::LanguageChoice::English;
    ASSERT_TRUE(settings.Save());
    Quarlo::View::SetKoreanStrings(!korean);
    App::Program program;
    EXPECT_EQ(program.Window().InfoWidget().AccessibleName(), Quarlo::View::TextIn(65, korean)) << korean;
  }
  Quarlo::View::SetKoreanStrings(false);
  Quarlo::Widget::SetToolkitLanguage(Quarlo::Widget::ToolkitLanguageId::English);
}

TEST_F(MainWindowTest, CommandsOfLaterPartsOnlyTraceTheirName) {
  const std::string pics = PictureFolder(2);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::Delete);
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

// --- The image list ---

// The window point at the centre of a tile of the image list.
Quarlo::Widget::Point TileCentre(const MainWindow& viewer, int64_t index) {
  const Rect tile = viewer.ListView().TileRect(index);
  return viewer.ListView().LocalToWindow({tile.x + tile.width / 2, tile.y + tile.height / 2});
}

TEST_F(MainWindowTest, ShowListNeedsAnOpenList) {
  Start();
  viewer->RunCommand(CommandId::ShowList);
  EXPECT_FALSE(viewer->IsListShown());
  EXPECT_FALSE(viewer->ListView().IsVisible());
  EXPECT_FALSE(Traced("list shown"));
}

TEST_F(MainWindowTest, ShowListSelectsAndCentresTheCurrentTileAndTakesTheKeys) {
  const std::string pics = PictureFolder(30);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics + "/p17.png"));
  Native().Resize({700, 500});                    // three columns, three rows in view
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Enter)));  // Enter runs ShowList while the list is hidden
  ASSERT_TRUE(viewer->IsListShown());
  EXPECT_TRUE(Traced("list shown"));
  const auto& view = viewer->ListView();
  EXPECT_TRUE(view.IsVisible());
  EXPECT_FALSE(viewer->Pictures().IsVisible());
  EXPECT_TRUE(view.IsFocused());
  EXPECT_EQ(view.selection.Ranges(), (std::vector<Quarlo::Widget::Models::IndexRange>{{16, 17}}));
  // Row 5 of the three-column grid sits in the middle of the list.
  const Rect row = view.TileRect(16);
  EXPECT_NEAR(row.y + row.height / 2, view.ActualSize().height / 2, 1);

  // Navigation keys and Enter now go to the list, not to the pictures.
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Left)));
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Up)));
  EXPECT_EQ(viewer->Current(), 16u);
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Enter)));
  Settle();
  EXPECT_FALSE(viewer->IsListShown());
  EXPECT_EQ(viewer->Current(), 12u);
  EXPECT_TRUE(Traced("list hidden"));
  EXPECT_TRUE(Traced("show 13/30 p13.png"));
  EXPECT_TRUE(viewer->Pictures().IsVisible());
}

TEST_F(MainWindowTest, DoubleClickOnATileShowsThatPictureAndEscHidesTheList) {
  const std::string pics = PictureFolder(30);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ShowList);
  Native().Press(TileCentre(*viewer, 2), PointerButton::Left, 1);
  Native().Release(TileCentre(*viewer, 2));
  Native().Press(TileCentre(*viewer, 2), PointerButton::Left, 2);
  Native().Release(TileCentre(*viewer, 2));
  Settle();
  EXPECT_FALSE(viewer->IsListShown());
  EXPECT_EQ(viewer->Current(), 2u);
  EXPECT_TRUE(Traced("show 3/30 p03.png"));

  viewer->RunCommand(CommandId::ShowList);
  ASSERT_TRUE(viewer->IsListShown());
  std::ofstream(TracePath(), std::ios::trunc).close();
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Escape)));
  EXPECT_FALSE(viewer->IsListShown());
  EXPECT_TRUE(Traced("list hidden"));
  EXPECT_TRUE(Native().exists);
}

TEST_F(MainWindowTest, TilesShowThumbnailsAsTheyArrive) {
  const std::string pics = PictureFolder(5);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->RunCommand(CommandId::ShowList);
  Application::Instance().RunUntil([this] {
    Quarlo::Widget::Testing::RecordingCanvas canvas;
    Native().Paint(canvas);
    return canvas.Calls("DrawBitmap").size() == 5;
  });
  EXPECT_EQ(viewer->ImageListSource().BitmapCount(), 5u);
  viewer->CloseSource();
  EXPECT_EQ(viewer->ImageListSource().BitmapCount(), 0u);
  EXPECT_FALSE(viewer->IsListShown());
}

TEST_F(MainWindowTest, ArchiveEntriesAreTitledByTheirOwnFileName) {
  const std::string archive = folder.At("book.cbz");
  Quarlo::Test::WriteFileBytes(archive, Quarlo::Test::BuildZip({Entry("chapter1/001.png", Png(20, 30)),
                                                                Entry("chapter2/002.png", Png(20, 30))})
                                            .bytes);
  Start();
  ASSERT_TRUE(OpenAndSettle(archive));
  auto& source = const_cast<App::ListSource&>(viewer->ImageListSource());
  EXPECT_EQ(source.Count(), 2);
  EXPECT_EQ(source.Title(0), "001.png");
  EXPECT_EQ(source.Title(1), "002.png");
  EXPECT_EQ(source.Title(2), "");
}

TEST_F(MainWindowTest, ResortKeepsTheCurrentPictureAndAppliesToListsOpenedLater) {
  // Sizes grow with the name: p01 is the smallest file.
  for (int i = 1; i <= 5; ++i) {
    folder.AddFile("sized/p0" + std::to_string(i) + ".png", Png(10 * i, 10 * i));
  }
  Start();
  for (const auto& item : viewer->SortMenuItems()) {
    EXPECT_TRUE(!item.IsSelectable()) << item.text;
  }
  ASSERT_TRUE(OpenAndSettle(folder.At("sized/p02.png")));
  ASSERT_TRUE(viewer->RunSortMenuItem(App::kSortMenuFirstKeyId + 2));  // Size, ascending
  ASSERT_TRUE(viewer->RunSortMenuItem(App::kSortMenuDescendingId));
  Settle();
  EXPECT_EQ(viewer->SortOrder(), Quarlo::View::SortKey::Size);
  EXPECT_TRUE(viewer->SortDescending());
  EXPECT_EQ(viewer->List().items.front().name, "p05.png");
  EXPECT_EQ(viewer->List().items[viewer->Current()].name, "p02.png");
  EXPECT_EQ(viewer->Current(), 3u);
  EXPECT_TRUE(Traced("show 4/5 p02.png"));
  const auto items = viewer->SortMenuItems();
  ASSERT_EQ(items.size(), 6u);
  EXPECT_TRUE(items[2].checked);
  EXPECT_FALSE(items[0].checked);
  EXPECT_TRUE(items[5].checked);
  EXPECT_TRUE(items[5].enabled);
  EXPECT_FALSE(viewer->RunSortMenuItem(204));

  ASSERT_TRUE(OpenAndSettle(folder.At("sized")));
  EXPECT_EQ(viewer->List().items.front().name, "p05.png");
}

}  // namespace
