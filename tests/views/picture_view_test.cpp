// The picture view on a headless host: where pages are drawn for each fit mode, spreads, rotation and
// flips, the background and checkerboard, the loading placeholder, the animation clock and the
// pointer rules.

#include "views/picture_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "core/settings.h"
#include "support/fake_host.h"
#include "support/hosted_view.h"
#include "support/made_pictures.h"
#include "widget/theme.h"

namespace App {
namespace {

using Quarlo::Test::MakePicture;
using Quarlo::Test::PictureSpec;
using Quarlo::Widget::Color;
using Quarlo::Widget::CursorKind;
using Quarlo::Widget::Interpolation;
using Quarlo::Widget::Point;
using Quarlo::Widget::PointerButton;
using Quarlo::Widget::PointerEvent;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;
using Quarlo::Widget::Theme;
using Quarlo::Widget::WheelEvent;
using Quarlo::Widget::Testing::CanvasCall;
using Quarlo::Widget::Testing::FakeHost;
using Quarlo::Widget::Testing::HostedView;
using Quarlo::Widget::Testing::RecordingCanvas;

PicturePtr Picture(int32_t width, int32_t height, bool transparent = false) {
  PictureSpec made;
  made.width = width;
  made.height = height;
  made.transparent = transparent;
  return MakePicture(made);
}

PicturePtr Animation(std::vector<uint32_t> delaysMs) {
  PictureSpec made;
  made.width = 20;
  made.height = 10;
  made.delaysMs = std::move(delaysMs);
  return MakePicture(made);
}

// The DrawBitmap calls that draw tiles of this picture.
std::vector<CanvasCall> DrawsOf(const RecordingCanvas& canvas, const PicturePtr& picture) {
  std::set<const uint8_t*> buffers;
  for (const auto& frame : picture->tiles) {
    for (const PictureTile& tile : frame) buffers.insert(tile.pixels->data());
  }
  std::vector<CanvasCall> draws;
  for (const CanvasCall& call : canvas.Calls("DrawBitmap")) {
    if (buffers.contains(call.bitmap.Pixels())) draws.push_back(call);
  }
  return draws;
}

// The checkerboard's copies: 256-pixel bitmaps that belong to no page.
std::vector<CanvasCall> CheckerDraws(const RecordingCanvas& canvas) {
  std::vector<CanvasCall> draws;
  for (const CanvasCall& call : canvas.Calls("DrawBitmap")) {
    if (call.bitmap.Width() == 256 && call.interpolation == Interpolation::NearestNeighbor)
      draws.push_back(call);
  }
  return draws;
}

void ExpectRect(const Rect& actual, const Rect& expected) {
  EXPECT_NEAR(actual.x, expected.x, 0.01);
  EXPECT_NEAR(actual.y, expected.y, 0.01);
  EXPECT_NEAR(actual.width, expected.width, 0.01);
  EXPECT_NEAR(actual.height, expected.height, 0.01);
}

PointerEvent Press(Point at, PointerButton button = PointerButton::Left, int clicks = 1) {
  return PointerEvent{at, button, 0, clicks};
}

class PictureViewTest : public testing::Test {
 protected:
  PictureViewTest() {
    view->SetOnChanged([this] { ++changes; });
  }

  void Resize(Size size) { hosted.Resize(size); }

  void Show(std::vector<PicturePtr> pages, float gap = 0, bool startFromRight = false) {
    view->SetPages(std::move(pages), gap, true, false, startFromRight);
  }

  // Moves the clock to an absolute time, firing timers on the way.
  void At(double seconds) { host.Advance(seconds - host.Now()); }

  HostedView<PictureView> hosted{Size{1000, 800}};
  FakeHost& host = hosted.host;
  PictureView* view = hosted.view;
  int changes = 0;
};

TEST_F(PictureViewTest, EachFitModePlacesThePicture) {
  struct Case {
    const char* name;
    FitMode mode;
    int32_t width, height;
    Rect expected;  // in the 1000 x 800 view
  };
  const Case cases[] = {
      {"large, fit", FitMode::Fit, 2000, 1000, {0, 150, 1000, 500}},
      {"large, fill", FitMode::Fill, 2000, 1000, {0, 150, 1000, 500}},
      {"large, fit width", FitMode::FitWidth, 2000, 1000, {0, 150, 1000, 500}},
      {"large, fit height shows the left edge", FitMode::FitHeight, 2000, 1000, {0, 0, 1600, 800}},
      {"large, actual size shows the top-left corner", FitMode::ActualSize, 2000, 1000, {0, 0, 2000, 1000}},
      {"small, fit keeps actual size and centres", FitMode::Fit, 400, 300, {300, 250, 400, 300}},
      {"small, fill enlarges", FitMode::Fill, 400, 300, {0, 25, 1000, 750}},
      {"small, fit height overflows to the right", FitMode::FitHeight, 400, 300, {0, 0, 1066.667f, 800}},
      {"small, actual size centres", FitMode::ActualSize, 400, 300, {300, 250, 400, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PicturePtr picture = Picture(c.width, c.height);
    view->SetFitMode(c.mode);
    Show({picture});
    const std::vector<CanvasCall> draws = DrawsOf(host.Paint(), picture);
    ASSERT_EQ(draws.size(), 1u);
    ExpectRect(draws[0].windowRect, c.expected);
  }
}

TEST_F(PictureViewTest, ActualSizeMapsOnePicturePixelToOneDevicePixel) {
  host.SetDpi(144);
  host.UpdateLayout();
  const PicturePtr picture = Picture(600, 300);
  view->SetFitMode(FitMode::ActualSize);
  Show({picture});
  const std::vector<CanvasCall> draws = DrawsOf(host.Paint(1.5f), picture);
  ASSERT_EQ(draws.size(), 1u);
  ExpectRect(draws[0].windowRect, {300, 300, 400, 200});
}

TEST_F(PictureViewTest, SpreadPagesShareTheTallestHeightWithTheGapBetween) {
  Resize({1105, 750});
  const PicturePtr tall = Picture(1000, 1500), small = Picture(800, 1000);
  Show({tall, small}, 10);
  EXPECT_DOUBLE_EQ(view->Zoom(), 0.5);
  const RecordingCanvas canvas = host.Paint();
  ExpectRect(DrawsOf(canvas, tall).at(0).windowRect, {0, 0, 500, 750});
  ExpectRect(DrawsOf(canvas, small).at(0).windowRect, {505, 0, 600, 750});
  EXPECT_EQ(view->RotatedSize(), (Size{2210, 1500}));
}

TEST_F(PictureViewTest, RightToLeftSpreadStartsAtItsRightEdgeWhereTheFirstPageIs) {
  // The controller hands the pages over in screen order: the first picture of the spread last.
  Resize({1000, 1500});
  view->SetFitMode(FitMode::ActualSize);
  const PicturePtr first = Picture(1000, 1500), second = Picture(800, 1000);
  Show({second, first}, 10, true);
  RecordingCanvas canvas = host.Paint();
  ExpectRect(DrawsOf(canvas, first).at(0).windowRect, {0, 0, 1000, 1500});
  EXPECT_TRUE(DrawsOf(canvas, second).empty()) << "off screen to the left";
  // Left to right, the same spread starts at its left edge.
  Show({first, second}, 10, false);
  canvas = host.Paint();
  ExpectRect(DrawsOf(canvas, first).at(0).windowRect, {0, 0, 1000, 1500});
  EXPECT_TRUE(DrawsOf(canvas, second).empty()) << "off screen to the right";
}

TEST_F(PictureViewTest, RotationAndFlipsMoveTheCornersOfThePicture) {
  // 300 x 300 in tiles of 200: top-left 200 x 200, bottom-right 100 x 100, shown 1:1 in the middle.
  Resize({1000, 1000});
  PictureSpec made;
  made.width = made.height = 300;
  made.tileSide = 200;
  const PicturePtr picture = MakePicture(made);
  const auto* topLeft = picture->tiles[0][0].pixels->data();
  const auto* bottomRight = picture->tiles[0][3].pixels->data();
  struct Case {
    const char* name;
    int rotate;
    bool flipH, flipV;
    Rect topLeft, bottomRight;
  };
  const Case cases[] = {
      {"upright", 0, false, false, {350, 350, 200, 200}, {550, 550, 100, 100}},
      {"quarter turn right", 1, false, false, {450, 350, 200, 200}, {350, 550, 100, 100}},
      {"half turn", 2, false, false, {450, 450, 200, 200}, {350, 350, 100, 100}},
      {"quarter turn left", -1, false, false, {350, 450, 200, 200}, {550, 350, 100, 100}},
      {"mirrored left-right", 0, true, false, {450, 350, 200, 200}, {350, 550, 100, 100}},
      {"mirrored top-bottom", 0, false, true, {350, 450, 200, 200}, {550, 350, 100, 100}},
      {"turned right, then mirrored as seen", 1, true, false, {350, 350, 200, 200}, {550, 550, 100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show({picture});
    for (int turn = 0; turn < std::abs(c.rotate); ++turn) view->Rotate(c.rotate < 0 ? -1 : 1);
    if (c.flipH) view->Flip(FlipAxis::Horizontal);
    if (c.flipV) view->Flip(FlipAxis::Vertical);
    const std::vector<CanvasCall> draws = DrawsOf(host.Paint(), picture);
    ASSERT_EQ(draws.size(), 4u);
    for (const CanvasCall& draw : draws) {
      if (draw.bitmap.Pixels() == topLeft) ExpectRect(draw.windowRect, c.topLeft);
      if (draw.bitmap.Pixels() == bottomRight) ExpectRect(draw.windowRect, c.bottomRight);
    }
  }
}

TEST_F(PictureViewTest, ShowingAnotherPictureClearsRotationAndFlips) {
  Show({Picture(300, 100)});
  view->Rotate(1);
  view->Flip(FlipAxis::Vertical);
  Show({Picture(300, 100)});
  EXPECT_EQ(view->Model().Rotation(), 0);
  EXPECT_FALSE(view->Model().FlippedVertically());
}

TEST_F(PictureViewTest, BackgroundAndCheckerboardFollowTheAppearanceAndTheme) {
  struct Case {
    const char* name;
    int background;  // the Background setting
    bool darkTheme;
    Color fill;
    uint8_t checkerB;  // the grey of a square whose row and column bits agree
  };
  const Theme light = Theme::Light(Quarlo::Widget::kDefaultAccent);
  const Theme dark = Theme::Dark(Quarlo::Widget::kDefaultAccent);
  const Case cases[] = {
      {"black", 1, false, Color::FromBytes(0, 0, 0), 58},
      {"gray is dark", 2, false, Color::FromBytes(110, 110, 110), 58},
      {"white", 3, false, Color::FromBytes(255, 255, 255), 255},
      {"light theme", 0, false, light.Get(Quarlo::Widget::ThemeColor::WindowBackground), 255},
      {"dark theme", 0, true, dark.Get(Quarlo::Widget::ThemeColor::WindowBackground), 58},
  };
  const PicturePtr transparent = Picture(400, 300, true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.SetTheme(c.darkTheme ? dark : light);
    Quarlo::View::Settings settings;
    settings.background = static_cast<Quarlo::View::BackgroundKind>(c.background);
    view->SetAppearance(AppearanceFromSettings(settings));
    Show({transparent});
    const RecordingCanvas canvas = host.Paint();
    const std::vector<CanvasCall> fills = canvas.Calls("FillRect");
    ASSERT_FALSE(fills.empty());
    ExpectRect(fills[0].windowRect, {0, 0, 1000, 800});
    EXPECT_EQ(fills[0].color, c.fill);
    const std::vector<CanvasCall> checker = CheckerDraws(canvas);
    ASSERT_EQ(checker.size(), 4u);  // 400 x 300 in 256-DIP copies
    EXPECT_EQ(checker[0].bitmap.Pixels()[0], c.checkerB);
    ExpectRect(canvas.Calls("PushClip").at(0).windowRect, {300, 250, 400, 300});
  }
}

TEST_F(PictureViewTest, CheckerboardOnlyBehindTransparentPagesAndOnlyWhenOn) {
  const PicturePtr opaque = Picture(400, 300), transparent = Picture(400, 300, true);
  Show({opaque});
  EXPECT_TRUE(CheckerDraws(host.Paint()).empty());
  ViewAppearance appearance;
  appearance.checkerboard = false;
  view->SetAppearance(appearance);
  Show({transparent});
  EXPECT_TRUE(CheckerDraws(host.Paint()).empty());
  // A page larger than the view: the checkerboard covers the view only.
  view->SetAppearance(ViewAppearance{});
  view->SetFitMode(FitMode::ActualSize);
  Show({Picture(3000, 2000, true)});
  ExpectRect(host.Paint().Calls("PushClip").at(0).windowRect, {0, 0, 1000, 800});
}

TEST_F(PictureViewTest, ShrinkingIsAlwaysSmoothEnlargingOnlyWithSmoothScaling) {
  struct Case {
    const char* name;
    bool smooth;
    double zoom;
    Interpolation expected;
  };
  const Case cases[] = {
      {"off, 100% keeps pixels hard", false, 1.0, Interpolation::NearestNeighbor},
      {"off, 99.8% is smooth", false, 0.998, Interpolation::HighQualityCubic},
      {"off, 400% keeps pixels hard", false, 4.0, Interpolation::NearestNeighbor},
      {"on, 400% is smooth", true, 4.0, Interpolation::HighQualityCubic},
      {"on, 100% is smooth", true, 1.0, Interpolation::HighQualityCubic},
  };
  const PicturePtr picture = Picture(100, 100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewAppearance appearance;
    appearance.smooth = c.smooth;
    view->SetAppearance(appearance);
    Show({picture});
    view->SetZoom(c.zoom);
    EXPECT_EQ(DrawsOf(host.Paint(), picture).at(0).interpolation, c.expected);
  }
}

TEST_F(PictureViewTest, EnlargedSmallerPageOfASpreadIsSmoothButItsNeighbourStaysSharp) {
  // Both pages at 1:1 zoom; the 800 x 1000 page is enlarged 1.5 times to the tall page's height.
  ViewAppearance appearance;
  appearance.smooth = false;
  view->SetAppearance(appearance);
  view->SetFitMode(FitMode::ActualSize);
  const PicturePtr tall = Picture(1000, 1500), small = Picture(800, 1000);
  Show({tall, small});
  view->SetZoom(0.5);
  const RecordingCanvas canvas = host.Paint();
  EXPECT_EQ(DrawsOf(canvas, tall).at(0).interpolation, Interpolation::HighQualityCubic);   // 0.5
  EXPECT_EQ(DrawsOf(canvas, small).at(0).interpolation, Interpolation::HighQualityCubic);  // 0.75
  view->SetZoom(1.0);
  EXPECT_EQ(DrawsOf(host.Paint(), small).at(0).interpolation, Interpolation::NearestNeighbor);  // 1.5
}

TEST_F(PictureViewTest, OnlyTilesInsideTheViewAreDrawnAndBitmapsGoWithTheirPicture) {
  PictureSpec made;
  made.width = made.height = 4000;
  made.tileSide = 1000;
  const PicturePtr big = MakePicture(made);
  view->SetFitMode(FitMode::ActualSize);
  Show({big});
  view->ScrollBy(500, 500);  // shows 500..1500 x 500..1300: four tiles
  EXPECT_EQ(DrawsOf(host.Paint(), big).size(), 4u);
  EXPECT_EQ(view->TileBitmapCount(), 4u);
  Show({big});
  EXPECT_EQ(view->TileBitmapCount(), 4u) << "the same picture keeps its bitmaps";
  Show({Picture(10, 10)});
  EXPECT_EQ(view->TileBitmapCount(), 0u);
  host.Paint();
  EXPECT_EQ(view->TileBitmapCount(), 1u);
  view->Clear();
  EXPECT_EQ(view->TileBitmapCount(), 0u);
}

// A preview's small pixels are drawn over the whole picture's place; the full picture then takes its
// place without a reset: the zoom, position and turn the user chose stay, and the preview's bitmap goes.
TEST_F(PictureViewTest, FullPictureReplacesItsPreviewInPlace) {
  const PicturePtr preview = Quarlo::Test::MakePreview(4000, 3000, 4);
  Show({preview});
  EXPECT_EQ(view->RotatedSize(), (Size{4000, 3000}));
  const double fitted = view->Zoom();
  EXPECT_NEAR(fitted, 0.25, 1e-9);  // 1000 × 800 view: the full picture's width decides
  std::vector<CanvasCall> draws = DrawsOf(host.Paint(), preview);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].bitmap.Width(), 1000);
  ExpectRect(draws[0].rect, Rect{0, 0, 4000, 3000});

  view->ZoomStep(+1);
  view->Rotate(1);
  view->ScrollBy(40, 30);
  const double zoom = view->Zoom();
  const auto panX = view->Model().PanX(), panY = view->Model().PanY();
  const PicturePtr full = Picture(4000, 3000);
  view->SetPages({full}, 0, false, false, false);
  EXPECT_EQ(view->Zoom(), zoom);
  EXPECT_EQ(view->Model().Rotation(), 1);
  EXPECT_EQ(view->Model().PanX(), panX);
  EXPECT_EQ(view->Model().PanY(), panY);
  EXPECT_EQ(view->TileBitmapCount(), 0u) << "the preview's bitmap went with it";
  const RecordingCanvas& canvas = host.Paint();
  EXPECT_TRUE(DrawsOf(canvas, preview).empty());
  EXPECT_EQ(DrawsOf(canvas, full).size(), 1u);
}

TEST_F(PictureViewTest, PagesThatCannotBeShownAreSkipped) {
  auto empty = std::make_shared<Quarlo::View::LoadedPicture>();
  const PicturePtr good = Picture(400, 300);
  Show({nullptr, Quarlo::Test::FailedPicture(), empty, good});
  ASSERT_EQ(view->Pages().size(), 1u);
  EXPECT_EQ(view->Pages()[0], good);
  Show({Quarlo::Test::FailedPicture()});
  EXPECT_TRUE(view->Pages().empty());
  const RecordingCanvas canvas = host.Paint();
  EXPECT_TRUE(canvas.Calls("DrawBitmap").empty());
  EXPECT_EQ(canvas.Calls("FillRect").size(), 1u) << "only the background";
}

TEST_F(PictureViewTest, LoadingShowsAfterTheDelayWhenPicturesAreStillMissing) {
  const PicturePtr previous = Picture(400, 300);
  Show({previous});
  view->ShowLoadingAfterDelay();
  At(0.2);
  view->ShowLoadingAfterDelay();  // a second request does not restart the delay
  At(0.34);
  EXPECT_FALSE(view->IsLoadingShown());
  EXPECT_EQ(DrawsOf(host.Paint(), previous).size(), 1u) << "the previous pages stay meanwhile";
  At(0.36);
  EXPECT_TRUE(view->IsLoadingShown());
  EXPECT_TRUE(view->Pages().empty());
  const RecordingCanvas canvas = host.Paint();
  EXPECT_TRUE(canvas.Calls("DrawBitmap").empty());
  ASSERT_EQ(canvas.Calls("DrawText").size(), 1u);
  const Rect label = canvas.Calls("DrawText")[0].windowRect;
  EXPECT_GT(label.x, 400);
  EXPECT_LT(label.x, 500);
  EXPECT_GT(label.y, 370);
  EXPECT_LT(label.y, 400);
  Show({previous});
  EXPECT_FALSE(view->IsLoadingShown());
  EXPECT_TRUE(host.Paint().Calls("DrawText").empty());
}

TEST_F(PictureViewTest, PicturesArrivingInTimeCancelTheLoadingLabel) {
  view->ShowLoadingAfterDelay();
  At(0.3);
  Show({Picture(400, 300)});
  At(1.0);
  EXPECT_FALSE(view->IsLoadingShown());
  EXPECT_EQ(view->Pages().size(), 1u);
}

TEST_F(PictureViewTest, LoadingLabelWaitsForTheControllersPermission) {
  bool permitted = false;
  view->SetLoadingPermission([&] { return permitted; });
  Show({Picture(400, 300)});
  view->ShowLoadingAfterDelay();
  At(0.5);
  EXPECT_FALSE(view->IsLoadingShown());
  EXPECT_EQ(view->Pages().size(), 1u);
  permitted = true;
  view->ShowLoadingAfterDelay();
  At(0.9);
  EXPECT_TRUE(view->IsLoadingShown());
}

TEST_F(PictureViewTest, ShortFramesAreShownForTwentyMilliseconds) {
  Show({Animation({15, 15, 15})});
  EXPECT_NEAR(host.timerDelay, kMinFrameSeconds, 1e-9);
  At(0.019);
  EXPECT_EQ(view->FrameIndex(0), 0u);
  At(0.021);
  EXPECT_EQ(view->FrameIndex(0), 1u);
  At(0.061);
  EXPECT_EQ(view->FrameIndex(0), 0u) << "wraps after the last frame";
}

TEST_F(PictureViewTest, TwoAnimatedPagesShareOneClockTickingAtTheShorterTime) {
  Show({Animation({100, 100, 100, 100}), Animation({150, 150, 150})});
  EXPECT_EQ(host.TimerCount(), 1u);
  struct Step {
    double time;
    size_t first, second;
  };
  // The 150 ms frames round up to two 100 ms ticks.
  const Step steps[] = {{0.09, 0, 0}, {0.11, 1, 0}, {0.21, 2, 1}, {0.31, 3, 1}, {0.41, 0, 2}, {0.61, 2, 0}};
  for (const Step& step : steps) {
    At(step.time);
    EXPECT_EQ(view->FrameIndex(0), step.first) << step.time;
    EXPECT_EQ(view->FrameIndex(1), step.second) << step.time;
  }
}

TEST_F(PictureViewTest, TicksRepaintOnlyWhenAFrameChanges) {
  Show({Animation({100, 300})});
  host.Paint();
  At(0.11);  // frame 1
  EXPECT_TRUE(host.IsRepaintPending());
  host.Paint();
  At(0.21);
  At(0.31);
  EXPECT_FALSE(host.IsRepaintPending()) << "frame 1 lasts three ticks";
  At(0.41);
  EXPECT_TRUE(host.IsRepaintPending());
  EXPECT_EQ(view->FrameIndex(0), 0u);
}

// The controller applies the settings after every command, paging included: only a change repaints.
TEST_F(PictureViewTest, TheSameAppearanceAgainNeedsNoRepaint) {
  Show({Picture(400, 300)});
  host.Paint();
  view->SetAppearance(view->Appearance());
  EXPECT_FALSE(host.IsRepaintPending());
  App::ViewAppearance other = view->Appearance();
  other.checkerboard = !other.checkerboard;
  view->SetAppearance(other);
  EXPECT_TRUE(host.IsRepaintPending());
}

TEST_F(PictureViewTest, AStillPageNeedsNoClock) {
  Show({Picture(400, 300), Picture(300, 400)});
  EXPECT_FALSE(view->HasAnimation());
  EXPECT_EQ(host.TimerCount(), 0u);
}

TEST_F(PictureViewTest, PausingFreezesTheFrameAndResumingRestartsItsFullTime) {
  const PicturePtr animation = Animation({100, 100, 100});
  Show({animation});
  At(0.15);
  ASSERT_EQ(view->FrameIndex(0), 1u);
  view->SetAnimationPaused(true);
  EXPECT_TRUE(view->IsAnimationPaused());
  EXPECT_EQ(host.TimerCount(), 0u);
  At(1.0);
  EXPECT_EQ(view->FrameIndex(0), 1u);
  view->SetAnimationPaused(false);
  At(1.09);
  EXPECT_EQ(view->FrameIndex(0), 1u) << "the frame gets its whole 100 ms again";
  At(1.11);
  EXPECT_EQ(view->FrameIndex(0), 2u);
  // Paused, new pages do not start a clock either.
  view->SetAnimationPaused(true);
  Show({animation});
  EXPECT_EQ(host.TimerCount(), 0u);
  EXPECT_EQ(view->FrameIndex(0), 0u);
}

TEST_F(PictureViewTest, NewPagesAndClearStopTheClockAndStartAtTheFirstFrame) {
  Show({Animation({100, 100})});
  At(0.15);
  ASSERT_EQ(view->FrameIndex(0), 1u);
  view->SetPages({Animation({100, 100})}, 0, false, false, false);
  EXPECT_EQ(view->FrameIndex(0), 0u) << "also without reset";
  EXPECT_EQ(host.TimerCount(), 1u);
  view->Clear();
  EXPECT_EQ(host.TimerCount(), 0u);
}

TEST_F(PictureViewTest, AnimationGoesOnAfterTheViewWasHidden) {
  Show({Animation({100, 100})});
  view->SetVisible(false);  // the host drops the hidden widget's timers
  At(0.5);
  view->SetVisible(true);
  host.Paint();
  const size_t shown = view->FrameIndex(0);
  At(0.61);
  EXPECT_NE(view->FrameIndex(0), shown);
}

TEST_F(PictureViewTest, DraggingAZoomedPicturePansItAndProducesNoClick) {
  int clicks = 0, menus = 0;
  view->SetOnClick([&](Point, int, PointerButton) { ++clicks; });
  view->SetOnContextMenu([&](Point) { ++menus; });
  view->SetFitMode(FitMode::ActualSize);
  Show({Picture(3000, 2000)});
  EXPECT_EQ(view->Cursor(), CursorKind::Hand);
  const double panX = view->Model().PanX();
  view->OnPointerDown(Press({500, 400}));
  view->OnPointerMove(Press({503, 400}));
  EXPECT_DOUBLE_EQ(view->Model().PanX(), panX) << "the first 4 DIPs do not move the picture";
  view->OnPointerMove(Press({450, 400}));
  EXPECT_EQ(view->Cursor(), CursorKind::SizeAll);
  EXPECT_DOUBLE_EQ(view->Model().PanX(), panX + 53) << "the content follows the pointer";
  view->OnPointerUp(Press({450, 400}));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(view->Cursor(), CursorKind::Hand);
  // The right button never drags: its press and release asks for the menu.
  view->OnPointerDown(Press({500, 400}, PointerButton::Right));
  EXPECT_FALSE(view->OnPointerMove(Press({400, 400}, PointerButton::Right)));
  view->OnPointerUp(Press({400, 400}, PointerButton::Right));
  EXPECT_EQ(menus, 1);
}

TEST_F(PictureViewTest, DraggingAPictureThatFitsIsAClick) {
  std::vector<std::pair<Point, int>> clicks;
  view->SetOnClick([&](Point at, int count, PointerButton) { clicks.push_back({at, count}); });
  Show({Picture(400, 300)});
  EXPECT_EQ(view->Cursor(), CursorKind::Arrow);
  view->OnPointerDown(Press({100, 100}, PointerButton::Left, 2));
  view->OnPointerMove(Press({200, 100}));
  EXPECT_EQ(view->Cursor(), CursorKind::Arrow);
  view->OnPointerUp(Press({200, 100}));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].first, (Point{200, 100}));
  EXPECT_EQ(clicks[0].second, 2);
}

TEST_F(PictureViewTest, LosingTheCaptureEndsThePressWithoutAClick) {
  int clicks = 0;
  view->SetOnClick([&](Point, int, PointerButton) { ++clicks; });
  view->OnPointerDown(Press({10, 10}));
  view->OnCaptureLost();
  EXPECT_FALSE(view->OnPointerUp(Press({10, 10})));
  EXPECT_EQ(clicks, 0);
}

TEST_F(PictureViewTest, TheWheelGoesToTheController) {
  EXPECT_FALSE(view->OnWheel(WheelEvent{}));
  float seen = 0;
  view->SetOnWheel([&](const WheelEvent& event) {
    seen = event.deltaY;
    return true;
  });
  EXPECT_TRUE(view->OnWheel(WheelEvent{{1, 2}, 0, -0.5f}));
  EXPECT_EQ(seen, -0.5f);
}

TEST_F(PictureViewTest, ZoomingAboutThePointerKeepsThatPointStill) {
  Show({Picture(2000, 1600)});  // fitted at 0.5
  const Point pointer{200, 100};
  const Point before = view->Model().ViewTransform().MapBack(pointer);
  EXPECT_TRUE(view->ZoomStep(1, pointer));
  const Point after = view->Model().ViewTransform().MapBack(pointer);
  EXPECT_NEAR(after.x, before.x, 0.01);
  EXPECT_NEAR(after.y, before.y, 0.01);
  EXPECT_TRUE(view->ZoomIsManual());
}

TEST_F(PictureViewTest, EveryChangeOfWhatIsShownIsReported) {
  Show({Picture(2000, 1600)});
  int before = changes;
  view->ZoomStep(1);
  view->SetFitMode(FitMode::Fill);
  view->Rotate(1);
  view->Flip(FlipAxis::Horizontal);
  EXPECT_EQ(changes, before + 4);
  before = changes;
  EXPECT_FALSE(view->ScrollBy(10, 0)) << "a fitted picture cannot pan";
  EXPECT_EQ(changes, before);
  Resize({900, 700});
  EXPECT_EQ(changes, before + 1);
  view->Clear();
  EXPECT_EQ(changes, before + 2);
  EXPECT_FALSE(view->ZoomStep(1)) << "nothing to zoom";
}

TEST_F(PictureViewTest, ClassNameAndHitTesting) {
  EXPECT_STREQ(view->ClassName(), "PictureView");
  EXPECT_TRUE(view->IsHitTestVisible());
}

}  // namespace
}  // namespace App
