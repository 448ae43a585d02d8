// ScrollViewer: extent and offsets, the wheel, accessibility scrolling, focus-driven scrolling, the
// overlay indicators and dragging them.

#include "widget/scroll_viewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/fake_host.h"
#include "support/test_widgets.h"
#include "widget/input/events.h"
#include "widget/stack.h"
#include "widget/theme.h"

namespace Quarlo::Widget {
namespace {

using Testing::FakeHost;
using Testing::MakeProbe;
using Testing::Probe;

constexpr int kRows = 10;
constexpr float kRowHeight = 40;

// A 100×100 viewer over a vertical stack of ten focusable 60×40 rows (400 DIPs of content), each at
// the stack's left edge.
struct Scrolled {
  FakeHost host;
  ScrollViewer* viewer;
  std::vector<Probe*> rows;
  int scrollChanges = 0;

  Scrolled() {
    host.SetClientSize({100, 100});
    viewer = static_cast<ScrollViewer*>(host.SetRoot(std::make_unique<ScrollViewer>()));
    viewer->onScrollChanged = [this] { ++scrollChanges; };
    auto* stack = static_cast<Stack*>(viewer->AddChild(std::make_unique<Stack>(true, 0)));
    for (int i = 0; i < kRows; ++i) {
      auto* row = static_cast<Probe*>(stack->AddChild(MakeProbe({60, kRowHeight})));
      row->focusable = true;
      row->SetHorizontalAlignment(Alignment::Start);
      rows.push_back(row);
    }
    host.Paint();
  }

  Stack* Content() const { return static_cast<Stack*>(viewer->Children()[0].get()); }
};

WheelEvent Wheel(float deltaX, float deltaY, uint8_t modifiers = 0) {
  WheelEvent e;
  e.deltaX = deltaX;
  e.deltaY = deltaY;
  e.modifiers = modifiers;
  return e;
}

PointerEvent Pointer(Point p, PointerButton button = PointerButton::None) {
  PointerEvent e;
  e.position = p;
  e.button = button;
  e.clicks = button == PointerButton::None ? 0 : 1;
  return e;
}

TEST(ScrollViewer, MeasuresContentUnboundedAlongScrollingAxes) {
  Scrolled s;
  EXPECT_EQ(s.viewer->Extent(), (Size{60, 400}));
  EXPECT_EQ(s.viewer->Viewport(), (Size{100, 100}));
  EXPECT_EQ(s.rows[0]->offered.back(), (Size{100, kUnbounded}));
  EXPECT_EQ(s.Content()->Bounds(), (Rect{0, 0, 100, 400}));
  EXPECT_TRUE(s.viewer->CanScrollVertically());
  EXPECT_FALSE(s.viewer->CanScrollHorizontally());
  EXPECT_TRUE(s.viewer->IsAccessibilityElement());
  // Desired size never exceeds what was available.
  EXPECT_EQ(s.viewer->DesiredSize(), (Size{60, 100}));
}

TEST(ScrollViewer, ScrollToClampsMovesTheContentAndNotifies) {
  Scrolled s;
  s.viewer->ScrollTo(30, 150);
  EXPECT_EQ(s.viewer->Offset(), (Point{0, 150}));  // the horizontal axis is disabled
  EXPECT_EQ(s.Content()->Position(), (Point{0, -150}));
  EXPECT_EQ(s.scrollChanges, 1);
  EXPECT_EQ(s.host.CountEvents(AutomationEvent::ScrollChanged, s.viewer), 1);

  s.viewer->ScrollTo(0, 999);
  EXPECT_EQ(s.viewer->Offset(), (Point{0, 300}));
  s.viewer->ScrollTo(0, 300);
  EXPECT_EQ(s.scrollChanges, 2);

  // The offset survives later layout passes, and content that shrinks pulls it back into range.
  s.host.Paint();
  EXPECT_EQ(s.Content()->Position(), (Point{0, -300}));
  for (int i = 5; i < kRows; ++i) {
    s.rows[i]->SetVisible(false);
  }
  s.host.Paint();
  EXPECT_EQ(s.viewer->Offset(), (Point{0, 100}));
  EXPECT_EQ(s.Content()->Position(), (Point{0, -100}));
}

TEST(ScrollViewer, HitTestingFollowsTheOffsetAndStopsAtTheViewport) {
  Scrolled s;
  s.viewer->ScrollTo(0, 150);
  s.host.Paint();
  EXPECT_EQ(s.viewer->HitTest({10, 15}), s.rows[4]);  // content y 165
  EXPECT_EQ(s.viewer->HitTest({10, 100}), nullptr);   // row 6 lies there, but outside the viewport
  EXPECT_EQ(s.viewer->HitTest({80, 15}), nullptr);    // beside the rows: the viewer itself is inert
}

TEST(ScrollViewer, ContentThatFitsIsInert) {
  FakeHost host;
  auto* viewer = static_cast<ScrollViewer*>(host.SetRoot(std::make_unique<ScrollViewer>()));
  viewer->AddChild(MakeProbe({50, 50}));
  host.Paint();
  EXPECT_FALSE(viewer->OnWheel(Wheel(0, -1)));
  EXPECT_FALSE(viewer->IsAccessibilityElement());
  ScrollInfo info = viewer->Scroll();
  EXPECT_TRUE(info.supported);
  EXPECT_EQ(info.verticalPercent, -1);
  EXPECT_EQ(info.verticalViewSize, 100);
  EXPECT_TRUE(host.Paint().Calls("FillRoundedRect").empty());

  ScrollViewer empty;
  EXPECT_EQ(empty.Measure({100, 100}), (Size{0, 0}));
}

TEST(ScrollViewer, WheelScrollsByStepsAndShiftTurnsItSideways) {
  Scrolled s;
  EXPECT_TRUE(s.viewer->OnWheel(Wheel(0, -1)));
  EXPECT_EQ(s.viewer->Offset().y, 48);
  EXPECT_TRUE(s.viewer->OnWheel(Wheel(0, 0.5f)));
  EXPECT_EQ(s.viewer->Offset().y, 24);
  EXPECT_TRUE(s.viewer->OnWheel(Wheel(0, 1)));
  EXPECT_EQ(s.viewer->Offset().y, 0);
  EXPECT_FALSE(s.viewer->OnWheel(Wheel(0, 1)));  // already at the top

  s.viewer->horizontalMode = ScrollMode::Enabled;
  s.rows[0]->SetWidth(250);
  s.host.Paint();
  ASSERT_TRUE(s.viewer->CanScrollHorizontally());
  EXPECT_TRUE(s.viewer->OnWheel(Wheel(0, -1, Modifier::Shift)));
  EXPECT_EQ(s.viewer->Offset(), (Point{48, 0}));
  EXPECT_TRUE(s.viewer->OnWheel(Wheel(1, 0)));
  EXPECT_EQ(s.viewer->Offset(), (Point{96, 0}));
}

TEST(ScrollViewer, AccessibilityScrolling) {
  Scrolled s;
  struct Step {
    ScrollAmount amount;
    float expected;
  };
  const Step steps[] = {{ScrollAmount::SmallIncrement, 48}, {ScrollAmount::LargeIncrement, 148},
                        {ScrollAmount::NoAmount, 148},      {ScrollAmount::SmallDecrement, 100},
                        {ScrollAmount::LargeDecrement, 0},  {ScrollAmount::SmallIncrement, 48},
                        {static_cast<ScrollAmount>(9), 48}};  // a number outside the amounts: no move
  for (const Step& step : steps) {
    // The horizontal axis cannot scroll: its amount is ignored.
    EXPECT_TRUE(s.viewer->ScrollBy(ScrollAmount::SmallIncrement, step.amount));
    EXPECT_EQ(s.viewer->Offset(), (Point{0, step.expected})) << static_cast<int>(step.amount);
  }
  EXPECT_TRUE(s.viewer->ScrollBy(ScrollAmount::NoAmount, ScrollAmount::LargeDecrement));
  EXPECT_EQ(s.viewer->Offset(), (Point{0, 0}));

  EXPECT_TRUE(s.viewer->SetScrollPercent(50, 25));
  EXPECT_EQ(s.viewer->Offset(), (Point{0, 75}));
  EXPECT_TRUE(s.viewer->SetScrollPercent(-1, -1));
  EXPECT_EQ(s.viewer->Offset(), (Point{0, 75}));

  ScrollInfo info = s.viewer->Scroll();
  EXPECT_DOUBLE_EQ(info.verticalPercent, 25);
  EXPECT_DOUBLE_EQ(info.verticalViewSize, 25);
  EXPECT_EQ(info.horizontalPercent, -1);
}

TEST(ScrollViewer, FocusBringsADescendantIntoView) {
  Scrolled s;
  ASSERT_TRUE(s.rows[3]->Focus(FocusReason::Keyboard));  // rows 3 spans 120..160: overflow 60
  EXPECT_EQ(s.viewer->Offset().y, 60);
  ASSERT_TRUE(s.rows[2]->Focus(FocusReason::Keyboard));  // fully visible at 80..120: stays
  EXPECT_EQ(s.viewer->Offset().y, 60);
  ASSERT_TRUE(s.rows[0]->Focus(FocusReason::Keyboard));  // above the viewport: scroll back to it
  EXPECT_EQ(s.viewer->Offset().y, 0);

  // A descendant taller than the viewport has its near edge brought to the viewport's.
  s.rows[5]->SetHeight(150);
  s.host.Paint();
  ASSERT_TRUE(s.rows[5]->Focus(FocusReason::Keyboard));
  EXPECT_EQ(s.viewer->Offset().y, 200);
}

TEST(ScrollViewer, IndicatorIsThinUntilThePointerComesNear) {
  Scrolled s;
  s.viewer->ScrollTo(0, 100);
  // Length 100² / 400 = 25; top (100 - 25) × 100 / 300 = 25.
  EXPECT_EQ(s.viewer->VerticalIndicator(), (Rect{96, 25, 2, 25}));
  EXPECT_EQ(s.viewer->HorizontalIndicator(), (Rect{}));

  s.viewer->OnPointerMove(Pointer({89, 50}));
  EXPECT_EQ(s.viewer->VerticalIndicator(), (Rect{92, 25, 6, 25}));
  auto fills = s.host.Paint().Calls("FillRoundedRect");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].windowRect, (Rect{92, 25, 6, 25}));
  EXPECT_EQ(fills[0].radius, 3);
  Color secondary = s.viewer->GetTheme().Get(ThemeColor::TextSecondary);
  EXPECT_FLOAT_EQ(fills[0].color.a, secondary.a * 0.7f);

  s.viewer->OnPointerLeave();
  EXPECT_EQ(s.viewer->VerticalIndicator().width, 2);

  s.viewer->verticalMode = ScrollMode::Hidden;
  EXPECT_EQ(s.viewer->VerticalIndicator(), (Rect{}));
  EXPECT_TRUE(s.viewer->OnWheel(Wheel(0, 1)));  // hidden still scrolls
}

TEST(ScrollViewer, DraggingTheIndicatorScrollsProportionally) {
  Scrolled s;
  // The indicator spans 0..25 of the 100 DIP track; its grab area is the last 12 DIPs of the viewer.
  EXPECT_EQ(s.viewer->HitTest({95, 10}), s.viewer);
  EXPECT_FALSE(s.viewer->OnPointerDown(Pointer({95, 10}, PointerButton::Right)));
  ASSERT_TRUE(s.viewer->OnPointerDown(Pointer({95, 10}, PointerButton::Left)));

  // Moving the grabbed point by 25 of the 75 DIPs of travel scrolls a third of the 300 DIP range.
  EXPECT_TRUE(s.viewer->OnPointerMove(Pointer({95, 35})));
  EXPECT_FLOAT_EQ(s.viewer->Offset().y, 100);
  EXPECT_EQ(s.viewer->HitTest({10, 10}), s.viewer);  // a running drag keeps the pointer
  EXPECT_TRUE(s.viewer->OnPointerUp(Pointer({95, 35}, PointerButton::Left)));
  EXPECT_FALSE(s.viewer->OnPointerUp(Pointer({95, 35}, PointerButton::Left)));
  EXPECT_NE(s.viewer->HitTest({10, 10}), s.viewer);

  ASSERT_TRUE(s.viewer->OnPointerDown(Pointer({95, 40}, PointerButton::Left)));
  s.viewer->OnCaptureLost();
  EXPECT_NE(s.viewer->HitTest({10, 10}), s.viewer);
}

TEST(ScrollViewer, ClipsItsContent) {
  Scrolled s;
  auto clips = s.host.Paint().Calls("PushClip");
  ASSERT_FALSE(clips.empty());
  EXPECT_EQ(clips[0].windowRect, (Rect{0, 0, 100, 100}));
  EXPECT_FALSE(s.viewer->IsTabStop());
  EXPECT_STREQ(s.viewer->ClassName(), "ScrollViewer");
}

}  // namespace
}  // namespace Quarlo::Widget
