// The webtoon strip on a headless host: layout from known and assumed ratios, the width modes and
// zoom limits, scrolling and its anchor, the visible and wanted ranges, and painting only what is in
// the window.

#include "views/webtoon_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "support/fake_host.h"
#include "support/hosted_view.h"
#include "support/made_pictures.h"

namespace App {
namespace {

using Quarlo::Test::MakePicture;
using Quarlo::Test::PictureSpec;
using Quarlo::Widget::Color;
using Quarlo::Widget::CursorKind;
using Quarlo::Widget::Point;
using Quarlo::Widget::PointerButton;
using Quarlo::Widget::PointerEvent;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;
using Quarlo::Widget::Testing::CanvasCall;
using Quarlo::Widget::Testing::FakeHost;
using Quarlo::Widget::Testing::HostedView;
using Quarlo::Widget::Testing::RecordingCanvas;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

PicturePtr Picture(int32_t width, int32_t height, bool transparent = false) {
  PictureSpec made;
  made.width = width;
  made.height = height;
  made.transparent = transparent;
  return MakePicture(made);
}

PointerEvent Press(Point at, PointerButton button = PointerButton::Left) {
  return PointerEvent{at, button, 0, 1};
}

class WebtoonViewTest : public testing::Test {
 protected:
  WebtoonViewTest() {
    view->SetOnChanged([this] { ++changes; });
  }

  void Resize(Size size) { hosted.Resize(size); }

  // A list of count pictures whose ratios are unknown and which are not decoded.
  void Open(size_t count) {
    pictures.assign(count, nullptr);
    ratios.assign(count, 0);
    view->SetSources([this] { return pictures.size(); },
                     [this](size_t index) {
                       asked.insert(index);
                       return pictures.at(index);
                     },
                     [this](size_t index) { return ratios.at(index); });
  }

  // Decodes a picture: the cache now knows it and its ratio.
  void Decode(size_t index, PicturePtr picture) {
    ratios[index] = double(picture->height) / picture->width;
    pictures[index] = std::move(picture);
  }

  HostedView<WebtoonView> hosted{Size{1200, 900}};
  FakeHost& host = hosted.host;
  WebtoonView* view = hosted.view;
  std::vector<PicturePtr> pictures;
  std::vector<double> ratios;
  std::set<size_t> asked;
  int changes = 0;
};

TEST(StripLayoutTest, UnknownPicturesAreAssumedOnePointFourTallWithTheGapBetween) {
  const StripLayout layout = LayOutStrip(3, {}, 10);
  EXPECT_EQ(layout.tops, (std::vector<double>{0, 1410, 2820}));
  EXPECT_EQ(layout.heights, (std::vector<double>{1400, 1400, 1400}));
  EXPECT_EQ(layout.totalHeight, 4220);
  EXPECT_EQ(LayOutStrip(0, {}, 10).totalHeight, 0);
}

TEST(StripLayoutTest, RatiosThatAreNotPositiveAndFiniteFallBack) {
  const std::vector<double> ratios = {2048.0 / 1440, 0, -1, kInf, kNaN, 1e-9};
  const StripLayout layout = LayOutStrip(
      ratios.size(), [&](size_t i) { return ratios[i]; }, 0);
  const double expected[] = {2048.0 / 1440 * 1000, 1400, 1400, 1400, 1400, 1};
  for (size_t i = 0; i < ratios.size(); ++i) EXPECT_DOUBLE_EQ(layout.heights[i], expected[i]) << i;
  EXPECT_EQ(LayOutStrip(2, {}, -5).totalHeight, 2800) << "a negative gap counts as none";
}

TEST(StripLayoutTest, IndexAtIsTheLastPictureStartingAtOrAboveAPoint) {
  const StripLayout layout = LayOutStrip(3, {}, 10);
  const std::pair<double, size_t> cases[] = {{-5, 0}, {0, 0}, {1405, 0}, {1410, 1}, {99999, 2}};
  for (const auto& [y, index] : cases) EXPECT_EQ(layout.IndexAt(y), index) << y;
  EXPECT_EQ(StripLayout{}.IndexAt(10), 0u);
}

TEST_F(WebtoonViewTest, FitWidthMakesTheStripAsWideAsTheWindow) {
  Open(3);
  EXPECT_DOUBLE_EQ(view->UnitScale(), 1.2);
  EXPECT_DOUBLE_EQ(view->StripWidth(), 1200);
  Decode(0, Picture(1440, 2048));
  view->Relayout();
  const std::vector<CanvasCall> draws = host.Paint().Calls("DrawBitmap");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_NEAR(draws[0].windowRect.width, 1200, 0.01);
  EXPECT_NEAR(draws[0].windowRect.height, 2048.0 / 1440 * 1200, 0.01);
}

TEST_F(WebtoonViewTest, ActualSizeShowsOnePicturePixelPerDevicePixelCentred) {
  host.SetDpi(144);
  host.UpdateLayout();
  Open(2);
  Decode(0, Picture(800, 1000));
  view->Relayout();
  view->SetWidthMode(FitMode::ActualSize);
  EXPECT_NEAR(view->StripWidth(), 533.333, 0.001);
  EXPECT_NEAR(view->EffectiveZoom(), 1.0, 1e-9);
  const std::vector<CanvasCall> draws = host.Paint(1.5f).Calls("DrawBitmap");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_NEAR(draws[0].windowRect.x, (1200 - 533.333) / 2, 0.01);
}

TEST_F(WebtoonViewTest, FitNeverWidensTheStripBeyondThePicturesOwnWidth) {
  Open(2);
  Decode(0, Picture(600, 900));
  view->Relayout();
  view->SetWidthMode(FitMode::Fit);
  EXPECT_DOUBLE_EQ(view->StripWidth(), 600);
  Resize({400, 900});
  EXPECT_DOUBLE_EQ(view->StripWidth(), 400);
}

TEST_F(WebtoonViewTest, ZoomStopsAtFourWindowsWideAndAtOneHundredTwentyDips) {
  Open(3);
  int steps = 0;
  for (; steps < 20; ++steps) {
    const double before = view->StripZoom();
    view->ZoomStrip(1);
    if (view->StripZoom() == before) break;
  }
  EXPECT_EQ(steps, 6);
  EXPECT_GT(view->StripWidth(), 3.2 * 1200);
  EXPECT_LE(view->StripWidth(), 4 * 1200);
  view->SetWidthMode(FitMode::FitWidth);
  for (steps = 0; steps < 20; ++steps) {
    const double before = view->StripZoom();
    view->ZoomStrip(-1);
    if (view->StripZoom() == before) break;
  }
  EXPECT_EQ(steps, 10);
  EXPECT_LT(view->StripWidth(), 150);
  EXPECT_GE(view->StripWidth(), 120);
}

TEST_F(WebtoonViewTest, ZoomAndWidthModeKeepThePointAtTheWindowCentre) {
  Open(10);
  view->ScrollToIndex(4, false);
  auto centre = [&] { return view->ScrollY() + 900 / (2 * view->UnitScale()); };
  const double before = centre();
  view->ZoomStrip(-1);
  EXPECT_NEAR(centre(), before, 1e-6);
  view->SetWidthMode(FitMode::Fill);
  EXPECT_NEAR(centre(), before, 1e-6);
  EXPECT_EQ(view->StripZoom(), 1.0);
}

TEST_F(WebtoonViewTest, ScrollingToAnIndexShowsItsTopOrItsBottomEdge) {
  Open(5);
  view->ScrollToIndex(2, false);
  EXPECT_DOUBLE_EQ(view->ScrollY(), view->Layout().tops[2]);
  view->ScrollToIndex(4, true);
  const double bottom = view->ScrollY() + 900 / view->UnitScale();
  EXPECT_NEAR(bottom, view->Layout().totalHeight, 1e-6);
  const double y = view->ScrollY();
  view->ScrollToIndex(5, false);
  EXPECT_EQ(view->ScrollY(), y) << "past the end is ignored";
  Open(1);
  Resize({1200, 3000});
  view->ScrollToIndex(0, true);
  EXPECT_EQ(view->ScrollY(), 0) << "a list shorter than the window stays at the top";
}

TEST_F(WebtoonViewTest, LearningSizesAboveTheWindowKeepsTheTopPictureInPlace) {
  Open(5);
  view->ScrollBy(0, (view->Layout().tops[3] + 350) * view->UnitScale());
  ASSERT_NEAR(view->ScrollY(), view->Layout().tops[3] + 350, 1e-6);
  Decode(1, Picture(1000, 500));  // shorter than assumed
  view->Relayout();
  EXPECT_NEAR(view->Layout().tops[3], 1400 + 500 + 1400, 1e-9);
  EXPECT_NEAR(view->ScrollY(), view->Layout().tops[3] + 350, 1e-6) << "a quarter into picture 3";
}

TEST_F(WebtoonViewTest, VisibleAndWantedRangesAndTheFocusFollowTheScroll) {
  Open(300);
  // 1400 units are 1680 DIPs: a 900-DIP window shows one picture, or two across a boundary.
  view->ScrollToIndex(100, false);
  EXPECT_EQ(view->VisibleRange(), (IndexRange{100, 101}));
  EXPECT_EQ(view->WantedRange(), (IndexRange{98, 104}));
  EXPECT_EQ(view->FocusIndex(), 100u);
  EXPECT_EQ(view->WantedPictures(), (std::vector<size_t>{100, 101, 99, 102, 98, 103}));
  view->ScrollBy(0, 1680 - 100);  // 100 DIPs of picture 100 left at the top
  EXPECT_EQ(view->VisibleRange(), (IndexRange{100, 102}));
  EXPECT_EQ(view->FocusIndex(), 101u) << "one third down the window";
  view->ScrollToIndex(0, false);
  EXPECT_EQ(view->WantedRange(), (IndexRange{0, 4}));
  view->ScrollToIndex(299, true);
  EXPECT_EQ(view->WantedRange(), (IndexRange{297, 300}));
}

TEST_F(WebtoonViewTest, PaintingTouchesOnlyThePicturesInAndNearTheWindow) {
  Open(300);
  for (size_t i = 0; i < 300; ++i) Decode(i, Picture(14, 20));
  view->Relayout();
  view->ScrollToIndex(150, false);
  view->ScrollBy(0, 1000);
  asked.clear();
  const RecordingCanvas canvas = host.Paint();
  EXPECT_EQ(canvas.Calls("DrawBitmap").size(), 2u);
  ASSERT_FALSE(asked.empty());
  EXPECT_GE(*asked.begin(), 148u);
  EXPECT_LT(*asked.rbegin(), 155u);
  EXPECT_EQ(view->TileBitmapCount(), 2u);
  view->ScrollToIndex(10, false);
  host.Paint();
  EXPECT_EQ(view->TileBitmapCount(), 1u) << "bitmaps of pictures scrolled away are dropped";
}

TEST_F(WebtoonViewTest, MissingAndFailedPicturesArePlaceholders) {
  ViewAppearance appearance;
  appearance.useThemeBackground = false;
  appearance.backgroundColor = Color{0, 0, 0, 1};
  view->SetAppearance(appearance);
  Open(3);
  pictures[1] = Quarlo::Test::FailedPicture();
  view->ScrollToIndex(1, false);
  view->ScrollBy(0, -300);  // picture 0 above, picture 1 below
  const RecordingCanvas canvas = host.Paint();
  const std::vector<CanvasCall> fills = canvas.Calls("FillRect");
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0].color, (Color{0, 0, 0, 1}));
  EXPECT_EQ(fills[1].color, Color::FromBytes(43, 43, 43));
  EXPECT_EQ(fills[1].windowRect.y, 0) << "cut to the window";
  EXPECT_NEAR(fills[2].windowRect.y, 300, 0.01);
  const std::vector<CanvasCall> icons = canvas.Calls("DrawIcon");
  ASSERT_EQ(icons.size(), 1u) << "only the failed picture shows the glyph";
  EXPECT_EQ(icons[0].codePoint, kErrorGlyph);
  EXPECT_EQ(icons[0].value, 32);
  EXPECT_EQ(icons[0].color, Color::FromBytes(154, 154, 154));
  EXPECT_NEAR(icons[0].rect.height, 900, 0.01) << "at most the window's height";
  // On a light background the placeholders turn light.
  view->SetAppearance(ViewAppearance{});
  EXPECT_EQ(host.Paint().Calls("FillRect")[1].color, Color::FromBytes(232, 232, 232));
}

TEST_F(WebtoonViewTest, TransparentPicturesGetTheCheckerboard) {
  Open(1);
  Decode(0, Picture(1000, 500, true));
  view->Relayout();
  const RecordingCanvas canvas = host.Paint();
  ASSERT_FALSE(canvas.Calls("PushClip").empty());
  const Rect clip = canvas.Calls("PushClip")[0].windowRect;
  EXPECT_NEAR(clip.width, 1200, 0.01);
  EXPECT_NEAR(clip.height, 600, 0.01);
}

TEST_F(WebtoonViewTest, DraggingScrollsAndAPressWithoutDragIsAClick) {
  int clicks = 0;
  view->SetOnClick([&](Point, int, PointerButton) { ++clicks; });
  Open(5);
  EXPECT_EQ(view->Cursor(), CursorKind::Hand);
  view->OnPointerDown(Press({600, 500}));
  view->OnPointerMove(Press({600, 497}));
  EXPECT_EQ(view->ScrollY(), 0);
  view->OnPointerMove(Press({600, 380}));
  EXPECT_EQ(view->Cursor(), CursorKind::SizeAll);
  EXPECT_NEAR(view->ScrollY(), 117 / 1.2, 1e-9);
  view->OnPointerUp(Press({600, 380}));
  EXPECT_EQ(clicks, 0);
  view->OnPointerDown(Press({600, 500}));
  view->OnPointerUp(Press({602, 500}));
  EXPECT_EQ(clicks, 1);
}

TEST_F(WebtoonViewTest, ScrollingAtTheEndDoesNotMoveAndReportsNothing) {
  Open(3);
  view->ScrollToIndex(2, true);
  const int before = changes;
  EXPECT_FALSE(view->ScrollBy(0, 120));
  EXPECT_EQ(changes, before);
  EXPECT_TRUE(view->ScrollBy(0, -120));
  EXPECT_EQ(changes, before + 1);
  EXPECT_FALSE(view->ScrollBy(50, 0)) << "a strip no wider than the window does not move sideways";
}

TEST_F(WebtoonViewTest, AWiderStripScrollsSideways) {
  Open(3);
  view->ZoomStrip(1);  // 1500 DIPs in a 1200-DIP window
  EXPECT_TRUE(view->ScrollBy(1000, 0));
  EXPECT_DOUBLE_EQ(view->ScrollX(), 300);
  const std::vector<CanvasCall> draws = host.Paint().Calls("FillRect");
  EXPECT_NEAR(draws.at(1).rect.x, 0, 0.01) << "placeholders are cut to the window";
}

TEST_F(WebtoonViewTest, ResetStripForgetsZoomScrollAndNaturalWidth) {
  Open(5);
  Decode(0, Picture(700, 1000));
  view->Relayout();
  view->ZoomStrip(-1);
  view->ScrollBy(0, 500);
  ASSERT_GT(view->NaturalWidth(), 0);
  pictures[0] = nullptr;
  view->ResetStrip();
  EXPECT_EQ(view->StripZoom(), 1.0);
  EXPECT_EQ(view->ScrollY(), 0);
  EXPECT_EQ(view->NaturalWidth(), 0);
}

TEST_F(WebtoonViewTest, WithoutSourcesTheStripIsEmpty) {
  EXPECT_EQ(view->EffectiveZoom(), 1.0);
  EXPECT_TRUE(view->WantedRange().Empty());
  EXPECT_TRUE(view->WantedPictures().empty());
  const RecordingCanvas canvas = host.Paint();
  EXPECT_EQ(canvas.Calls("FillRect").size(), 1u);
  EXPECT_STREQ(view->ClassName(), "WebtoonView");
}

}  // namespace
}  // namespace App
