// Border: padding in layout, pointer transparency without a background, and what it paints.

#include "widget/border.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "support/fake_host.h"
#include "support/recording_canvas.h"
#include "support/test_widgets.h"
#include "widget/theme.h"

namespace Quarlo::Widget {
namespace {

using Testing::FakeHost;
using Testing::MakeProbe;
using Testing::Probe;
using Testing::RecordingCanvas;

TEST(Border, PaddingSurroundsTheChildren) {
  Border border;
  border.SetPadding(1, 2, 3, 4);
  auto* child = static_cast<Probe*>(border.AddChild(MakeProbe({20, 10})));

  EXPECT_EQ(border.Measure({100, 50}), (Size{24, 16}));
  EXPECT_EQ(child->offered.back(), (Size{96, 44}));
  border.Arrange({0, 0, 100, 50});
  EXPECT_EQ(child->Bounds(), (Rect{1, 2, 96, 44}));

  // Padding larger than the space leaves the child nothing rather than a negative size.
  border.SetPadding(60, 30, 60, 30);
  border.Measure({100, 50});
  EXPECT_EQ(child->offered.back(), (Size{0, 0}));
  border.Arrange({0, 0, 100, 50});
  EXPECT_EQ(child->Bounds(), (Rect{60, 30, 0, 0}));
}

TEST(Border, TakesThePointerOnlyWithABackground) {
  Widget root;
  auto* border = static_cast<Border*>(root.AddChild(std::make_unique<Border>()));
  root.Measure({50, 50});
  root.Arrange({0, 0, 50, 50});
  EXPECT_EQ(root.HitTest({10, 10}), &root);
  border->SetBackground(BackgroundKind::Layer);
  EXPECT_EQ(root.HitTest({10, 10}), border);
}

struct PaintCase {
  const char* what;
  BackgroundKind background;
  BorderKind outline;
  float radius;
  float scale;
  const char* expectedFill;
  const char* expectedStroke;
  Color expectedFillColour;
  Color expectedStrokeColour;
  float expectedStrokeWidth;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const PaintCase& c, std::ostream* os) { *os << c.what; }

const Theme kTheme = Theme::Light(kDefaultAccent);
const Color kCustomFill{0.1f, 0.2f, 0.3f, 1};
const Color kCustomLine{0.4f, 0.5f, 0.6f, 1};

class BorderPaint : public testing::TestWithParam<PaintCase> {};

TEST_P(BorderPaint, FillAndOutline) {
  const PaintCase& c = GetParam();
  FakeHost host;
  host.SetClientSize({40, 30});
  auto* border = static_cast<Border*>(host.SetRoot(std::make_unique<Border>()));
  border->SetBackground(c.background, kCustomFill);
  border->SetBorder(c.outline, 0.25f, kCustomLine);
  border->SetCornerRadius(c.radius);

  RecordingCanvas canvas = host.Paint(c.scale);
  int drawn = 0;
  for (const auto& call : canvas.calls) {
    if (call.op == c.expectedFill) {
      EXPECT_EQ(call.rect, (Rect{0, 0, 40, 30})) << c.what;
      EXPECT_EQ(call.color, c.expectedFillColour) << c.what;
      ++drawn;
    } else if (call.op == c.expectedStroke) {
      EXPECT_EQ(call.rect, (Rect{0, 0, 40, 30})) << c.what;
      EXPECT_EQ(call.color, c.expectedStrokeColour) << c.what;
      EXPECT_FLOAT_EQ(call.value, c.expectedStrokeWidth) << c.what;
      ++drawn;
    }
  }
  EXPECT_EQ(drawn, (*c.expectedFill ? 1 : 0) + (*c.expectedStroke ? 1 : 0)) << c.what;
  EXPECT_EQ(canvas.calls.size(), 2u + static_cast<size_t>(drawn)) << c.what;  // plus the translation push/pop
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BorderPaint,
    testing::Values(
        PaintCase{"nothing to draw", BackgroundKind::None, BorderKind::None, 0, 1, "", "", {}, {}, 0},
        PaintCase{"theme window background, square",
                  BackgroundKind::Window,
                  BorderKind::None,
                  0,
                  1,
                  "FillRect",
                  "",
                  kTheme.Get(ThemeColor::WindowBackground),
                  {},
                  0},
        PaintCase{"popup background, rounded",
                  BackgroundKind::Popup,
                  BorderKind::None,
                  4,
                  1,
                  "FillRoundedRect",
                  "",
                  kTheme.Get(ThemeColor::PopupBackground),
                  {},
                  0},
        PaintCase{"custom colours, hairline at least one device pixel", BackgroundKind::Custom,
                  BorderKind::Custom, 0, 2, "FillRect", "StrokeRect", kCustomFill, kCustomLine, 0.5f},
        PaintCase{"unknown background kind draws black", static_cast<BackgroundKind>(9), BorderKind::Control,
                  3, 1, "FillRoundedRect", "StrokeRoundedRect", Color{0, 0, 0, 1},
                  kTheme.Get(ThemeColor::ControlBorder), 1},
        PaintCase{"subtle outline only",
                  BackgroundKind::None,
                  BorderKind::Subtle,
                  0,
                  1,
                  "",
                  "StrokeRect",
                  {},
                  kTheme.Get(ThemeColor::SubtleBorder),
                  1}));

}  // namespace
}  // namespace Quarlo::Widget
