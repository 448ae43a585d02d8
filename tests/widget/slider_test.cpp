// Slider: snapping and clamping, keys, wheel, dragging under capture (from the thumb and from the track),
// both orientations, accessibility and the disabled state.

#include "widget/input/slider.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/fake_host.h"
#include "support/input_events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::FakeHost;
using Testing::Key;
using Testing::Pointer;

// A slider filling a window of 220 × 32 (horizontal) or 32 × 220 (vertical): 200 DIPs of thumb travel.
struct Hosted {
  FakeHost host;
  Slider* slider;
  std::vector<double> told;

  explicit Hosted(ControlOrientation orientation = ControlOrientation::Horizontal) {
    host.SetClientSize(orientation == ControlOrientation::Horizontal ? Size{220, 32} : Size{32, 220});
    slider = host.SetRoot(std::make_unique<Slider>(orientation));
    slider->onValueChanged = [this](double v) { told.push_back(v); };
    host.Paint();
  }
};

TEST(Slider, ValuesAreClampedAndSnappedToTheSmallStep) {
  struct Case {
    double smallChange;
    double set;
    double expected;
  };
  const Case cases[] = {
      {2, 3.1, 4}, {2, 2.9, 2}, {2, 3, 4},     {2, -5, 0},  {2, 11, 10},
      {3, 9.8, 9}, {3, 10, 9},  {0, 3.1, 3.1}, {0, 12, 10}, {0, -1, 0},
  };
  for (const Case& c : cases) {
    Slider slider;
    slider.SetRange(0, 10);
    slider.smallChange = c.smallChange;
    slider.SetValue(c.set);
    EXPECT_DOUBLE_EQ(slider.Value(), c.expected) << c.smallChange << " " << c.set;
  }
  Slider slider;
  slider.SetValue(std::nan(""));
  EXPECT_EQ(slider.Value(), 0) << "NaN stands for the minimum";
}

TEST(Slider, SetValueReportsOnlyChanges) {
  Hosted h;
  h.slider->SetValue(40);
  h.slider->SetValue(40);
  h.slider->SetValue(400);
  EXPECT_EQ(h.told, (std::vector<double>{40, 100}));
  EXPECT_EQ(h.host.CountEvents(AutomationEvent::RangeValueChanged, h.slider), 2);
}

TEST(Slider, SetRangeKeepsTheValueInsideAndOnAStep) {
  Hosted h;
  h.slider->SetValue(70);
  h.slider->SetRange(0, 50);
  EXPECT_EQ(h.slider->Value(), 50);
  h.slider->SetRange(10, 5);
  EXPECT_EQ(h.slider->Maximum(), 10) << "a maximum below the minimum is the minimum";
  EXPECT_EQ(h.slider->Value(), 10);
  h.slider->SetRange(0, 100);
  EXPECT_EQ(h.told, (std::vector<double>{70, 50, 10}));
  EXPECT_EQ(h.host.CountEvents(AutomationEvent::RangeValueChanged, h.slider), 4)
      << "the last range change too";
}

TEST(Slider, KeysStepByTheEffectiveChanges) {
  struct Case {
    uint32_t key;
    double expected;  // from 50 in 0..100 without set steps
  };
  const Case cases[] = {
      {Vk::PageUp, 60}, {Vk::PageDown, 40}, {Vk::End, 100}, {Vk::Home, 0},
      {Vk::Up, 51},     {Vk::Right, 51},    {Vk::Left, 49}, {Vk::Down, 49},
  };
  for (const Case& c : cases) {
    Hosted h;
    h.slider->SetValue(50);
    EXPECT_TRUE(h.host.KeyDown(Key(c.key))) << c.key;  // the slider is the only focusable widget
    EXPECT_DOUBLE_EQ(h.slider->Value(), c.expected) << c.key;
  }
  Hosted h;
  h.slider->SetValue(50);
  EXPECT_FALSE(h.slider->OnKeyDown(Key(Vk::Up, Modifier::Shift)));
  EXPECT_FALSE(h.slider->OnKeyDown(Key(Vk::Tab)));
  h.slider->smallChange = 5;
  h.slider->largeChange = 25;
  h.slider->OnKeyDown(Key(Vk::PageUp));
  h.slider->OnKeyDown(Key(Vk::Right));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 80);
}

TEST(Slider, DefaultStepsAreAHundredthAndATenthOfTheRange) {
  Hosted h;
  h.slider->SetRange(0, 10);
  h.slider->OnKeyDown(Key(Vk::PageUp));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 1);
  h.host.Wheel(Testing::Notches({100, 16}, 1));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 1.1) << "no snapping without a small step";
  h.host.Wheel(Testing::Notches({100, 16}, -2));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 0.9);
  WheelEvent sideways = Testing::Notches({100, 16}, 0);
  sideways.deltaX = 1;
  EXPECT_FALSE(h.slider->OnWheel(sideways));
}

TEST(Slider, PressOnTheTrackJumpsAndDragFollowsUnderCapture) {
  Hosted h;
  h.host.PointerDown(Pointer({110, 16}));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 50) << "the thumb centre goes to the pointer";
  EXPECT_TRUE(h.slider->IsDragging());
  EXPECT_EQ(h.host.Captured(), h.slider);
  // Outside the slider the drag goes on and clamps.
  h.host.PointerMove(Pointer({500, 300}, PointerButton::None));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 100);
  h.host.PointerMove(Pointer({60, 16}, PointerButton::None));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 25);
  h.host.PointerUp(Pointer({60, 16}));
  EXPECT_FALSE(h.slider->IsDragging());
  h.host.PointerMove(Pointer({200, 16}, PointerButton::None));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 25) << "moves after the release do not drag";
}

TEST(Slider, PressOnTheThumbKeepsWhereItWasGrabbed) {
  Hosted h;
  h.slider->SetValue(50);  // thumb centre at x 110
  h.host.PointerDown(Pointer({116, 16}));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 50) << "grabbing off-centre does not move it";
  h.host.PointerMove(Pointer({136, 16}, PointerButton::None));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 60);
}

TEST(Slider, LosingCaptureEndsTheDrag) {
  Hosted h;
  h.host.PointerDown(Pointer({110, 16}));
  h.host.CaptureChanged();
  EXPECT_FALSE(h.slider->IsDragging());
  EXPECT_FALSE(h.slider->OnPointerMove(Pointer({200, 16}, PointerButton::None)));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 50);
}

TEST(Slider, VerticalSliderRunsFromTheBottomUp) {
  Hosted h(ControlOrientation::Vertical);
  EXPECT_EQ(h.slider->ThumbCentre(), (Point{16, 210}));
  h.host.PointerDown(Pointer({16, 60}));
  EXPECT_DOUBLE_EQ(h.slider->Value(), 75);
  EXPECT_EQ(h.slider->ThumbCentre(), (Point{16, 60}));
  EXPECT_EQ(h.slider->Orientation(), 2);
  EXPECT_EQ(Slider().Orientation(), 1);
  EXPECT_EQ(h.slider->Measure({kUnbounded, kUnbounded}), (Size{32, 160}));
  EXPECT_EQ(Slider().Measure({kUnbounded, kUnbounded}), (Size{160, 32}));
}

TEST(Slider, EmptyRangeOrNoRoomMapsEveryPointToTheMinimum) {
  Hosted h;
  h.slider->SetRange(5, 5);
  h.host.PointerDown(Pointer({200, 16}));
  EXPECT_EQ(h.slider->Value(), 5);
  EXPECT_EQ(h.slider->ThumbCentre(), (Point{10, 16}));
  h.host.PointerUp(Pointer({200, 16}));
  h.slider->SetRange(0, 100);
  h.host.SetClientSize({15, 32});
  h.host.Paint();
  EXPECT_EQ(h.slider->ValueAt({14, 16}), 0);
}

TEST(Slider, DisabledSliderRefusesAccessibilityAndWheel) {
  Hosted h;
  EXPECT_TRUE(h.slider->SetRangeValue(30));
  EXPECT_EQ(h.slider->Value(), 30);
  h.slider->SetEnabled(false);
  EXPECT_FALSE(h.slider->SetRangeValue(60));
  EXPECT_FALSE(h.slider->OnWheel(Testing::Notches({100, 16}, 1)));
  h.host.PointerDown(Pointer({200, 16}));
  EXPECT_EQ(h.slider->Value(), 30);
}

TEST(Slider, AccessibilityReportsTheRangeAndValue) {
  Slider slider;
  slider.SetRange(0, 2);
  slider.SetValue(1.0 / 3);
  const RangeInfo range = slider.Range();
  EXPECT_TRUE(range.supported);
  EXPECT_EQ(range.maximum, 2);
  EXPECT_DOUBLE_EQ(range.smallChange, 0.02);
  EXPECT_DOUBLE_EQ(range.largeChange, 0.2);
  EXPECT_FALSE(range.readOnly);
  EXPECT_EQ(slider.ValueText(), "0.333333");
  EXPECT_EQ(slider.Role(), Role::Slider);
}

TEST(Slider, PaintFillsUpToTheThumbAndShowsItsState) {
  Hosted h;
  const Theme& theme = h.host.GetTheme();
  h.slider->SetValue(25);  // thumb centre at x 60
  auto fills = h.host.Paint().Calls("FillRoundedRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (Rect{8, 14, 204, 4}));
  EXPECT_EQ(fills[0].color, theme.Get(ThemeColor::FaintOverlay));
  EXPECT_EQ(fills[1].rect, (Rect{8, 14, 52, 4}));
  EXPECT_EQ(fills[1].color, theme.Get(ThemeColor::Accent));
  auto dot = [&] { return h.host.Paint().Calls("FillEllipse").back(); };
  EXPECT_EQ(dot().rect.width, 12) << "radius 6 at rest";
  EXPECT_EQ(dot().color, theme.Get(ThemeColor::Accent));
  h.host.PointerMove(Pointer({60, 16}, PointerButton::None));
  h.host.Advance(1);
  EXPECT_EQ(dot().rect.width, 14) << "radius 7 hovered";
  EXPECT_EQ(dot().color, theme.Get(ThemeColor::AccentHover));
  h.host.PointerDown(Pointer({60, 16}));
  h.host.Advance(1);
  EXPECT_EQ(dot().rect.width, 10) << "radius 5 pressed";
  EXPECT_EQ(dot().color, theme.Get(ThemeColor::AccentPressed));
  h.host.PointerUp(Pointer({60, 16}));
  h.slider->SetEnabled(false);
  EXPECT_EQ(dot().color, theme.Get(ThemeColor::AccentDisabled));
}

TEST(Slider, FocusVisualSurroundsTheThumbForKeyboardFocusOnly) {
  Hosted h;
  h.slider->Focus(FocusReason::Pointer);
  EXPECT_TRUE(h.host.Paint().Calls("StrokeRoundedRect").empty());
  h.slider->Focus(FocusReason::Keyboard);
  h.slider->Focus(FocusReason::Pointer);
  h.host.KeyDown(Key(Vk::Tab));
  const auto rings = h.host.Paint().Calls("StrokeRoundedRect");
  ASSERT_EQ(rings.size(), 2u);
  EXPECT_EQ(rings[0].rect, (Rect{-3, 3, 26, 26}));
  EXPECT_EQ(rings[1].rect, (Rect{-1, 5, 22, 22}));
}

}  // namespace
}  // namespace Quarlo::Widget::Input
