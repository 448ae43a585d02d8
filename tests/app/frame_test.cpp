// The viewer's frame lays the picture area under or between the bars and every overlay between them; the
// bars paint the window colour slightly see-through under their outline.

#include "app/frame.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/bar.h"
#include "support/recording_canvas.h"
#include "support/test_widgets.h"
#include "widget/theme.h"

namespace {

using App::Frame;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;
using Quarlo::Widget::Widget;
using Quarlo::Widget::Testing::MakeProbe;

struct FrameParts {
  std::unique_ptr<Frame> frame = std::make_unique<Frame>();
  Widget* content = frame->SetContent(MakeProbe(Size{10, 10}));
  Widget* overlay = frame->AddChild(MakeProbe(Size{10, 10}));
  Widget* top = frame->SetTopBar(MakeProbe(Size{10, 10}));
  Widget* bottom = frame->SetBottomBar(MakeProbe(Size{10, 10}));

  void Layout(Size size) {
    frame->Measure(size);
    frame->Arrange(Rect{0, 0, size.width, size.height});
  }
};

TEST(Frame, ContentRunsUnderTheBarsUnlessTheyReserveTheirSpace) {
  struct Case {
    const char* what;
    bool reserve;
    bool topShown;
    bool bottomShown;
    Rect content;
    Rect overlay;
  };
  const Case cases[] = {
      {"overlaid", false, true, true, Rect{0, 0, 800, 600}, Rect{0, 48, 800, 504}},
      {"reserved", true, true, true, Rect{0, 48, 800, 504}, Rect{0, 48, 800, 504}},
      {"reserved, only the top bar", true, true, false, Rect{0, 48, 800, 552}, Rect{0, 48, 800, 552}},
      {"bars hidden", true, false, false, Rect{0, 0, 800, 600}, Rect{0, 0, 800, 600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FrameParts parts;
    parts.frame->SetBarsReserveSpace(c.reserve);
    parts.top->SetVisible(c.topShown);
    parts.bottom->SetVisible(c.bottomShown);
    parts.Layout(Size{800, 600});
    EXPECT_EQ(parts.content->Bounds(), c.content);
    EXPECT_EQ(parts.overlay->Bounds(), c.overlay);
    if (c.topShown) EXPECT_EQ(parts.top->Bounds(), (Rect{0, 0, 800, 48}));
    if (c.bottomShown) EXPECT_EQ(parts.bottom->Bounds(), (Rect{0, 552, 800, 48}));
  }
}

TEST(Frame, AWindowLowerThanTheBarsLeavesNoNegativeArea) {
  FrameParts parts;
  parts.Layout(Size{300, 60});
  EXPECT_EQ(parts.overlay->Bounds(), (Rect{0, 48, 300, 0}));
  EXPECT_EQ(parts.bottom->Bounds(), (Rect{0, 12, 300, 48}));
}

TEST(Frame, TakesTheWholeSizeAndFallsBackWhenUnbounded) {
  FrameParts parts;
  EXPECT_EQ(parts.frame->Measure(Size{640, 480}), (Size{640, 480}));
  EXPECT_EQ(parts.frame->Measure(Size{Quarlo::Widget::kUnbounded, Quarlo::Widget::kUnbounded}),
            (Size{800, 600}));
}

TEST(Bar, PaintsTheWindowColourSeeThroughUnderItsOutline) {
  App::Bar bar;
  bar.Measure(Size{200, 48});
  bar.Arrange(Rect{0, 0, 200, 48});
  Quarlo::Widget::Testing::RecordingCanvas canvas;
  bar.Paint(canvas);
  const auto fills = canvas.Calls("FillRect");
  ASSERT_EQ(fills.size(), 1u);
  Quarlo::Widget::Color expected = bar.GetTheme().Get(Quarlo::Widget::ThemeColor::WindowBackground);
  expected.a = App::kBarOpacity;
  EXPECT_EQ(fills[0].color, expected);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 200, 48}));
  const auto outlines = canvas.Calls("StrokeRect");
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].color, bar.GetTheme().Get(Quarlo::Widget::ThemeColor::SubtleBorder));
  EXPECT_TRUE(bar.IsHitTestVisible());
}

}  // namespace
