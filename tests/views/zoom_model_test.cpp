#include "views/zoom_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace App {
namespace {

using Quarlo::Widget::Point;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A model with a viewport (DIPs), a display scale and a freshly shown picture.
ZoomModel Showing(Size content, Size viewport, FitMode mode = FitMode::Fit, double dpiScale = 1.0) {
  ZoomModel model;
  model.SetDpiScale(dpiScale);
  model.ViewportResized(viewport);
  model.SetFitMode(mode);
  model.SetContent(content, true, false, false);
  return model;
}

// The content point (unrotated content pixels) under a viewport point.
Point ContentUnder(const ZoomModel& model, Point viewportPoint) {
  return model.ViewTransform().MapBack(viewportPoint);
}

// The pan must keep fitting content centred and never show background beyond overflowing content.
void ExpectPanWithinLimits(const ZoomModel& model) {
  double a = model.Zoom() / model.DpiScale();
  auto check = [&](const char* axis, double pan, double extent, double viewport) {
    SCOPED_TRACE(axis);
    double half = viewport / (2 * a);
    if (2 * half >= extent) {
      EXPECT_DOUBLE_EQ(pan, extent / 2);
    } else {
      EXPECT_GE(pan, half - 1e-9);
      EXPECT_LE(pan, extent - half + 1e-9);
    }
  };
  check("x", model.PanX(), model.RotatedWidth(), model.Viewport().width);
  check("y", model.PanY(), model.RotatedHeight(), model.Viewport().height);
}

TEST(ZoomModelTest, FitZoomPerModeForSmallLargeAndDegenerateContent) {
  struct Case {
    const char* name;
    FitMode mode;
    double w, h, viewportW, viewportH;  // content pixels, viewport device pixels
    double expected;
  };
  const Case cases[] = {
      // 400 x 300 in a 1000 x 800 DIP viewport at 150% scaling (1500 x 1200 device pixels).
      {"small fit stays actual size", FitMode::Fit, 400, 300, 1500, 1200, 1.0},
      {"small fill enlarges", FitMode::Fill, 400, 300, 1500, 1200, 3.75},
      {"small fit width", FitMode::FitWidth, 400, 300, 1500, 1200, 3.75},
      {"small fit height", FitMode::FitHeight, 400, 300, 1500, 1200, 4.0},
      {"small actual size", FitMode::ActualSize, 400, 300, 1500, 1200, 1.0},
      {"large fit", FitMode::Fit, 6000, 4000, 1500, 1200, 0.25},
      {"large fill", FitMode::Fill, 6000, 4000, 1500, 1200, 0.25},
      {"large fit width", FitMode::FitWidth, 6000, 4000, 1500, 1200, 0.25},
      {"large fit height", FitMode::FitHeight, 6000, 4000, 1500, 1200, 0.3},
      {"large actual size", FitMode::ActualSize, 6000, 4000, 1500, 1200, 1.0},
      {"tiny fill clamped to 32", FitMode::Fill, 10, 10, 1920, 1080, 32.0},
      {"huge fit raised to 0.02", FitMode::Fit, 200000, 100, 1000, 1000, 0.02},
      {"no content width", FitMode::Fill, 0, 300, 1500, 1200, 1.0},
      {"negative content", FitMode::Fill, 400, -3, 1500, 1200, 1.0},
      {"no viewport", FitMode::Fill, 400, 300, 0, 1200, 1.0},
      {"viewport not a number", FitMode::Fill, 400, 300, kNaN, 1200, 1.0},
      {"infinite content", FitMode::Fit, std::numeric_limits<double>::infinity(), 300, 1500, 1200, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(ComputeFitZoom(c.mode, c.w, c.h, c.viewportW, c.viewportH), c.expected);
  }
}

TEST(ZoomModelTest, ActualSizeAtHighDpiShowsOnePicturePixelPerScreenPixel) {
  ZoomModel model = Showing({400, 300}, {1000, 800}, FitMode::Fit, 1.5);
  EXPECT_DOUBLE_EQ(model.Zoom(), 1.0);
  Rect shown = model.ViewTransform().MapRect({0, 0, 400, 300});
  EXPECT_NEAR(shown.width, 266.667, 0.001);
  EXPECT_NEAR(shown.height, 200.0, 0.001);
  // Centred because it fits.
  EXPECT_NEAR(shown.x, (1000 - 266.667) / 2, 0.001);
  EXPECT_NEAR(shown.y, 300.0, 0.001);

  model.SetFitMode(FitMode::Fill);
  EXPECT_DOUBLE_EQ(model.Zoom(), 3.75);
}

TEST(ZoomModelTest, ZoomStepsAndLimits) {
  struct Case {
    double from;
    double next;
    double previous;
  };
  const Case cases[] = {
      {1.0, 1.25, 0.75},    {0.9995, 1.25, 0.75},  // within 0.1% of a step counts as on it
      {1.0009, 1.25, 0.75}, {0.4, 0.5, 0.3333},   {0.3333, 0.5, 0.25},
      {0.6667, 0.75, 0.5},  {0.02, 0.05, 0.02},  // at the lower limit
      {0.01, 0.02, 0.02},   {32.0, 32.0, 24.0},  // at the upper limit
      {31.99, 32.0, 24.0},  {100.0, 32.0, 32.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from));
    EXPECT_DOUBLE_EQ(NextZoomStep(c.from), c.next);
    EXPECT_DOUBLE_EQ(PreviousZoomStep(c.from), c.previous);
  }
}

TEST(ZoomModelTest, ZoomStepWalksEveryPresetAndStopsAtTheLimits) {
  const double steps[] = {0.02, 0.05, 0.1, 0.25, 0.3333, 0.5,  0.6667, 0.75, 1.0,  1.25, 1.5, 2.0,
                          3.0,  4.0,  5.0, 6.0,  8.0,    10.0, 12.0,   16.0, 20.0, 24.0, 32.0};
  ZoomModel model = Showing({1000, 1000}, {500, 500});
  for (int i = 0; i < 30; ++i) model.ZoomStep(-1);
  EXPECT_DOUBLE_EQ(model.Zoom(), kMinZoom);
  for (double expected : steps) {
    SCOPED_TRACE(std::to_string(expected));
    EXPECT_DOUBLE_EQ(model.Zoom(), expected);
    EXPECT_TRUE(model.ZoomStep(+1));
  }
  EXPECT_DOUBLE_EQ(model.Zoom(), kMaxZoom);
  EXPECT_TRUE(model.ZoomIsManual());
}

TEST(ZoomModelTest, ClampZoomAndPercentText) {
  EXPECT_DOUBLE_EQ(ClampZoom(0.01), 0.02);
  EXPECT_DOUBLE_EQ(ClampZoom(40), 32);
  EXPECT_DOUBLE_EQ(ClampZoom(1.5), 1.5);
  EXPECT_DOUBLE_EQ(ClampZoom(kNaN), 1.0);

  EXPECT_EQ(ZoomPercent(0.3333), 33);
  EXPECT_EQ(ZoomPercent(0.6667), 67);
  EXPECT_EQ(ZoomPercent(0.125), 13);
  EXPECT_EQ(ZoomPercent(1.0), 100);
  EXPECT_EQ(ZoomPercent(32), 3200);
  EXPECT_EQ(ZoomPercent(40.0), 4000);  // the strip's effective zoom may pass the presets
}

TEST(ZoomModelTest, OperationsWithoutContentDoNothing) {
  ZoomModel model = Showing({0, 0}, {800, 600});
  EXPECT_FALSE(model.HasContent());
  EXPECT_FALSE(model.ZoomStep(+1));
  EXPECT_FALSE(model.SetZoom(4.0));
  EXPECT_FALSE(model.ScrollBy(50, 50));
  EXPECT_DOUBLE_EQ(model.Zoom(), 1.0);
  EXPECT_FALSE(model.ZoomIsManual());
  EXPECT_FALSE(model.CanPanX());
  EXPECT_FALSE(model.CanPanY());
}

TEST(ZoomModelTest, OddRotationSwapsWidthAndHeightInFitting) {
  struct Case {
    FitMode mode;
    double upright;  // zoom for 400 x 1000 in an 1000 x 500 viewport
    double turned;   // after a quarter turn (1000 x 400 shown)
  };
  const Case cases[] = {
      {FitMode::Fit, 0.5, 1.0},        {FitMode::Fill, 0.5, 1.0},       {FitMode::FitWidth, 2.5, 1.0},
      {FitMode::FitHeight, 0.5, 1.25}, {FitMode::ActualSize, 1.0, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    ZoomModel model = Showing({400, 1000}, {1000, 500}, c.mode);
    EXPECT_DOUBLE_EQ(model.Zoom(), c.upright);
    model.Rotate(+1);
    EXPECT_EQ(model.Rotation(), 1);
    EXPECT_DOUBLE_EQ(model.RotatedWidth(), 1000);
    EXPECT_DOUBLE_EQ(model.RotatedHeight(), 400);
    EXPECT_DOUBLE_EQ(model.Zoom(), c.turned);
    model.Rotate(+1);
    EXPECT_DOUBLE_EQ(model.Zoom(), c.upright);
  }
}

TEST(ZoomModelTest, OddRotationSwapsWidthAndHeightInStartPositionAndClamping) {
  // 2000 x 1000 at actual size in 800 x 600: upright it overflows both ways.
  ZoomModel model = Showing({2000, 1000}, {800, 600}, FitMode::ActualSize);
  EXPECT_DOUBLE_EQ(model.PanX(), 400);
  EXPECT_DOUBLE_EQ(model.PanY(), 300);
  model.Rotate(+1);  // now 1000 wide, 2000 tall
  EXPECT_DOUBLE_EQ(model.PanX(), 400);
  EXPECT_DOUBLE_EQ(model.PanY(), 300);
  EXPECT_TRUE(model.ScrollBy(1e6, 1e6));
  EXPECT_DOUBLE_EQ(model.PanX(), 1000 - 400);
  EXPECT_DOUBLE_EQ(model.PanY(), 2000 - 300);
}

TEST(ZoomModelTest, RotationWrapsAndReturnsToStart) {
  ZoomModel model = Showing({300, 200}, {800, 600});
  model.Rotate(-1);
  EXPECT_EQ(model.Rotation(), 3);
  model.Rotate(+1);
  EXPECT_EQ(model.Rotation(), 0);
  for (int i = 0; i < 5; ++i) model.Rotate(+1);
  EXPECT_EQ(model.Rotation(), 1);
}

TEST(ZoomModelTest, RotationKeepsManualZoom) {
  ZoomModel model = Showing({3000, 2000}, {800, 600});
  model.SetZoom(2.0);
  model.Rotate(+1);
  EXPECT_DOUBLE_EQ(model.Zoom(), 2.0);
  EXPECT_TRUE(model.ZoomIsManual());
  // The start position of the turned picture: its top-left corner.
  EXPECT_DOUBLE_EQ(model.PanX(), 200);
  EXPECT_DOUBLE_EQ(model.PanY(), 150);
}

TEST(ZoomModelTest, ZoomAboutAPointKeepsThatPointStill) {
  struct Case {
    int rotation;
    bool flipH, flipV;
    Point anchor;
    double dpiScale;
  };
  const Case cases[] = {
      {0, false, false, {100, 150}, 1.0}, {0, false, false, {700, 500}, 1.25},
      {1, false, false, {250, 400}, 1.0}, {2, true, false, {600, 120}, 1.5},
      {3, false, true, {333, 222}, 2.0},  {1, true, true, {400, 300}, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rotation) + (c.flipH ? " flipH" : "") + (c.flipV ? " flipV" : ""));
    ZoomModel model = Showing({4000, 3000}, {800, 600}, FitMode::Fit, c.dpiScale);
    for (int i = 0; i < c.rotation; ++i) model.Rotate(+1);
    if (c.flipH) model.FlipHorizontal();
    if (c.flipV) model.FlipVertical();
    model.SetZoom(c.dpiScale);  // one DIP per picture pixel: far from every edge
    // Step in several times about the same point, then out again: the point never moves.
    Point before = ContentUnder(model, c.anchor);
    for (int direction : {+1, +1, +1, -1, +1, -1, -1}) {
      ASSERT_TRUE(model.ZoomStep(direction, c.anchor));
      Point after = ContentUnder(model, c.anchor);
      EXPECT_NEAR(after.x, before.x, 0.01);
      EXPECT_NEAR(after.y, before.y, 0.01);
      ExpectPanWithinLimits(model);
    }
  }
}

TEST(ZoomModelTest, ZoomWithoutAnchorKeepsTheCentre) {
  ZoomModel model = Showing({4000, 3000}, {800, 600});
  model.SetZoom(1.0);
  model.ScrollBy(-300, 200);
  Point before = ContentUnder(model, {400, 300});
  model.ZoomStep(+1);
  Point after = ContentUnder(model, {400, 300});
  EXPECT_NEAR(after.x, before.x, 0.01);
  EXPECT_NEAR(after.y, before.y, 0.01);
}

TEST(ZoomModelTest, ZoomingOutNearAnEdgeClampsInsteadOfShowingBackground) {
  ZoomModel model = Showing({4000, 3000}, {800, 600}, FitMode::ActualSize);
  model.SetZoom(4.0, Point{0, 0});  // top-left corner stays at the top-left
  EXPECT_DOUBLE_EQ(model.PanX(), 100);
  EXPECT_DOUBLE_EQ(model.PanY(), 75);
  model.SetZoom(0.5, Point{800, 600});
  ExpectPanWithinLimits(model);
  Rect shown = model.ViewTransform().MapRect({0, 0, 4000, 3000});
  EXPECT_LE(shown.x, 0);
  EXPECT_LE(shown.y, 0);
}

TEST(ZoomModelTest, ScrollingClampsToTheContentEdges) {
  ZoomModel model = Showing({2000, 1000}, {800, 600}, FitMode::ActualSize);
  EXPECT_TRUE(model.CanPanX());
  EXPECT_TRUE(model.CanPanY());
  EXPECT_FALSE(model.ScrollBy(-50, -50));  // already at the top-left start
  EXPECT_TRUE(model.ScrollBy(1e6, 1e6));
  ViewMatrix m = model.ViewTransform();
  Point bottomRight = m.Map({2000, 1000});
  EXPECT_FLOAT_EQ(bottomRight.x, 800);
  EXPECT_FLOAT_EQ(bottomRight.y, 600);
  EXPECT_FALSE(model.ScrollBy(10, 10));
  EXPECT_TRUE(model.ScrollBy(-120, 0));
  EXPECT_DOUBLE_EQ(model.PanX(), 2000 - 400 - 120);
}

TEST(ZoomModelTest, ScrollingMovesByDipsAtTheZoom) {
  ZoomModel model = Showing({4000, 3000}, {800, 600}, FitMode::ActualSize, 2.0);
  // At zoom 1 and 200% scaling one picture pixel covers half a DIP.
  double x = model.PanX();
  EXPECT_TRUE(model.ScrollBy(50, 0));
  EXPECT_DOUBLE_EQ(model.PanX(), x + 100);
}

TEST(ZoomModelTest, ScrollingContentThatFitsLeavesItCentred) {
  ZoomModel model = Showing({400, 300}, {800, 600});
  EXPECT_FALSE(model.ScrollBy(100, -80));
  EXPECT_DOUBLE_EQ(model.PanX(), 200);
  EXPECT_DOUBLE_EQ(model.PanY(), 150);
  EXPECT_FALSE(model.ScrollBy(kNaN, kNaN));
}

TEST(ZoomModelTest, StartPositions) {
  struct Case {
    bool startAtEnd, startFromRight;
    double panX, panY;
  };
  // 2000 x 1500 at actual size in 800 x 600: half the viewport is 400 x 300 picture pixels.
  const Case cases[] = {
      {false, false, 400, 300},
      {true, false, 400, 1200},
      {false, true, 1600, 300},
      {true, true, 1600, 1200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.startAtEnd ? "end" : "start") + (c.startFromRight ? " right" : " left"));
    ZoomModel model = Showing({10, 10}, {800, 600}, FitMode::ActualSize);
    model.SetContent({2000, 1500}, true, c.startAtEnd, c.startFromRight);
    EXPECT_DOUBLE_EQ(model.PanX(), c.panX);
    EXPECT_DOUBLE_EQ(model.PanY(), c.panY);
  }
}

TEST(ZoomModelTest, StartPositionOnlyMovesOverflowingAxes) {
  // Wide and short: overflows horizontally only, so vertically it stays centred.
  ZoomModel model = Showing({10, 10}, {800, 600}, FitMode::ActualSize);
  model.SetContent({2000, 400}, true, true, true);
  EXPECT_DOUBLE_EQ(model.PanX(), 1600);
  EXPECT_DOUBLE_EQ(model.PanY(), 200);
}

TEST(ZoomModelTest, ContentBarelyWiderThanTheViewportIsCentredAndCannotPan) {
  ZoomModel model = Showing({1000.4f, 500}, {1000, 800}, FitMode::ActualSize);
  EXPECT_FALSE(model.CanPanX());
  EXPECT_FLOAT_EQ(model.PanX(), 1000.4f / 2);
  // A resize after a manual zoom only clamps, and clamping leaves the centred pan alone.
  model.SetZoom(1.0);
  model.ViewportResized({1000, 700});
  EXPECT_FLOAT_EQ(model.PanX(), 1000.4f / 2);

  ZoomModel wider = Showing({1000.6f, 500}, {1000, 800}, FitMode::ActualSize);
  EXPECT_TRUE(wider.CanPanX());
  EXPECT_DOUBLE_EQ(wider.PanX(), 500);
  EXPECT_TRUE(wider.ScrollBy(100, 0));  // its right edge can be reached
  EXPECT_FLOAT_EQ(wider.PanX(), 1000.6f - 500);
}

TEST(ZoomModelTest, ZoomLockCarriesAManualZoomToTheNextPicture) {
  struct Case {
    const char* name;
    bool locked;
    bool manual;
    bool startFromRight;
    double zoom;  // on the next picture (3000 x 2000 in 800 x 600, fitted: 0.2667)
    double panX, panY;
  };
  const Case cases[] = {
      {"locked manual keeps the zoom, top-left", true, true, false, 2.0, 200, 150},
      {"locked manual from the right shows top-right", true, true, true, 2.0, 3000 - 200, 150},
      {"locked but fitted refits", true, false, false, 800.0 / 3000, 1500, 1000},
      {"unlocked manual refits", false, true, false, 800.0 / 3000, 1500, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ZoomModel model = Showing({1600, 1200}, {800, 600});
    model.SetZoomLocked(c.locked);
    if (c.manual) model.SetZoom(2.0);
    model.SetContent({3000, 2000}, true, false, c.startFromRight);
    EXPECT_DOUBLE_EQ(model.Zoom(), c.zoom);
    EXPECT_EQ(model.ZoomIsManual(), c.locked && c.manual);
    EXPECT_DOUBLE_EQ(model.PanX(), c.panX);
    EXPECT_DOUBLE_EQ(model.PanY(), c.panY);
  }
}

TEST(ZoomModelTest, NewPictureClearsRotationAndFlipsButRelayoutKeepsThem) {
  ZoomModel model = Showing({1600, 1200}, {800, 600});
  model.Rotate(+1);
  model.FlipHorizontal();
  model.FlipVertical();
  model.SetContent({1700, 1200}, false, false, true);  // same pages, order changed
  EXPECT_EQ(model.Rotation(), 1);
  EXPECT_TRUE(model.FlippedHorizontally());
  EXPECT_TRUE(model.FlippedVertically());
  EXPECT_TRUE(model.StartsFromRight());
  EXPECT_DOUBLE_EQ(model.Zoom(), 600.0 / 1700);  // refitted to the new size, still turned

  model.SetContent({1700, 1200}, true, false, false);
  EXPECT_EQ(model.Rotation(), 0);
  EXPECT_FALSE(model.FlippedHorizontally());
  EXPECT_FALSE(model.FlippedVertically());
}

TEST(ZoomModelTest, RelayoutWithManualZoomOnlyClamps) {
  ZoomModel model = Showing({4000, 3000}, {800, 600});
  model.SetZoom(1.0);
  model.ScrollBy(1e6, 0);  // right edge
  model.SetContent({2000, 3000}, false, false, false);
  EXPECT_DOUBLE_EQ(model.Zoom(), 1.0);
  EXPECT_DOUBLE_EQ(model.PanX(), 2000 - 400);
}

TEST(ZoomModelTest, ResizingRefitsAFittedZoomAndOnlyClampsAManualOne) {
  ZoomModel fitted = Showing({4000, 3000}, {800, 600});
  EXPECT_DOUBLE_EQ(fitted.Zoom(), 0.2);
  EXPECT_TRUE(fitted.ViewportResized({1600, 1200}));
  EXPECT_DOUBLE_EQ(fitted.Zoom(), 0.4);
  EXPECT_FALSE(fitted.ViewportResized({1600, 1200}));

  ZoomModel manual = Showing({4000, 3000}, {800, 600});
  manual.SetZoom(1.0);
  manual.ScrollBy(1e6, 1e6);
  EXPECT_TRUE(manual.ViewportResized({1600, 1200}));
  EXPECT_DOUBLE_EQ(manual.Zoom(), 1.0);
  EXPECT_DOUBLE_EQ(manual.PanX(), 4000 - 800);
  EXPECT_DOUBLE_EQ(manual.PanY(), 3000 - 600);
}

TEST(ZoomModelTest, DisplayScaleChangeRefitsAFittedZoom) {
  ZoomModel model = Showing({4000, 3000}, {800, 600});
  model.SetDpiScale(2.0);
  EXPECT_DOUBLE_EQ(model.Zoom(), 0.4);
  model.SetZoom(3.0);
  model.SetDpiScale(1.5);
  EXPECT_DOUBLE_EQ(model.Zoom(), 3.0);
  model.SetDpiScale(0);  // nonsense falls back to 1
  EXPECT_DOUBLE_EQ(model.DpiScale(), 1.0);
}

TEST(ZoomModelTest, SetFitModeLeavesManualZoomAndTakesStartPosition) {
  ZoomModel model = Showing({4000, 3000}, {800, 600});
  model.SetZoom(2.0);
  model.ScrollBy(500, 500);
  model.SetFitMode(FitMode::FitWidth);
  EXPECT_FALSE(model.ZoomIsManual());
  EXPECT_EQ(model.Mode(), FitMode::FitWidth);
  EXPECT_DOUBLE_EQ(model.Zoom(), 0.2);
  EXPECT_DOUBLE_EQ(model.PanX(), 2000);
  EXPECT_DOUBLE_EQ(model.PanY(), 1500);
}

TEST(ZoomModelTest, ViewTransformTurnsThenMirrorsWhatIsShown) {
  struct Case {
    int rotation;
    bool flipH, flipV;
    Point topLeft;  // where the content's top-left corner lands
  };
  // 400 x 200 at actual size, centred in 1000 x 1000: upright box x 300..700, y 400..600; turned
  // box x 400..600, y 300..700.
  const Case cases[] = {
      {0, false, false, {300, 400}}, {1, false, false, {600, 300}}, {2, false, false, {700, 600}},
      {3, false, false, {400, 700}}, {0, true, false, {700, 400}},  {0, false, true, {300, 600}},
      {1, true, false, {400, 300}},  {1, false, true, {600, 700}},  {3, true, true, {600, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rotation) + (c.flipH ? " flipH" : "") + (c.flipV ? " flipV" : ""));
    ZoomModel model = Showing({400, 200}, {1000, 1000}, FitMode::ActualSize);
    for (int i = 0; i < c.rotation; ++i) model.Rotate(+1);
    if (c.flipH) model.FlipHorizontal();
    if (c.flipV) model.FlipVertical();
    ViewMatrix m = model.ViewTransform();
    Point p = m.Map({0, 0});
    EXPECT_FLOAT_EQ(p.x, c.topLeft.x);
    EXPECT_FLOAT_EQ(p.y, c.topLeft.y);
    Point back = m.MapBack(p);
    EXPECT_NEAR(back.x, 0, 1e-3);
    EXPECT_NEAR(back.y, 0, 1e-3);
    Rect box = m.MapRect({0, 0, 400, 200});
    EXPECT_EQ(box, c.rotation % 2 ? (Rect{400, 300, 200, 400}) : (Rect{300, 400, 400, 200}));
  }
}

TEST(ZoomModelTest, FlipKeepsThePanAndMirrorsTheContentUnderIt) {
  ZoomModel model = Showing({2000, 1000}, {800, 600}, FitMode::ActualSize);
  model.ScrollBy(300, 100);
  double panX = model.PanX();
  double panY = model.PanY();
  Point before = ContentUnder(model, {400, 300});
  model.FlipHorizontal();
  EXPECT_DOUBLE_EQ(model.PanX(), panX);
  EXPECT_DOUBLE_EQ(model.PanY(), panY);
  Point after = ContentUnder(model, {400, 300});
  EXPECT_NEAR(after.x, 2000 - before.x, 1e-3);
  EXPECT_NEAR(after.y, before.y, 1e-3);
}

TEST(ZoomModelTest, VisibleContentIsTheViewportMappedBack) {
  ZoomModel model = Showing({2000, 1000}, {800, 600}, FitMode::ActualSize);
  EXPECT_EQ(model.VisibleContent(), (Rect{0, 0, 800, 600}));
  // A quarter turn shows 1000 x 2000; its top-left 800 x 600 comes from the content's left end,
  // rows 200..1000.
  model.Rotate(+1);
  EXPECT_EQ(model.VisibleContent(), (Rect{0, 200, 600, 800}));
}

TEST(ZoomModelTest, DoubleClickSwitchesBetweenFitAndActualSize) {
  ZoomModel model = Showing({4000, 3000}, {800, 600});
  Point click{200, 100};
  Point under = ContentUnder(model, click);
  model.ToggleFitAndActualSize(click);
  EXPECT_DOUBLE_EQ(model.Zoom(), 1.0);
  EXPECT_TRUE(model.ZoomIsManual());
  Point after = ContentUnder(model, click);
  EXPECT_NEAR(after.x, under.x, 0.01);
  EXPECT_NEAR(after.y, under.y, 0.01);

  model.ToggleFitAndActualSize(click);
  EXPECT_DOUBLE_EQ(model.Zoom(), 0.2);
  EXPECT_FALSE(model.ZoomIsManual());
  EXPECT_EQ(model.Mode(), FitMode::Fit);

  // A picture that fits at actual size has nothing to switch to: it stays at 100%.
  ZoomModel small = Showing({400, 300}, {800, 600}, FitMode::Fill);
  small.ToggleFitAndActualSize(click);
  EXPECT_DOUBLE_EQ(small.Zoom(), 1.0);
  small.ToggleFitAndActualSize(click);
  EXPECT_DOUBLE_EQ(small.Zoom(), 1.0);
  EXPECT_TRUE(small.ZoomIsManual());
}

TEST(ZoomModelTest, InvariantsHoldOverRandomOperations) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(0, 1);
  ZoomModel model = Showing({3000, 1200}, {900, 700}, FitMode::Fit, 1.25);
  for (int i = 0; i < 2000; ++i) {
    double r = unit(random);
    switch (static_cast<int>(unit(random) * 9)) {
      case 0:
        model.ZoomStep(r < 0.5 ? -1 : +1, Point{static_cast<float>(r * 900), static_cast<float>(r * 700)});
        break;
      case 1:
        model.SetZoom(r * 50);
        break;
      case 2:
        model.ScrollBy((r - 0.5) * 3000, (0.5 - r) * 2000);
        break;
      case 3:
        model.Rotate(r < 0.5 ? -1 : +1);
        break;
      case 4:
        model.ViewportResized({static_cast<float>(r * 1500), static_cast<float>(1500 - r * 1400)});
        break;
      case 5:
        model.SetFitMode(static_cast<FitMode>(static_cast<int>(r * 5)));
        break;
      case 6:
        model.SetContent({static_cast<float>(r * 5000 + 1), static_cast<float>(5000 - r * 4000)}, r < 0.5,
                         r<0.3, r> 0.6);
        break;
      case 7:
        model.SetZoomLocked(r < 0.5);
        break;
      default:
        model.FlipHorizontal();
        break;
    }
    ASSERT_GE(model.Zoom(), kMinZoom);
    ASSERT_LE(model.Zoom(), kMaxZoom);
    ASSERT_GE(model.Rotation(), 0);
    ASSERT_LE(model.Rotation(), 3);
    ExpectPanWithinLimits(model);
    if (HasFailure()) FAIL() << "after step " << i;
  }
}

}  // namespace
}  // namespace App
