// The viewer window's chrome on the headless window and clock: the frame's space for the bars, the bars
// hiding and coming back, the side arrows, the bottom bar and its slider, the tool bar's states, the
// notice, and the dialogs, pickers and drops the controller runs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/bar.h"
#include "app/chrome_items.h"
#include "app/frame.h"
#include "app/notice_bubble.h"
#include "app/viewer_fixture.h"
#include "app/viewer_window.h"
#include "app/welcome_panel.h"
#include "support/headless_drop_target.h"
#include "support/headless_file_picker.h"
#include "views/picture_view.h"
#include "widget/input/button.h"
#include "widget/input/label.h"
#include "widget/input/slider.h"
#include "widget/input/split_button.h"
#include "widget/input/toolbar.h"
#include "widget/scroll_viewer.h"

namespace {

using Quarlo::Widget::Point;
using Quarlo::Widget::Input::DropDownButton;
using Quarlo::Widget::Input::ToolbarItem;
using Quarlo::Widget::Testing::AdvanceHeadlessClock;

constexpr double kHide = 2.0;

class ChromeTest : public MainWindowTest {
 protected:
  const App::ChromeWidgets& Chrome() const { return viewer->Chrome(); }
  void Layout() { viewer->Window()->UpdateLayout(); }
  bool BarsVisible() const { return Chrome().topBar->IsVisible(); }
  ToolbarItem Item(CommandId id) const {
    for (const ToolbarItem& item : Chrome().toolBar->Items()) {
      if (item.id == App::ItemIdOf(id)) return item;
    }
    ADD_FAILURE() << "no tool bar item for " << App::Label(id);
    return {};
  }
  // The middle of the picture area, away from the bars and the arrows.
  static constexpr Point kMiddle{550, 380};
};

TEST_F(ChromeTest, PinnedBarsKeepThePictureBetweenThemAndNeverHide) {
  settings.pinBars = true;
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  Native().Move(kMiddle);
  AdvanceHeadlessClock(kHide + 1);
  Layout();
  EXPECT_TRUE(BarsVisible());
  EXPECT_TRUE(Chrome().frame->BarsReserveSpace());
  EXPECT_EQ(Chrome().frame->Content()->Bounds(), (Rect{0, 48, 1100, 760 - 96}));
  // Full screen overlays and hides them even when pinned.
  viewer->SetFullScreen(true);
  EXPECT_FALSE(BarsVisible());
  EXPECT_FALSE(Chrome().frame->BarsReserveSpace());
  Native().Move(Point{500, 300});
  EXPECT_TRUE(BarsVisible());
  AdvanceHeadlessClock(kHide + 0.1);
  EXPECT_FALSE(BarsVisible());
  viewer->SetFullScreen(false);
  EXPECT_TRUE(BarsVisible());
}

TEST_F(ChromeTest, UnpinnedBarsHideAfterThePointerRestsAndReturnOnAMove) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  Native().Move(kMiddle);
  AdvanceHeadlessClock(kHide - 0.5);
  EXPECT_TRUE(BarsVisible());
  AdvanceHeadlessClock(0.6);
  Layout();
  EXPECT_FALSE(BarsVisible());
  EXPECT_FALSE(Chrome().bottomBar->IsVisible());
  EXPECT_FALSE(Chrome().leftArrow->IsVisible());
  // The picture runs under where the bars were.
  EXPECT_EQ(Chrome().frame->Content()->Bounds(), (Rect{0, 0, 1100, 760}));
  EXPECT_TRUE(Traced("bars hidden"));
  // A move to the same whole pixel is no move.
  Native().Move(kMiddle);
  EXPECT_FALSE(BarsVisible());
  Native().Move(Point{kMiddle.x + 1, kMiddle.y});
  EXPECT_TRUE(BarsVisible());
  EXPECT_TRUE(Traced("bars shown"));
}

TEST_F(ChromeTest, BarsStayWhileThePointerRestsOnThemOrAMenuIsOpen) {
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  // The bars come back under a pointer that then rests on them.
  Native().Move(kMiddle);
  AdvanceHeadlessClock(kHide + 0.1);
  ASSERT_FALSE(BarsVisible());
  Native().Move(Point{300, 20});
  Layout();
  AdvanceHeadlessClock(kHide * 3);
  EXPECT_TRUE(BarsVisible());
  Native().Move(kMiddle);
  AdvanceHeadlessClock(kHide + 0.1);
  EXPECT_FALSE(BarsVisible());

  Native().Move(Point{kMiddle.x, kMiddle.y + 5});
  Layout();
  DropDownButton* layout = nullptr;
  for (size_t i = 0; i < Chrome().toolBar->Items().size(); ++i) {
    if (Chrome().toolBar->Items()[i].id == App::kLayoutMenuId) {
      layout = dynamic_cast<DropDownButton*>(Chrome().toolBar->EntryAt(i));
    }
  }
  ASSERT_NE(layout, nullptr);
  layout->SetExpanded(true);
  ASSERT_TRUE(Chrome().toolBar->IsMenuOpen());
  AdvanceHeadlessClock(kHide * 2);
  EXPECT_TRUE(BarsVisible());
  layout->SetExpanded(false);
  // The closed menu's popup goes from the loop.
  Application::Instance().DrainPosted();
  AdvanceHeadlessClock(kHide + 0.1);
  EXPECT_FALSE(BarsVisible());
}

TEST_F(ChromeTest, BarsNeverHideWithoutPicturesOrWithAMessage) {
  Start();
  AdvanceHeadlessClock(kHide + 1);
  EXPECT_TRUE(BarsVisible());
  // Without a list there is nothing to page: no bottom bar.
  EXPECT_FALSE(Chrome().bottomBar->IsVisible());
  EXPECT_FALSE(viewer->Open(folder.At("missing")));
  Native().Move(kMiddle);
  AdvanceHeadlessClock(kHide + 1);
  EXPECT_TRUE(BarsVisible());
}

TEST_F(ChromeTest, ArrowsRunPreviousAndNextOrTheReverseInRightToLeftSpreads) {
  // Pinned, so that the bars stay while the loop waits for pictures.
  settings.pinBars = true;
  const std::string pics = PictureFolder(4);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  ASSERT_TRUE(Chrome().leftArrow->IsVisible());
  EXPECT_EQ(Chrome().leftArrow->toolTip, App::Label(CommandId::Previous) + " (Left)");
  EXPECT_EQ(Chrome().leftArrow->AccessibleName(), App::Label(CommandId::Previous));
  EXPECT_EQ(Chrome().rightArrow->toolTip, App::Label(CommandId::Next) + " (Right)");
  Chrome().rightArrow->Click();
  Settle();
  EXPECT_EQ(viewer->Current(), 1u);

  settings.coverAlone = false;
  viewer->RunCommand(CommandId::TwoPages);
  viewer->RunCommand(CommandId::RightToLeft);
  Settle();
  EXPECT_EQ(Chrome().leftCommand, CommandId::Next);
  EXPECT_EQ(Chrome().leftArrow->toolTip, App::Label(CommandId::Next) + " (Right)");
  const size_t before = viewer->Current();
  Chrome().leftArrow->Click();
  Settle();
  EXPECT_GT(viewer->Current(), before);
  // The bottom bar's buttons are not swapped.
  viewer->GoTo(2);
  Settle();
  Chrome().previous->Click();
  Settle();
  EXPECT_EQ(viewer->Current(), 0u);

  viewer->RunCommand(CommandId::Webtoon);
  EXPECT_FALSE(Chrome().leftArrow->IsVisible());
}

TEST_F(ChromeTest, NoArrowsForOnePictureOrWhenSwitchedOff) {
  settings.pinBars = true;
  const std::string one = PictureFolder(1, "one");
  Start();
  ASSERT_TRUE(OpenAndSettle(one));
  EXPECT_FALSE(Chrome().leftArrow->IsVisible());
  EXPECT_FALSE(Chrome().rightArrow->IsVisible());
  viewer.reset();
  settings.sideArrows = false;
  const std::string pics = PictureFolder(3);
  Start();
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_FALSE(Chrome().rightArrow->IsVisible());
}

TEST_F(ChromeTest, BottomBarShowsPositionZoomAndTheSliderFollowsWithoutNavigating) {
  settings.pinBars = true;
  Start();
  EXPECT_EQ(Chrome().position->Text(), "");
  EXPECT_FALSE(Chrome().slider->IsEnabled());
  EXPECT_FALSE(Chrome().next->IsEnabled());
  const std::string pics = PictureFolder(5);
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_EQ(Chrome().position->Text(), "1 / 5");
  EXPECT_EQ(Chrome().zoom->Text(), App::ZoomText(viewer->Pictures().Zoom()));
  EXPECT_EQ(Chrome().slider->Maximum(), 5);
  EXPECT_TRUE(Chrome().slider->IsEnabled());
  viewer->GoTo(3);
  Settle();
  EXPECT_EQ(Chrome().slider->Value(), 4);
  EXPECT_EQ(viewer->Current(), 3u);
  EXPECT_EQ(Chrome().position->Text(), "4 / 5");

  // A drag to 1.5 goes to the second picture.
  Chrome().slider->onValueChanged(1.5);
  Settle();
  EXPECT_EQ(viewer->Current(), 1u);
  EXPECT_EQ(Chrome().slider->Value(), 2);

  settings.coverAlone = false;
  viewer->RunCommand(CommandId::TwoPages);
  viewer->GoTo(0);
  Settle();
  EXPECT_EQ(Chrome().position->Text(), "1\u20132 / 5");
  viewer->GoTo(4);
  Settle();
  EXPECT_EQ(Chrome().position->Text(), "5 / 5");
}

TEST_F(ChromeTest, ToolBarStatesAndTheFileNameFollowTheWindow) {
  Start();
  EXPECT_FALSE(Item(CommandId::ZoomIn).enabled);
  EXPECT_TRUE(Item(CommandId::Open).enabled);
  EXPECT_EQ(Chrome().fileName->Text(), "");
  const std::string pics = PictureFolder(2);
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_TRUE(Item(CommandId::ZoomIn).enabled);
  EXPECT_TRUE(Item(CommandId::Delete).enabled);
  EXPECT_EQ(Chrome().fileName->Text(), "p01.png");
  EXPECT_EQ(Item(CommandId::Fullscreen).icon, 0xE740u);
  viewer->RunCommand(CommandId::Fullscreen);
  EXPECT_EQ(Item(CommandId::Fullscreen).icon, 0xE73Fu);
  viewer->RunCommand(CommandId::Webtoon);
  EXPECT_FALSE(Item(CommandId::RotateLeft).enabled);

  // A tool bar press runs its command once the press is over.
  Chrome().toolBar->onCommand(App::ItemIdOf(CommandId::ZoomLock), false);
  EXPECT_FALSE(settings.zoomLock);
  Application::Instance().DrainPosted();
  EXPECT_TRUE(settings.zoomLock);
  EXPECT_TRUE(Traced("command ZoomLock"));
  const size_t lines = TraceLines().size();
  Chrome().toolBar->onCommand(250, false);
  Chrome().toolBar->onCommand(App::kMoreMenuId, false);
  Application::Instance().DrainPosted();
  EXPECT_EQ(TraceLines().size(), lines);
}

TEST_F(ChromeTest, ASecondNoticeReplacesTheFirstAndKeepsItsOwnTime) {
  Start();
  const App::NoticeBubble& notice = viewer->NoticeWidget();
  viewer->Notice("first");
  AdvanceHeadlessClock(1.0);
  EXPECT_TRUE(notice.IsVisible());
  viewer->Notice("second");
  EXPECT_EQ(notice.Text(), "second");
  AdvanceHeadlessClock(1.0);
  EXPECT_TRUE(notice.IsVisible());
  EXPECT_FLOAT_EQ(notice.Strength(), 1);
  // It fades over the end of its time, then goes.
  AdvanceHeadlessClock(App::kNoticeSeconds - App::kNoticeFadeSeconds - 1.0 + App::kNoticeFadeSeconds / 2);
  viewer->Window()->GetAnimator().Tick();
  EXPECT_TRUE(notice.IsVisible());
  EXPECT_LT(notice.Strength(), 1);
  EXPECT_GT(notice.Strength(), 0);
  // A notice while the last one fades comes back whole.
  viewer->Notice("third");
  EXPECT_FLOAT_EQ(notice.Strength(), 1);
  AdvanceHeadlessClock(App::kNoticeSeconds + 0.05);
  EXPECT_FALSE(notice.IsVisible());
  EXPECT_TRUE(Traced("notice first"));
  EXPECT_TRUE(Traced("notice third"));
  EXPECT_FALSE(notice.IsHitTestVisible());
}

TEST_F(ChromeTest, WelcomeShowsUntilSomethingIsOpenAndItsRecentSectionAfterClosing) {
  settings.recent = {folder.At("a"), folder.At("b")};
  Start();
  EXPECT_TRUE(viewer->Welcome().IsVisible());
  EXPECT_EQ(viewer->Welcome().RecentCount(), 2u);
  const std::string pics = PictureFolder(2);
  ASSERT_TRUE(OpenAndSettle(pics));
  EXPECT_FALSE(viewer->Welcome().IsVisible());
  EXPECT_TRUE(viewer->Pictures().IsVisible());
  viewer->RunCommand(CommandId::CloseFile);
  EXPECT_TRUE(viewer->Welcome().IsVisible());
  EXPECT_FALSE(viewer->Pictures().IsVisible());
  // Closing refills the recent section, now with the folder just seen first.
  EXPECT_EQ(viewer->Welcome().RecentCount(), 3u);
  EXPECT_EQ(settings.recent.front(), pics);
}

TEST_F(ChromeTest, OpenAndFolderDialogsOpenWhatWasChosen) {
  Quarlo::Widget::Testing::ResetPickers();
  const std::string pics = PictureFolder(3);
  Start();
  Quarlo::Widget::Testing::QueuePickerReply({Quarlo::Widget::PickerOutcome::Accepted, pics + "/p02.png"});
  viewer->RunCommand(CommandId::Open);
  Settle();
  EXPECT_EQ(viewer->Current(), 1u);
  const auto& shown = Quarlo::Widget::Testing::ShownPickers();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].request.title, Text(11));
  ASSERT_EQ(shown[0].request.filters.size(), 2u);
  EXPECT_NE(shown[0].request.filters[0].pattern.find("*.png"), std::string::npos);
  EXPECT_TRUE(shown[0].request.filters[0].pattern.ends_with(";*.zip;*.cbz"));
  EXPECT_EQ(shown[0].request.filters[1].pattern, "*.*");
  EXPECT_FALSE(shown[0].ownerInputEnabled);

  // Cancelled: nothing changes.
  viewer->RunCommand(CommandId::OpenFolder);
  EXPECT_EQ(viewer->List().location, pics);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].request.initialFolder, pics);
  EXPECT_EQ(shown[1].request.title, Text(12));
}

TEST_F(ChromeTest, ADropOpensTheFirstPathOnly) {
  const std::string pics = PictureFolder(2);
  const std::string others = PictureFolder(2, "others");
  Start();
  ASSERT_TRUE(Quarlo::Widget::Testing::DropPaths(viewer->Window()->Handle(), {others, pics}));
  Application::Instance().DrainPosted();
  Settle();
  EXPECT_EQ(viewer->List().location, others);
  EXPECT_TRUE(Traced("drop " + others));
  EXPECT_FALSE(Traced("drop " + pics));
}

TEST_F(ChromeTest, AboutShowsNameVersionAndComponentsAndEscCloses) {
  Start();
  DialogAnswers answers(Vk::Escape);
  viewer->RunCommand(CommandId::About);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].title, Text(133));
  EXPECT_EQ(answers.shown[0].texts, (std::vector<std::string>{Text(0), "Version 0.1.0", Text(135), Text(136),
                                                              Text(137), Text(138), Text(64)}));
}

TEST_F(ChromeTest, ShortcutListNamesEveryCommandWithItsChordsAndScrollsByKeyboard) {
  Start();
  float scrolled = 0;
  DialogAnswers answers(Vk::Enter, [&scrolled](Quarlo::Widget::Window& dialog) {
    HeadlessWindow& native = HeadlessWindow::Of(dialog);
    dialog.UpdateLayout();
    KeyEvent tab;
    tab.key = Vk::Tab;
    for (int i = 0; i < 3 && !dynamic_cast<const Quarlo::Widget::ScrollViewer*>(dialog.Focused()); ++i) {
      native.KeyDown(tab);
    }
    KeyEvent down;
    down.key = Vk::PageDown;
    native.KeyDown(down);
    if (const auto* list = dynamic_cast<const Quarlo::Widget::ScrollViewer*>(dialog.Focused())) {
      scrolled = list->Offset().y;
    }
  });
  viewer->RunCommand(CommandId::ShortcutList);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].title, Text(123));
  const std::vector<std::string>& texts = answers.shown[0].texts;
  const auto after = [&texts](const std::string& text) {
    const auto at = std::find(texts.begin(), texts.end(), text);
    return at == texts.end() || at + 1 == texts.end() ? std::string("(missing)") : *(at + 1);
  };
  EXPECT_EQ(after(App::Label(CommandId::Next)), "Right, Page Down, Space");
  EXPECT_EQ(after(App::Label(CommandId::About)), Text(127));
  EXPECT_EQ(after(App::GroupName(App::CommandGroup::File)), App::Label(CommandId::Open));
  EXPECT_NE(std::find(texts.begin(), texts.end(), Text(128)), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), Text(132)), texts.end());
  EXPECT_EQ(texts.back(), Text(64));
  // Tab reached the list and Page Down scrolled it; Enter then closed the dialog with its default button.
  EXPECT_GT(scrolled, 0);
}

}  // namespace
