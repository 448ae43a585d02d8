// ScrollBar: thumb geometry, parts, dragging with the pointer captured, held page presses, keys and the
// wheel, auto-hide fading, widening under the pointer, and what it paints.

#include "widget/list/scroll_bar.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/fake_host.h"
#include "support/test_widgets.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::List {
namespace {

using Testing::FakeHost;
using Testing::MakeProbe;
using Testing::Probe;

constexpr float kLength = 200;

// A 12×200 window whose root holds a probe under a vertical bar of the same size.
struct Bar {
  FakeHost host;
  Probe* beneath;
  ScrollBar* bar;
  std::vector<double> scrolled;

  explicit Bar(double extent = 1000, double viewport = 200,
               ScrollOrientation orientation = ScrollOrientation::Vertical) {
    bool vertical = orientation == ScrollOrientation::Vertical;
    host.SetClientSize(vertical ? Size{ScrollBar::kThickness, kLength}
                                : Size{kLength, ScrollBar::kThickness});
    Widget* root = host.SetRoot(std::make_unique<Widget>());
    beneath = root->AddChild(MakeProbe({}));
    bar = root->AddChild(std::make_unique<ScrollBar>(orientation));
    bar->onScroll = [this](double value) { scrolled.push_back(value); };
    bar->SetRange(extent, viewport);
    Frame();
  }

  // One frame: time passes, animations tick, the tree is laid out and painted.
  Testing::RecordingCanvas Frame(double seconds = 0) {
    host.Advance(seconds);
    return host.Paint();
  }
  void Settle() {
    for (int i = 0; i < 40; ++i) Frame(0.016);
  }
};

PointerEvent Pointer(Point p, PointerButton button = PointerButton::Left) {
  PointerEvent e;
  e.position = p;
  e.button = button;
  e.clicks = 1;
  return e;
}

KeyEvent Key(uint32_t key) {
  KeyEvent e;
  e.key = key;
  return e;
}

struct ThumbCase {
  double extent;
  double viewport;
  double value;
  bool arrows;
  float start;
  float length;
};

TEST(ScrollBar, ThumbLengthAndPositionFollowTheRange) {
  const ThumbCase cases[] = {
      {1000, 200, 0, false, 0, 40},         {1000, 200, 400, false, 80, 40}, {1000, 200, 800, false, 160, 40},
      {1000, 200, 5000, false, 160, 40},     // the value is clamped to the range
      {100000, 200, 99800, false, 180, 20},  // never shorter than 20
      {1000, 200, 400, true, 82.4f, 35.2f},  // arrows take 12 at each end
  };
  for (const ThumbCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.extent << "/" << c.viewport << " at " << c.value);
    Bar b(c.extent, c.viewport);
    b.bar->showArrows = c.arrows;
    b.bar->SetValue(c.value);
    Rect thumb = b.bar->ThumbRect();
    EXPECT_NEAR(thumb.y, c.start, 1e-3);
    EXPECT_NEAR(thumb.height, c.length, 1e-3);
    // Thin: 2 wide, 2 from the right edge.
    EXPECT_EQ(thumb.x, 8);
    EXPECT_EQ(thumb.width, 2);
  }
}

TEST(ScrollBar, HorizontalBarLaysItsThumbAlongTheBottom) {
  Bar b(1000, 200, ScrollOrientation::Horizontal);
  b.bar->SetValue(400);
  EXPECT_EQ(b.bar->ThumbRect(), (Rect{80, 8, 40, 2}));
  EXPECT_EQ(b.bar->DesiredSize(), (Size{0, ScrollBar::kThickness}));
  SetToolkitLanguage(ToolkitLanguageId::English);
  EXPECT_EQ(b.bar->AccessibleName(), "Horizontal scroll bar");
  SetToolkitLanguage(std::nullopt);
}

TEST(ScrollBar, PartsAlongTheBar) {
  Bar b;
  b.bar->SetValue(400);  // thumb at 80..120
  EXPECT_EQ(b.bar->PartAt({6, 79}), ScrollBar::Part::PageBack);
  EXPECT_EQ(b.bar->PartAt({6, 80}), ScrollBar::Part::Thumb);
  EXPECT_EQ(b.bar->PartAt({6, 119}), ScrollBar::Part::Thumb);
  EXPECT_EQ(b.bar->PartAt({6, 120}), ScrollBar::Part::PageForward);
  EXPECT_EQ(b.bar->PartAt({6, 200}), ScrollBar::Part::None);  // outside
  b.bar->showArrows = true;
  EXPECT_EQ(b.bar->PartAt({6, 11}), ScrollBar::Part::LineBack);
  EXPECT_EQ(b.bar->PartAt({6, 188}), ScrollBar::Part::LineForward);
  EXPECT_EQ(b.bar->PartAt({6, 12}), ScrollBar::Part::PageBack);
}

TEST(ScrollBar, NothingToScrollDrawsNothingAndLetsThePointerThrough) {
  for (double viewport : {200.0, 300.0, 0.0}) {
    SCOPED_TRACE(viewport);
    Bar b(200, viewport);
    EXPECT_FALSE(b.bar->IsScrollable());
    EXPECT_EQ(b.bar->HitTest({6, 100}), nullptr);
    EXPECT_EQ(b.bar->PartAt({6, 100}), ScrollBar::Part::None);
    b.host.PointerMove(Pointer({6, 100}, PointerButton::None));
    EXPECT_EQ(b.host.Hovered(), b.beneath);
    EXPECT_FALSE(b.bar->OnWheel(WheelEvent{{}, 0, -1}));
    EXPECT_FALSE(b.bar->OnKeyDown(Key(Vk::End)));
    auto painted = b.Frame();
    EXPECT_TRUE(painted.Calls("FillRoundedRect").empty());
    EXPECT_TRUE(painted.Calls("StrokeRoundedRect").empty());
    EXPECT_EQ(b.bar->Range().supported, false);
  }
}

TEST(ScrollBar, DraggingTheThumbKeepsThePointerCaptured) {
  Bar b;
  b.host.PointerMove(Pointer({6, 10}, PointerButton::None));
  b.host.PointerDown(Pointer({6, 10}));  // 10 into the thumb at 0..40
  EXPECT_TRUE(b.bar->IsDragging());
  EXPECT_EQ(b.host.Captured(), b.bar);
  EXPECT_EQ(b.host.Focused(), b.bar);
  b.host.PointerMove(Pointer({6, 90}, PointerButton::None));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 400);  // thumb start 80 of 160
  // Far outside the bar the captured drag still arrives, clamped at the end.
  b.host.PointerMove(Pointer({300, 900}, PointerButton::None));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 800);
  b.host.PointerMove(Pointer({-50, -900}, PointerButton::None));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 0);
  EXPECT_EQ(b.scrolled, (std::vector<double>{400, 800, 0}));
  b.host.PointerUp(Pointer({-50, -900}));
  EXPECT_FALSE(b.bar->IsDragging());
  EXPECT_EQ(b.host.Captured(), nullptr);
  b.host.PointerMove(Pointer({6, 150}, PointerButton::None));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 0);
}

TEST(ScrollBar, LosingTheCaptureEndsTheDrag) {
  Bar b;
  b.host.PointerDown(Pointer({6, 10}));
  b.host.CaptureChanged();
  EXPECT_FALSE(b.bar->IsDragging());
  b.bar->OnPointerMove(Pointer({6, 150}, PointerButton::None));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 0);
}

TEST(ScrollBar, HoldingAPageAreaRepeatsUntilTheThumbReachesThePointer) {
  Bar b;
  b.host.PointerMove(Pointer({6, 190}, PointerButton::None));
  b.host.PointerDown(Pointer({6, 190}));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 200);  // once at once
  b.host.Advance(0.35);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 200);  // five silent ticks
  b.host.Advance(0.011);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 400);  // the sixth, at 0.36 s
  b.host.Advance(0.06);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 600);
  b.host.Advance(0.06);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 800);  // the thumb (160..200) now lies under the pointer
  b.host.Advance(0.5);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 800);
  b.host.PointerUp(Pointer({6, 190}));
  EXPECT_EQ(b.host.TimerCount(), 0u);  // the repeat timer is gone
}

TEST(ScrollBar, ReleasingStopsTheRepeat) {
  Bar b(10000, 200);
  b.bar->showArrows = true;
  b.host.PointerDown(Pointer({6, 195}));  // the forward arrow
  EXPECT_DOUBLE_EQ(b.bar->Value(), 16);
  b.host.Advance(0.36);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 32);
  b.host.PointerUp(Pointer({6, 195}));
  b.host.Advance(1);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 32);
}

struct KeyCase {
  uint32_t key;
  double from;
  double to;
};

TEST(ScrollBar, KeysAndTheWheelStepThroughTheRange) {
  const KeyCase cases[] = {
      {Vk::PageDown, 100, 300}, {Vk::PageUp, 300, 100},   {Vk::End, 0, 800}, {Vk::Home, 500, 0},
      {Vk::Down, 100, 116},     {Vk::Right, 100, 116},    {Vk::Up, 100, 84}, {Vk::Left, 100, 84},
      {Vk::PageUp, 50, 0},      {Vk::PageDown, 700, 800},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.from);
    Bar b;
    b.bar->SetValue(c.from);
    EXPECT_TRUE(b.bar->OnKeyDown(Key(c.key)));
    EXPECT_DOUBLE_EQ(b.bar->Value(), c.to);
  }
  Bar b;
  EXPECT_FALSE(b.bar->OnKeyDown(Key(Vk::Enter)));
  b.bar->largeStep = 50;
  b.bar->OnKeyDown(Key(Vk::PageDown));
  EXPECT_DOUBLE_EQ(b.bar->Value(), 50);
  EXPECT_TRUE(b.bar->OnWheel(WheelEvent{{}, 0, -1}));  // a notch towards the user: 3 small steps on
  EXPECT_DOUBLE_EQ(b.bar->Value(), 98);
  EXPECT_TRUE(b.bar->OnWheel(WheelEvent{{}, 1, 0}));  // a sideways notch moves back
  EXPECT_DOUBLE_EQ(b.bar->Value(), 50);
}

TEST(ScrollBar, SilentChangesNotifyNobody) {
  Bar b;
  b.bar->SetValueSilently(300);
  b.bar->SetRange(400, 200);
  EXPECT_DOUBLE_EQ(b.bar->Value(), 200);
  EXPECT_TRUE(b.scrolled.empty());
  b.bar->SetValue(200);  // unchanged
  EXPECT_TRUE(b.scrolled.empty());
  b.bar->SetRange(-5, -5);
  EXPECT_EQ(b.bar->Extent(), 0);
  EXPECT_EQ(b.bar->ViewportLength(), 0);
  EXPECT_EQ(b.bar->Value(), 0);
}

TEST(ScrollBar, AutoHideFadesInOnActivityAndOutAfterASecondOfRest) {
  Bar b;
  b.bar->SetAutoHide(true);
  EXPECT_EQ(b.bar->Visibility(), 0);
  EXPECT_TRUE(b.Frame().Calls("FillRoundedRect").empty());  // the thin thumb is invisible
  b.bar->SetValueSilently(100);
  b.Frame(0.04);
  EXPECT_GT(b.bar->Visibility(), 0);
  EXPECT_LT(b.bar->Visibility(), 1);
  b.Frame(0.05);
  EXPECT_EQ(b.bar->Visibility(), 1);  // 0.08 s to fade in
  EXPECT_EQ(b.Frame().Calls("FillRoundedRect").size(), 1u);
  b.Frame(0.85);
  EXPECT_EQ(b.bar->Visibility(), 1);
  b.Frame(0.2);  // past one second of rest: fading out over 0.35 s
  EXPECT_LT(b.bar->Visibility(), 1);
  b.Frame(0.4);
  EXPECT_EQ(b.bar->Visibility(), 0);
  EXPECT_EQ(b.host.TimerCount(), 0u);
}

TEST(ScrollBar, ThePointerOverTheBarKeepsItShownAndWide) {
  Bar b;
  b.bar->SetAutoHide(true);
  b.host.PointerMove(Pointer({6, 100}, PointerButton::None));
  EXPECT_EQ(b.host.Hovered(), b.bar);
  b.Settle();
  EXPECT_EQ(b.bar->Visibility(), 1);
  EXPECT_EQ(b.bar->Expansion(), 1);
  EXPECT_EQ(b.bar->ThumbRect().width, 6);  // 2 + 4 when expanded
  EXPECT_EQ(b.bar->ThumbRect().x, 4);
  b.Frame(3);
  EXPECT_EQ(b.bar->Visibility(), 1);  // resting under the pointer does not hide it
  b.host.PointerLeave();
  b.Settle();
  EXPECT_EQ(b.bar->Expansion(), 0);
  b.Frame(1.1);
  b.Settle();
  EXPECT_EQ(b.bar->Visibility(), 0);
}

TEST(ScrollBar, WidensOverTwelveHundredthsOfASecond) {
  Bar b;
  b.bar->OnPointerEnter();
  b.Frame(0.06);
  EXPECT_GT(b.bar->Expansion(), 0);
  EXPECT_LT(b.bar->Expansion(), 1);
  b.Frame(0.07);
  EXPECT_EQ(b.bar->Expansion(), 1);
}

TEST(ScrollBar, PaintsTrackWhenExpandedAndThumbWithItsEmphasis) {
  Bar b;
  b.bar->showArrows = true;
  const Theme& theme = b.host.GetTheme();
  auto thin = b.Frame();
  ASSERT_EQ(thin.Calls("FillRoundedRect").size(), 1u);  // thumb only
  EXPECT_NEAR(thin.Calls("FillRoundedRect")[0].color.a, theme.Get(ThemeColor::TextSecondary).a * 0.55f, 1e-4);
  EXPECT_TRUE(thin.Calls("DrawIcon").empty());

  b.host.PointerMove(Pointer({6, 20}, PointerButton::None));  // over the thumb
  b.Settle();
  auto wide = b.Frame();
  auto fills = wide.Calls("FillRoundedRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (Rect{1, 1, 10, 198}));
  EXPECT_EQ(fills[0].radius, theme.cornerRadius);
  EXPECT_NEAR(fills[0].color.a, theme.Get(ThemeColor::PopupBackground).a * 0.92f, 1e-4);
  EXPECT_EQ(wide.Calls("StrokeRoundedRect").size(), 1u);
  auto icons = wide.Calls("DrawIcon");
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].codePoint, 0xE70Eu);
  EXPECT_EQ(icons[1].codePoint, 0xE70Du);
  EXPECT_EQ(icons[1].rect, (Rect{0, 188, 12, 12}));
  EXPECT_NEAR(fills[1].color.a, theme.Get(ThemeColor::TextSecondary).a * 0.9f, 1e-4);  // hovered thumb
  EXPECT_EQ(fills[1].radius, 3);

  b.host.PointerDown(Pointer({6, 20}));
  auto dragged = b.Frame().Calls("FillRoundedRect");
  EXPECT_NEAR(dragged.back().color.a, theme.Get(ThemeColor::TextSecondary).a, 1e-4);
}

TEST(ScrollBar, StrokesTheTrackOneDevicePixelWide) {
  Bar b;
  b.bar->OnPointerEnter();
  b.Settle();
  b.host.UpdateLayout();
  Testing::RecordingCanvas canvas(2);
  b.host.RenderTree(canvas);
  ASSERT_EQ(canvas.Calls("StrokeRoundedRect").size(), 1u);
  EXPECT_EQ(canvas.Calls("StrokeRoundedRect")[0].value, 0.5f);
}

TEST(ScrollBar, ReportsItselfToAccessibility) {
  Bar b;
  b.bar->SetValue(300);
  SetToolkitLanguage(ToolkitLanguageId::English);
  EXPECT_EQ(b.bar->AccessibleName(), "Vertical scroll bar");
  SetToolkitLanguage(std::nullopt);
  b.bar->SetAccessibleName("Pages");
  EXPECT_EQ(b.bar->AccessibleName(), "Pages");
  EXPECT_EQ(b.bar->Role(), Role::ScrollBar);
  EXPECT_STREQ(b.bar->ClassName(), "ScrollBar");
  EXPECT_TRUE(b.bar->IsFocusable());
  EXPECT_FALSE(b.bar->IsTabStop());
  RangeInfo range = b.bar->Range();
  EXPECT_TRUE(range.supported);
  EXPECT_EQ(range.minimum, 0);
  EXPECT_EQ(range.maximum, 800);
  EXPECT_EQ(range.value, 300);
  EXPECT_EQ(range.smallChange, 0);
}

}  // namespace
}  // namespace Quarlo::Widget::List
