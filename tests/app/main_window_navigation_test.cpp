// Paging past either end of the list with every end action, the end card and its buttons, stepping into
// sibling folders and archives, spreads and jumps, and the slide show on the headless clock.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/end_card.h"
#include "app/notice_bubble.h"
#include "app/viewer_fixture.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/input/button.h"

namespace {

using Quarlo::View::EndAction;
using Quarlo::View::PageMode;

class NavigationTest : public MainWindowTest {
 protected:
  // Beside each other in natural order: a (3 pictures), b (2), c.zip (2), d (no pictures), z (2).
  void SiblingTree() {
    PictureFolder(3, "tree/a");
    PictureFolder(2, "tree/b");
    Quarlo::Test::WriteFileBytes(
        folder.At("tree/c.zip"),
        Quarlo::Test::BuildZip({Entry("01.png", Png(20, 30)), Entry("02.png", Png(20, 30))}).bytes);
    folder.AddFile("tree/d/notes.txt", "no pictures here");
    PictureFolder(2, "tree/z");
  }

  // Opens a source and settles at its first or its last picture.
  void OpenAt(const std::string& path, bool atEnd) {
    ASSERT_TRUE(OpenAndSettle(path));
    if (atEnd) {
      viewer->RunCommand(CommandId::Last);
      Settle();
    }
  }

  void Run(CommandId id) {
    viewer->RunCommand(id);
    Settle();
  }

  // Opens a small source and has every picture decoded, so that a running slide show never waits: the
  // headless loop fires the next timer whenever it waits with nothing posted, which would slip in extra
  // slides.
  void OpenDecoded(const std::string& path) {
    ASSERT_TRUE(OpenAndSettle(path));
    for (size_t i = viewer->List().items.size(); i-- > 0;) {
      viewer->GoTo(i);
      Settle();
    }
  }

  // Advances the headless clock past one slide of the given length and lets the new picture settle.
  void Slide(double seconds = 1) {
    Quarlo::Widget::Testing::AdvanceHeadlessClock(seconds + 0.01);
    Settle();
  }

  static size_t CountTraced(const std::string& line) {
    const std::vector<std::string> lines = TraceLines();
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
  }
};

TEST_F(NavigationTest, EachEndActionAtEitherEnd) {
  struct Case {
    EndAction action;
    PageMode mode;
    std::string source;  // under tree/
    bool atEnd;
    std::string location;  // where the viewer is afterwards, under tree/
    size_t current;
    std::string traced;  // a line the step writes
  };
  const Case cases[] = {
      {EndAction::Stop, PageMode::SinglePage, "b", true, "b", 1, "notice " + Text(44)},
      {EndAction::Stop, PageMode::SinglePage, "b", false, "b", 0, "notice " + Text(43)},
      {EndAction::WrapAround, PageMode::SinglePage, "a", true, "a", 0, "show 1/3 p01.png"},
      {EndAction::WrapAround, PageMode::SinglePage, "a", false, "a", 2, "show 3/3 p03.png"},
      {EndAction::WrapAround, PageMode::Webtoon, "a", false, "a", 2, "show 3/3 p03.png"},
      {EndAction::NextFolder, PageMode::SinglePage, "b", true, "c.zip", 0, "show 1/2 01.png"},
      {EndAction::NextFolder, PageMode::SinglePage, "b", false, "a", 0, "show 1/3 p01.png"},
      {EndAction::NextFolder, PageMode::TwoPages, "c.zip", false, "b", 0, "show 1/2 p01.png"},
      {EndAction::NextFolder, PageMode::SinglePage, "a", false, "a", 0, "notice " + Text(46)},
      {EndAction::NextFolder, PageMode::SinglePage, "z", true, "z", 1, "notice " + Text(45)},
      // The sibling holds no pictures: Open says so and the current list stays.
      {EndAction::NextFolder, PageMode::SinglePage, "c.zip", true, "c.zip", 1,
       "message " + FormatText(15, {"d"}) + " | " + Text(19)},
      {EndAction::Ask, PageMode::SinglePage, "b", true, "b", 1, "end card last"},
      {EndAction::Ask, PageMode::Webtoon, "b", false, "b", 0, "end card first"},
  };
  SiblingTree();
  DialogAnswers answers;  // the sibling without pictures is reported in a message dialog
  for (const Case& c : cases) {
    const std::string label = std::to_string(static_cast<int>(c.action)) + " " + c.source +
                              (c.atEnd ? " at the end" : " at the start") + " mode " +
                              std::to_string(static_cast<int>(c.mode));
    settings.endAction = c.action;
    settings.pageMode = c.mode;
    Start();
    OpenAt(folder.At("tree/" + c.source), c.atEnd);
    std::ofstream(TracePath(), std::ios::trunc).close();
    Run(c.atEnd ? CommandId::Next : CommandId::Previous);
    EXPECT_EQ(viewer->List().location, folder.At("tree/" + c.location)) << label;
    EXPECT_EQ(viewer->Current(), c.current) << label;
    EXPECT_TRUE(Traced(c.traced)) << label;
    EXPECT_EQ(viewer->IsEndCardShown(), c.action == EndAction::Ask) << label;
  }
}

TEST_F(NavigationTest, WrappingBackOpensTheLastPictureAtItsFarEnd) {
  folder.AddFile("tall/1.png", Png(100, 2000));
  folder.AddFile("tall/2.png", Png(100, 2000));
  settings.fitMode = Quarlo::View::FitMode::FitWidth;
  settings.endAction = EndAction::Ask;
  Start();
  ASSERT_TRUE(OpenAndSettle(folder.At("tall")));
  // The end card's first button opens the last picture at its start...
  Run(CommandId::Previous);
  viewer->EndCardWidget().OtherEndButton().Click();
  Settle();
  ASSERT_EQ(viewer->Current(), 1u);
  ASSERT_TRUE(viewer->Pictures().CanPanY());
  const double startPan = viewer->Pictures().Model().PanY();
  // ...wrapping around opens it at its far end.
  settings.endAction = EndAction::WrapAround;
  Run(CommandId::First);
  Run(CommandId::Previous);
  ASSERT_EQ(viewer->Current(), 1u);
  EXPECT_NE(viewer->Pictures().Model().PanY(), startPan);
}

TEST_F(NavigationTest, TheEndCardTellsWhichEndAndWhetherAFolderIsBeside) {
  settings.endAction = EndAction::Ask;
  SiblingTree();
  Start();
  OpenAt(folder.At("tree/a"), true);
  Run(CommandId::Next);
  const App::EndCard& card = viewer->EndCardWidget();
  EXPECT_TRUE(card.IsVisible());
  EXPECT_TRUE(viewer->IsEndCardAtEnd());
  EXPECT_EQ(card.Title(), Text(58));
  EXPECT_EQ(card.OtherEndButton().Text(), Text(60));
  EXPECT_EQ(card.FolderButton().Text(), Text(62));
  EXPECT_EQ(card.CloseButton().Text(), Text(64));
  EXPECT_TRUE(card.FolderButton().IsEnabled());
  // Paging past the end again renews the card.
  Run(CommandId::Next);
  EXPECT_EQ(CountTraced("end card last"), 2u);
  Run(CommandId::First);
  EXPECT_FALSE(card.IsVisible()) << "any GoTo hides the card";
  Run(CommandId::Previous);
  EXPECT_FALSE(viewer->IsEndCardAtEnd());
  EXPECT_EQ(card.Title(), Text(59));
  EXPECT_EQ(card.OtherEndButton().Text(), Text(61));
  EXPECT_EQ(card.FolderButton().Text(), Text(63));
  EXPECT_FALSE(card.FolderButton().IsEnabled()) << "a is the first of its parent";
  EXPECT_TRUE(Traced("end card first"));
  // A frame rebuilt for another language or theme brings the card back as it was.
  viewer->Rebuild();
  EXPECT_TRUE(viewer->EndCardWidget().IsVisible());
  EXPECT_EQ(viewer->EndCardWidget().Title(), Text(59));
  EXPECT_FALSE(viewer->EndCardWidget().FolderButton().IsEnabled());
}

TEST_F(NavigationTest, TheEndCardButtons) {
  settings.endAction = EndAction::Ask;
  SiblingTree();
  Start();
  OpenAt(folder.At("tree/b"), true);
  const App::EndCard& card = viewer->EndCardWidget();

  Run(CommandId::Next);
  card.OtherEndButton().Click();
  Settle();
  EXPECT_FALSE(viewer->IsEndCardShown());
  EXPECT_EQ(viewer->Current(), 0u);

  Run(CommandId::Previous);
  card.CloseButton().Click();
  EXPECT_FALSE(viewer->IsEndCardShown());
  EXPECT_FALSE(card.IsVisible());
  EXPECT_EQ(viewer->Current(), 0u);

  Run(CommandId::Previous);
  card.FolderButton().Click();
  Settle();
  EXPECT_FALSE(viewer->IsEndCardShown());
  EXPECT_EQ(viewer->List().location, folder.At("tree/a"));
  EXPECT_EQ(viewer->Current(), 0u) << "a sibling opens at its first picture in either direction";
}

TEST_F(NavigationTest, TheEndCardIsReachedWithTabAndPushedWithEnter) {
  settings.endAction = EndAction::Ask;
  const std::string pics = PictureFolder(3);
  Start();
  OpenAt(pics, true);
  Run(CommandId::Next);
  const App::EndCard& card = viewer->EndCardWidget();
  for (int i = 0; i < 8 && viewer->Window()->Focused() != &card.OtherEndButton(); ++i) {
    Native().KeyDown(Key(Vk::Tab));
  }
  ASSERT_EQ(viewer->Window()->Focused(), &card.OtherEndButton());
  Native().KeyDown(Key(Vk::Enter));
  Native().KeyUp(Key(Vk::Enter));
  Settle();
  EXPECT_FALSE(viewer->IsEndCardShown());
  EXPECT_EQ(viewer->Current(), 0u);
}

TEST_F(NavigationTest, EscOpeningAndClosingHideTheEndCard) {
  settings.endAction = EndAction::Ask;
  SiblingTree();
  Start();
  OpenAt(folder.At("tree/a"), true);
  Run(CommandId::Next);
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Escape)));
  EXPECT_FALSE(viewer->IsEndCardShown());
  EXPECT_EQ(viewer->Current(), 2u) << "Esc hides the card without moving";
  EXPECT_TRUE(Native().exists) << "the card took this Esc";

  Run(CommandId::Next);
  ASSERT_TRUE(OpenAndSettle(folder.At("tree/b")));
  EXPECT_FALSE(viewer->IsEndCardShown());

  OpenAt(folder.At("tree/b"), true);
  Run(CommandId::Next);
  Run(CommandId::CloseFile);
  EXPECT_FALSE(viewer->IsEndCardShown());
  ASSERT_TRUE(OpenAndSettle(folder.At("tree/b")));
  EXPECT_FALSE(viewer->EndCardWidget().IsVisible()) << "a closed source leaves no card behind";
}

TEST_F(NavigationTest, FolderCommandsStepBesideTheSource) {
  SiblingTree();
  Start();
  ASSERT_TRUE(OpenAndSettle(folder.At("tree/b/p02.png")));
  Run(CommandId::NextFolder);
  EXPECT_EQ(viewer->List().location, folder.At("tree/c.zip"));
  Run(CommandId::PreviousFolder);
  Run(CommandId::PreviousFolder);
  EXPECT_EQ(viewer->List().location, folder.At("tree/a"));
  Run(CommandId::PreviousFolder);
  EXPECT_EQ(viewer->NoticeWidget().Text(), Text(46));
  EXPECT_EQ(viewer->List().location, folder.At("tree/a"));
}

TEST_F(NavigationTest, TwoPageSpreadsPageByTheirStarts) {
  // Six portrait pictures with the cover alone: spreads start at 0, 1, 3 and 5.
  const std::string pics = PictureFolder(6);
  settings.pageMode = PageMode::TwoPages;
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  const std::pair<CommandId, size_t> steps[] = {
      {CommandId::Next, 1},     {CommandId::Next, 3},     {CommandId::Next, 5},     {CommandId::Next, 5},
      {CommandId::Previous, 3}, {CommandId::Previous, 1}, {CommandId::Previous, 0}, {CommandId::Previous, 0}};
  for (const auto& [command, expected] : steps) {
    Run(command);
    EXPECT_EQ(viewer->Current(), expected);
  }
  EXPECT_TRUE(Traced("notice " + Text(44)));
  EXPECT_TRUE(Traced("notice " + Text(43)));
}

TEST_F(NavigationTest, JumpsNeverReachTheEnd) {
  settings.endAction = EndAction::Ask;
  const std::string pics = PictureFolder(12);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  viewer->GoTo(7);
  Settle();
  Run(CommandId::Back10);
  EXPECT_EQ(viewer->Current(), 0u);
  viewer->GoTo(5);
  Settle();
  Run(CommandId::Forward10);
  EXPECT_EQ(viewer->Current(), 11u);
  Run(CommandId::Forward10);
  Run(CommandId::Last);
  EXPECT_EQ(viewer->Current(), 11u);
  EXPECT_FALSE(viewer->IsEndCardShown());
}

TEST_F(NavigationTest, ASequentialSlideShowLoopsOrStopsAtTheEnd) {
  settings.slideSeconds = 1;
  const std::string pics = PictureFolder(3);
  for (const bool loop : {true, false}) {
    settings.slideLoop = loop;
    Start();
    OpenDecoded(pics);
    std::ofstream(TracePath(), std::ios::trunc).close();
    Run(CommandId::Slideshow);
    EXPECT_TRUE(viewer->IsSlideshowRunning());
    EXPECT_TRUE(Traced("slideshow on"));
    EXPECT_EQ(viewer->NoticeWidget().Text(), Text(52));
    EXPECT_EQ(viewer->Current(), 0u) << "starting does not move";
    Slide();
    EXPECT_EQ(viewer->Current(), 1u);
    Slide();
    Slide();
    EXPECT_EQ(viewer->IsSlideshowRunning(), loop);
    EXPECT_EQ(viewer->Current(), loop ? 0u : 2u);
    EXPECT_EQ(Traced("slideshow off"), !loop);
    if (!loop) {
      EXPECT_EQ(viewer->NoticeWidget().Text(), Text(53));
    }
  }
}

TEST_F(NavigationTest, ARandomSlideShowVisitsEveryPictureOncePerPass) {
  settings.slideSeconds = 1;
  settings.slideRandom = true;
  const std::string pics = PictureFolder(5);
  Start();
  OpenDecoded(pics);
  viewer->StartSlideshow();
  std::multiset<size_t> shown;
  for (int tick = 0; tick < 5; ++tick) {
    Slide();
    shown.insert(viewer->Current());
  }
  EXPECT_EQ(shown, (std::multiset<size_t>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(viewer->IsSlideshowRunning());
}

TEST_F(NavigationTest, ARandomSlideShowOverOnePicture) {
  settings.slideSeconds = 1;
  settings.slideRandom = true;
  const std::string pics = PictureFolder(1);
  for (const bool loop : {true, false}) {
    settings.slideLoop = loop;
    Start();
    OpenDecoded(pics);
    std::ofstream(TracePath(), std::ios::trunc).close();
    viewer->StartSlideshow();
    Slide();
    Slide();
    EXPECT_EQ(viewer->IsSlideshowRunning(), loop);
    EXPECT_EQ(CountTraced("show 1/1 p01.png"), loop ? 2u : 0u);
    EXPECT_EQ(CountTraced("slideshow off"), loop ? 0u : 1u);
  }
}

TEST_F(NavigationTest, TheSlideIntervalNeverDropsBelowOneSecond) {
  const std::string pics = PictureFolder(4);
  for (const int seconds : {0, 1, 2}) {
    settings.slideSeconds = seconds;
    Start();
    OpenDecoded(pics);
    viewer->StartSlideshow();
    const double interval = std::max(seconds, 1);
    Quarlo::Widget::Testing::AdvanceHeadlessClock(interval - 0.05);
    Settle();
    EXPECT_EQ(viewer->Current(), 0u) << seconds;
    Slide(0.05);
    EXPECT_EQ(viewer->Current(), 1u) << seconds;
  }
}

TEST_F(NavigationTest, TheSlideShowLeavesFullScreenOnlyWhenItEnteredIt) {
  settings.slideFullscreen = true;
  const std::string pics = PictureFolder(2);
  Start();
  OpenDecoded(pics);
  viewer->StartSlideshow();
  EXPECT_TRUE(Native().fullScreen);
  viewer->StopSlideshow();
  EXPECT_FALSE(Native().fullScreen);

  Run(CommandId::Fullscreen);
  viewer->StartSlideshow();
  viewer->StopSlideshow();
  EXPECT_TRUE(Native().fullScreen);
}

TEST_F(NavigationTest, PagingPastTheStartDuringASlideShow) {
  settings.endAction = EndAction::Ask;
  const std::string pics = PictureFolder(3);
  for (const bool loop : {true, false}) {
    settings.slideLoop = loop;
    Start();
    OpenDecoded(pics);
    viewer->StartSlideshow();
    Run(CommandId::Previous);
    EXPECT_EQ(viewer->Current(), loop ? 2u : 0u);
    EXPECT_EQ(viewer->IsSlideshowRunning(), loop);
    EXPECT_FALSE(viewer->IsEndCardShown()) << "the end action is not asked during a slide show";
  }
}

TEST_F(NavigationTest, WhatStopsTheSlideShow) {
  settings.slideFullscreen = true;
  settings.escCloses = true;
  SiblingTree();
  DialogAnswers answers;
  Start();
  ASSERT_TRUE(OpenAndSettle(folder.At("tree/a")));

  viewer->StartSlideshow();
  Run(CommandId::Slideshow);
  EXPECT_FALSE(viewer->IsSlideshowRunning()) << "the command";

  // Esc ends the show first, leaving the full screen the show entered, and closes nothing.
  viewer->StartSlideshow();
  EXPECT_TRUE(Native().KeyDown(Key(Vk::Escape)));
  EXPECT_FALSE(viewer->IsSlideshowRunning()) << "Esc";
  EXPECT_FALSE(Native().fullScreen);
  EXPECT_TRUE(Native().exists);

  viewer->StartSlideshow();
  ASSERT_TRUE(OpenAndSettle(folder.At("tree/b")));
  EXPECT_FALSE(viewer->IsSlideshowRunning()) << "opening another source";

  viewer->StartSlideshow();
  EXPECT_FALSE(viewer->Open(folder.At("tree/d")));
  EXPECT_TRUE(viewer->IsSlideshowRunning()) << "a failed open changes nothing";
  EXPECT_EQ(answers.shown.size(), 1u) << "the failed open is reported in a message dialog";

  Run(CommandId::CloseFile);
  EXPECT_FALSE(viewer->IsSlideshowRunning()) << "closing the source";
  viewer->StartSlideshow();
  EXPECT_FALSE(viewer->IsSlideshowRunning()) << "no show without a list";

  ASSERT_TRUE(OpenAndSettle(folder.At("tree/b")));
  viewer->StartSlideshow();
  std::ofstream(TracePath(), std::ios::trunc).close();
  Native().RequestClose();
  const std::vector<std::string> lines = TraceLines();
  const auto off = std::find(lines.begin(), lines.end(), "slideshow off");
  const auto closed = std::find(lines.begin(), lines.end(), "closed");
  EXPECT_TRUE(off != lines.end() && closed != lines.end() && off < closed) << "closing the window";
}

}  // namespace
