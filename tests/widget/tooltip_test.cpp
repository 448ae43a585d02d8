// Tooltips on headless windows: the host's timing (rest for the delay, stay within the widget, show at
// once soon after one hid, hide on press, key, wheel, leave and deactivation) and the presenter's popup.

#include "widget/input/tooltip.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/headless_window.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::AdvanceHeadlessClock;
using Testing::HeadlessWindow;

// A widget at a fixed place with an optional tooltip.
class Tip : public Widget {
 public:
  Tip(Rect slot, std::string tip) : slot(slot) { toolTip = std::move(tip); }
  Size MeasureOverride(Size) override { return {}; }
  void ArrangeOverride(Size) override {
    for (const auto& child : Children()) child->Arrange(static_cast<Tip*>(child.get())->slot);
  }
  bool OnPointerDown(const PointerEvent&) override { return true; }
  Rect slot;
};

struct Shown {
  std::string text;
  Point at;
};

class TooltipTimingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Options().size = Size{400, 300};
    auto root = std::make_unique<Tip>(Rect{0, 0, 400, 300}, "");
    first = root->AddChild(std::make_unique<Tip>(Rect{0, 0, 100, 50}, "First"));
    second = root->AddChild(std::make_unique<Tip>(Rect{100, 0, 100, 50}, "Second"));
    inner = first->AddChild(std::make_unique<Tip>(Rect{10, 10, 20, 20}, ""));
    window.SetRoot(std::move(root));
    ASSERT_TRUE(window.Create(window.Options()));
    window.Show(true);
    window.UpdateLayout();
    window.SetToolTipHandler([this](Widget* w, const std::string& text, Point at) {
      if (w) {
        shown.push_back(Shown{text, at});
      } else {
        ++hides;
      }
    });
  }
  HeadlessWindow& Native() { return HeadlessWindow::Of(window); }

  Window window;
  Tip* first = nullptr;
  Tip* second = nullptr;
  Tip* inner = nullptr;
  std::vector<Shown> shown;
  int hides = 0;
};

TEST_F(TooltipTimingTest, ShowsAfterThePointerRestsForTheDelay) {
  Native().Move(Point{20, 5});
  AdvanceHeadlessClock(0.3);
  Native().Move(Point{25, 5});  // moving before any tooltip shows starts the wait again
  AdvanceHeadlessClock(0.4);
  EXPECT_TRUE(shown.empty());
  AdvanceHeadlessClock(0.11);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "First");
  EXPECT_EQ(shown[0].at, (Point{25, 5}));
  EXPECT_TRUE(window.IsToolTipShown());
}

TEST_F(TooltipTimingTest, AWidgetWithoutTextShowsItsAncestorsTooltipAndMovesKeepIt) {
  Native().Move(Point{15, 15});  // over inner, which has no text of its own
  AdvanceHeadlessClock(0.6);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "First");
  Native().Move(Point{16, 16});
  AdvanceHeadlessClock(1);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(hides, 0);
}

TEST_F(TooltipTimingTest, TheNextWidgetSoonAfterShowsAtOnce) {
  Native().Move(Point{20, 5});
  AdvanceHeadlessClock(0.6);
  Native().Move(Point{120, 5});
  EXPECT_EQ(hides, 1);
  AdvanceHeadlessClock(0);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "Second");
  // Away from both, for longer than the reshow window: the full delay again.
  Native().Move(Point{300, 200});
  AdvanceHeadlessClock(1);
  Native().Move(Point{20, 5});
  AdvanceHeadlessClock(0.4);
  EXPECT_EQ(shown.size(), 2u);
  AdvanceHeadlessClock(0.2);
  EXPECT_EQ(shown.size(), 3u);
}

TEST_F(TooltipTimingTest, PressKeyWheelLeaveAndDeactivationHideAndCancel) {
  const std::vector<std::function<void()>> hiders = {
      [&] {
        Native().Press(Point{20, 5});
      },
      [&] {
        KeyEvent e;
        e.key = Vk::Down;
        Native().KeyDown(e);
      },
      [&] {
        Native().Scroll(WheelEvent{Point{20, 5}, 0, 1});
      },
      [&] { Native().Leave(); },
      [&] { Native().SetActive(false); },
  };
  for (size_t i = 0; i < hiders.size(); ++i) {
    Native().SetActive(true);
    Native().Release(Point{300, 200});
    Native().Move(Point{300, 200});
    AdvanceHeadlessClock(1);
    Native().Move(Point{20, 5});
    AdvanceHeadlessClock(0.6);
    ASSERT_TRUE(window.IsToolTipShown()) << "case " << i;
    hiders[i]();
    EXPECT_FALSE(window.IsToolTipShown()) << "case " << i;
    // A pending one is cancelled too.
    const size_t before = shown.size();
    Native().SetActive(true);
    Native().Move(Point{120, 5});
    hiders[i]();
    AdvanceHeadlessClock(1);
    EXPECT_EQ(shown.size(), before) << "case " << i;
  }
}

// --- The presenter ---

HeadlessWindow* TipWindow() {
  for (HeadlessWindow* w : Testing::LiveWindows()) {
    if (w->Owner().Options().title == "Tooltip") return w;
  }
  return nullptr;
}

TEST(TooltipPresenterTest, ShowsBelowThePointerAndHidesAfterItsTime) {
  Window window;
  window.Options().size = Size{400, 300};
  window.Options().hasPosition = true;
  window.Options().position = Point{100, 100};
  auto root = std::make_unique<Tip>(Rect{0, 0, 400, 300}, "");
  root->AddChild(std::make_unique<Tip>(Rect{0, 0, 100, 50}, "Open a picture"));
  window.SetRoot(std::move(root));
  ASSERT_TRUE(window.Create(window.Options()));
  window.Show(true);
  window.UpdateLayout();
  InstallTooltips(window, TooltipOptions{320, 4, 12, 20});
  HeadlessWindow& native = HeadlessWindow::Of(window);
  native.Move(Point{30, 10});
  Testing::AdvanceHeadlessClock(0.6);
  HeadlessWindow* tip = TipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->visible);
  EXPECT_EQ(tip->active, false);
  EXPECT_EQ(tip->bounds.x, 100 + 30 + 12);
  EXPECT_EQ(tip->bounds.y, 100 + 10 + 20);
  EXPECT_GT(tip->bounds.width, 20);
  EXPECT_LE(tip->bounds.width, 320);
  // It showed 0.5 s after the move; "Open a picture" is 14 characters, so it stays 4.7 s.
  Testing::AdvanceHeadlessClock(4.5);
  EXPECT_TRUE(tip->visible);
  Testing::AdvanceHeadlessClock(0.2);
  EXPECT_FALSE(tip->visible);
  EXPECT_FALSE(window.IsToolTipShown());
}

TEST(TooltipPresenterTest, TimeGrowsWithTheTextUpToThirtySeconds) {
  EXPECT_DOUBLE_EQ(TooltipSeconds(std::string(100, 'x'), 4), 9);
  EXPECT_DOUBLE_EQ(TooltipSeconds(std::string(1000, 'x'), 4), 30);
  EXPECT_DOUBLE_EQ(TooltipSeconds("", 4), 4);
  EXPECT_DOUBLE_EQ(TooltipSeconds("한글", 4), 4.1) << "characters, not bytes";
}

}  // namespace
}  // namespace Quarlo::Widget::Input
