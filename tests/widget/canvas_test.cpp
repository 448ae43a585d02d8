// Drawing rules of the canvas, checked on a few pixels of offscreen images.

#include "widget/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "widget/pixel_image.h"

namespace Quarlo::Widget {
namespace {

struct Bgra {
  int b, g, r, a;
};

Bgra PixelAt(const PixelImage& image, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 4;
  return Bgra{image.pixels[at], image.pixels[at + 1], image.pixels[at + 2], image.pixels[at + 3]};
}

constexpr Color kRed{1, 0, 0, 1};
constexpr Color kBlue{0, 0, 1, 1};
constexpr Color kTransparent{0, 0, 0, 0};

PixelImage Draw(Size size, const std::function<void(Canvas&)>& draw, float dpi = 96) {
  return RenderToImage(size, dpi, kTransparent, draw);
}

bool IsRed(Bgra p) { return p.r > 240 && p.g < 15 && p.b < 15 && p.a > 240; }
bool IsEmpty(Bgra p) { return p.a == 0; }

TEST(CanvasGeometry, StrokeRectStaysInsideTheRectangle) {
  const PixelImage image = Draw({40, 40}, [](Canvas& c) { c.StrokeRect(Rect{10, 10, 20, 20}, kRed, 2); });
  EXPECT_TRUE(IsRed(PixelAt(image, 10, 10)));
  EXPECT_TRUE(IsRed(PixelAt(image, 11, 20)));
  EXPECT_TRUE(IsRed(PixelAt(image, 29, 29)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 9, 9)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 30, 20)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 20, 20)));
}

TEST(CanvasGeometry, StrokeAsWideAsTheRectangleFillsIt) {
  const PixelImage image = Draw({40, 40}, [](Canvas& c) {
    c.StrokeRect(Rect{0, 0, 8, 30}, kRed, 10);
    c.StrokeRoundedRect(Rect{20, 0, 12, 30}, 2, kBlue, 6);
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 4, 15)));
  EXPECT_EQ(PixelAt(image, 26, 15).b, 255);
}

TEST(CanvasGeometry, RoundedRectRadiusIsClampedToHalfTheSmallerSide) {
  // Radius 50 on 40 × 20 draws with radius 10: the ends are half circles, the middle is full.
  const PixelImage image = Draw({40, 20}, [](Canvas& c) { c.FillRoundedRect(Rect{0, 0, 40, 20}, 50, kRed); });
  EXPECT_TRUE(IsRed(PixelAt(image, 20, 10)));
  EXPECT_TRUE(IsRed(PixelAt(image, 1, 10)));
  EXPECT_TRUE(IsRed(PixelAt(image, 20, 0)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 1, 1)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 38, 18)));
}

TEST(CanvasGeometry, StrokeEllipseShrinksTheRadiiByHalfTheWidth) {
  const PixelImage image = Draw({40, 40}, [](Canvas& c) { c.StrokeEllipse(Point{20, 20}, 20, 20, kRed, 4); });
  EXPECT_TRUE(IsRed(PixelAt(image, 1, 20)));  // the stroke covers 0..4 from the edge
  EXPECT_TRUE(IsEmpty(PixelAt(image, 6, 20)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 20, 20)));
}

TEST(CanvasGeometry, SnapRectRoundsEdgesToDevicePixelsThroughPushedTranslations) {
  struct Case {
    float dpi;
    Point translation;
    Rect input;
    Rect expected;
  };
  const Case cases[] = {
      {96, {0, 0}, {1.4f, 2.6f, 10.2f, 3.3f}, {1, 3, 11, 3}},
      {144, {0, 0}, {1, 1, 10, 10}, {4.0f / 3, 4.0f / 3, 10, 10}},
      {144, {0.3f, 0}, {1, 1, 10, 10}, {2.0f / 1.5f - 0.3f, 4.0f / 3, 10, 10}},
  };
  for (const Case& test : cases) {
    Rect snapped;
    Draw(
        {4, 4},
        [&](Canvas& c) {
          c.PushTransform(Matrix::Translation(test.translation.x, test.translation.y));
          snapped = c.SnapRect(test.input);
          c.PopTransform();
        },
        test.dpi);
    const float s = test.dpi / 96;
    // Every snapped edge, moved by the translation, lands on a whole device pixel.
    for (float edge : {snapped.x + test.translation.x, snapped.Right() + test.translation.x}) {
      EXPECT_NEAR(edge * s, std::round(edge * s), 1e-3) << test.dpi;
    }
    for (float edge : {snapped.y + test.translation.y, snapped.Bottom() + test.translation.y}) {
      EXPECT_NEAR(edge * s, std::round(edge * s), 1e-3) << test.dpi;
    }
    EXPECT_NEAR(snapped.x, test.expected.x, 1e-3);
    EXPECT_NEAR(snapped.y, test.expected.y, 1e-3);
    EXPECT_NEAR(snapped.width, test.expected.width, 1e-3);
    EXPECT_NEAR(snapped.height, test.expected.height, 1e-3);
  }
}

TEST(CanvasStacks, ClipLimitsDrawingUntilPopped) {
  const PixelImage image = Draw({20, 20}, [](Canvas& c) {
    c.PushClip(Rect{0, 0, 10, 10});
    c.FillRect(Rect{0, 0, 20, 20}, kRed);
    c.PopClip();
    c.FillRect(Rect{15, 15, 5, 5}, kBlue);
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 5, 5)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 12, 12)));
  EXPECT_EQ(PixelAt(image, 17, 17).b, 255);
}

TEST(CanvasStacks, ClipFollowsTheTransformAndOutlivesItsPop) {
  const PixelImage image = Draw({30, 30}, [](Canvas& c) {
    c.PushTransform(Matrix::Translation(10, 10));
    c.PushClip(Rect{0, 0, 5, 5});
    c.PopTransform();
    c.FillRect(Rect{0, 0, 30, 30}, kRed);  // clipped to (10, 10, 5, 5) in the untransformed space
    c.PopClip();
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 12, 12)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 2, 2)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 16, 16)));
}

TEST(CanvasStacks, OpacityLayerCompositesTheGroupOnce) {
  const PixelImage image = Draw({20, 20}, [](Canvas& c) {
    c.PushOpacity(0.5f);
    c.FillRect(Rect{0, 0, 15, 20}, kRed);
    c.FillRect(Rect{5, 0, 15, 20}, kRed);  // overlap stays at half alpha, not three quarters
    c.PopOpacity();
  });
  EXPECT_NEAR(PixelAt(image, 10, 10).a, 128, 2);
  EXPECT_NEAR(PixelAt(image, 2, 10).a, 128, 2);
}

TEST(CanvasStacks, PopOpacityWithAClipOnTopDoesNothing) {
  const PixelImage image = Draw({20, 20}, [](Canvas& c) {
    c.PushOpacity(0.5f);
    c.PushClip(Rect{0, 0, 10, 10});
    c.PopOpacity();  // ignored: the clip is on top
    c.FillRect(Rect{0, 0, 20, 20}, kRed);
    c.PopClip();
    c.PopOpacity();
    c.FillRect(Rect{15, 15, 5, 5}, kBlue);
  });
  EXPECT_NEAR(PixelAt(image, 5, 5).a, 128, 2);
  EXPECT_TRUE(IsEmpty(PixelAt(image, 12, 12)));
  EXPECT_EQ(PixelAt(image, 17, 17).a, 255);
}

TEST(CanvasStacks, UnbalancedPushesAreClosedWhenThePaintEnds) {
  const PixelImage image = Draw({20, 20}, [](Canvas& c) {
    c.PushOpacity(0.5f);
    c.PushClip(Rect{0, 0, 10, 10});
    c.FillRect(Rect{0, 0, 20, 20}, kRed);
  });
  EXPECT_NEAR(PixelAt(image, 5, 5).a, 128, 2);
  EXPECT_TRUE(IsEmpty(PixelAt(image, 15, 15)));
}

TEST(CanvasStacks, TransformsComposeWithTheMatrixAppliedFirst) {
  const PixelImage image = Draw({40, 40}, [](Canvas& c) {
    c.PushTransform(Matrix::Translation(20, 0));
    c.PushTransform(Matrix::Scaling(2, 2));
    c.FillRect(Rect{0, 0, 5, 5}, kRed);  // scaled to 10 × 10, then moved right by 20
    c.PopTransform();
    c.FillRect(Rect{0, 30, 5, 5}, kBlue);
    c.PopTransform();
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 29, 9)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 31, 5)));
  EXPECT_EQ(PixelAt(image, 22, 32).b, 255);
}

TEST(CanvasStacks, ACollapsedTransformHidesOnlyWhatIsDrawnUnderIt) {
  const PixelImage image = Draw({20, 20}, [](Canvas& c) {
    c.PushTransform(Matrix::Scaling(0, 0));  // an element zooming in from nothing
    c.FillRect(Rect{0, 0, 20, 20}, kRed);
    c.PushClip(Rect{0, 0, 20, 20});
    c.PushTransform(Matrix::Translation(NAN, 0));
    c.FillRect(Rect{0, 0, 20, 20}, kRed);
    c.PopTransform();
    c.PopClip();
    c.PopTransform();
    c.FillRect(Rect{10, 10, 10, 10}, kBlue);
  });
  EXPECT_TRUE(IsEmpty(PixelAt(image, 5, 5)));
  EXPECT_EQ(PixelAt(image, 15, 15).b, 255);
}

TEST(CanvasGradients, LinearGradientClampsBeyondItsEnds) {
  Gradient gradient;
  gradient.start = {10, 0};
  gradient.end = {90, 0};
  gradient.stops = {{1, Color{1, 1, 1, 1}}, {0, Color{0, 0, 0, 1}}};  // out of order on purpose
  const PixelImage image = Draw({100, 4}, [&](Canvas& c) {
    c.FillRectGradient(Rect{0, 0, 100, 4}, gradient);
  });
  EXPECT_LT(PixelAt(image, 2, 1).r, 3);
  EXPECT_GT(PixelAt(image, 97, 1).r, 252);
  EXPECT_NEAR(PixelAt(image, 50, 1).r, 128, 4);
}

TEST(CanvasGradients, RadialGradientIsAnEllipseAroundItsCentre) {
  Gradient gradient;
  gradient.radial = true;
  gradient.start = {50, 20};
  gradient.radiusX = 40;
  gradient.radiusY = 10;
  gradient.stops = {{0, kRed}, {1, kBlue}};
  const PixelImage image = Draw({100, 40}, [&](Canvas& c) {
    c.FillRectGradient(Rect{0, 0, 100, 40}, gradient);
  });
  EXPECT_GT(PixelAt(image, 50, 20).r, 240);
  EXPECT_GT(PixelAt(image, 50, 31).b, 240);  // 11 below the centre is past radiusY
  EXPECT_GT(PixelAt(image, 80, 20).r, 40);   // 30 to the side is still inside radiusX
}

TEST(CanvasGeometry, NonFiniteShapesSpoilNothingAfterThem) {
  const std::function<void(Canvas&)> shapes[] = {
      [](Canvas& c) {
        c.FillEllipse(Point{NAN, 5}, 3, 3, kRed);
      },
      [](Canvas& c) {
        c.FillEllipse(Point{5, 5}, INFINITY, 3, kRed);
      },
      [](Canvas& c) {
        c.StrokeEllipse(Point{5, 5}, 4, 4, kRed, NAN);
      },
      [](Canvas& c) {
        c.FillRoundedRect(Rect{0, 0, INFINITY, INFINITY}, 3, kRed);
      },
      [](Canvas& c) {
        c.PushRoundedClip(Rect{0, 0, 5, 5}, NAN);
        c.PopClip();
      },
      [](Canvas& c) {
        c.PushOpacity(NAN);
        c.PopOpacity();
      },
  };
  for (size_t i = 0; i < std::size(shapes); ++i) {
    const PixelImage image = Draw({20, 20}, [&](Canvas& c) {
      shapes[i](c);
      c.FillRect(Rect{10, 10, 10, 10}, kBlue);
    });
    EXPECT_EQ(PixelAt(image, 15, 15).b, 255) << i;
  }
}

TEST(CanvasGradients, ExtremeGradientsSpoilNothingAfterThem) {
  Gradient flat;
  flat.radial = true;
  flat.start = {10, 10};
  flat.radiusX = 1e-40f;  // its reciprocal is not even a float
  flat.radiusY = 5;
  flat.stops = {{0, kRed}};
  Gradient broken;
  broken.start = {NAN, 0};
  broken.stops = {{0, kRed}};
  const PixelImage image = Draw({20, 20}, [&](Canvas& c) {
    c.FillRectGradient(Rect{0, 0, 20, 20}, flat);
    c.FillRectGradient(Rect{0, 0, 20, 20}, broken);
    c.DrawLine(Point{0, 0}, Point{20, 20}, kRed, INFINITY);
    c.FillRect(Rect{10, 10, 10, 10}, kBlue);
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 5, 5)));  // past the vanishing radius the last stop extends
  EXPECT_EQ(PixelAt(image, 15, 15).b, 255);
}

TEST(CanvasPaths, FillAndStrokeFollowTheCommands) {
  Path triangle;
  triangle.MoveTo({0, 0}).LineTo({30, 0}).QuadraticTo({30, 30}, {0, 30}).Close();
  StrokeStyle dashed;
  dashed.width = 2;
  dashed.dash = DashStyle::Dash;  // 8 on, 4 off
  const PixelImage image = Draw({40, 50}, [&](Canvas& c) {
    c.FillPath(triangle, kRed);
    c.DrawLine(Point{0, 40}, Point{40, 40}, kBlue, dashed);
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 10, 10)));
  EXPECT_TRUE(IsEmpty(PixelAt(image, 35, 28)));
  EXPECT_EQ(PixelAt(image, 4, 40).b, 255);
  EXPECT_TRUE(IsEmpty(PixelAt(image, 10, 40)));
  EXPECT_EQ(PixelAt(image, 14, 40).b, 255);
}

TEST(CanvasBitmaps, FromPixelsNeedsAPositiveSizeAndEnoughBytes) {
  EXPECT_FALSE(Bitmap::FromPixels(2, 2, std::vector<uint8_t>(15)));
  EXPECT_FALSE(Bitmap::FromPixels(0, 2, std::vector<uint8_t>(16)));
  EXPECT_FALSE(Bitmap::Wrap(2, 2, nullptr, nullptr));
  const Bitmap bitmap = Bitmap::FromPixels(2, 2, std::vector<uint8_t>(20, 7));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Pixels()[15], 7);
}

TEST(CanvasBitmaps, WrappedPixelsAreDrawnPremultipliedWithoutACopy) {
  // Half-transparent red, premultiplied: B 0, G 0, R 128, A 128; over white it reads as pink.
  auto pixels = std::make_shared<std::vector<uint8_t>>(std::vector<uint8_t>{0, 0, 128, 128, 255, 0, 0, 255});
  const Bitmap bitmap = Bitmap::Wrap(2, 1, pixels, pixels->data());
  EXPECT_EQ(bitmap.Pixels(), pixels->data());
  const PixelImage image = RenderToImage({20, 10}, 96, Color{1, 1, 1, 1}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 20, 10}, Rect{}, 1, Interpolation::NearestNeighbor);
  });
  const Bgra pink = PixelAt(image, 4, 5);
  EXPECT_EQ(pink.a, 255);
  EXPECT_NEAR(pink.r, 255, 1);
  EXPECT_NEAR(pink.g, 127, 2);
  const Bgra blue = PixelAt(image, 15, 5);
  EXPECT_EQ(blue.b, 255);
  EXPECT_EQ(blue.r, 0);
}

TEST(CanvasBitmaps, SourceRectanglePicksPartOfTheBitmap) {
  std::vector<uint8_t> pixels;
  for (int x = 0; x < 4; ++x) {
    pixels.insert(pixels.end(), {uint8_t(x * 60), 0, 0, 255});
  }
  const Bitmap bitmap = Bitmap::FromPixels(4, 1, pixels);
  const PixelImage image = Draw({10, 10}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 10, 10}, Rect{2, 0, 1, 1}, 1, Interpolation::NearestNeighbor);
  });
  EXPECT_EQ(PixelAt(image, 5, 5).b, 120);
}

TEST(CanvasBitmaps, DownscaledCheckerboardIsEvenGreyNotAliased) {
  // One-pixel black and white squares shrunk ninefold must average out; bilinear sampling of the picture
  // itself lands on pixel centres at this factor and would give pure black and white.
  constexpr int kSide = 999;
  std::vector<uint8_t> pixels(static_cast<size_t>(kSide) * kSide * 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const uint8_t v = (x + y) % 2 == 0 ? 255 : 0;
      uint8_t* p = &pixels[(static_cast<size_t>(y) * kSide + x) * 4];
      p[0] = p[1] = p[2] = v;
      p[3] = 255;
    }
  }
  const Bitmap bitmap = Bitmap::FromPixels(kSide, kSide, pixels);
  for (Interpolation mode : {Interpolation::Linear, Interpolation::HighQualityCubic}) {
    const PixelImage image = Draw({111, 111}, [&](Canvas& c) {
      c.DrawBitmap(bitmap, Rect{0, 0, 111, 111}, Rect{}, 1, mode);
    });
    int worst = 0;
    for (int y = 5; y < 95; y += 7) {
      for (int x = 5; x < 95; x += 3) worst = std::max(worst, std::abs(PixelAt(image, x, y).g - 128));
    }
    EXPECT_LT(worst, 12) << static_cast<int>(mode);
  }
}

TEST(CanvasBitmaps, PicturesWiderThanCairoSurfacesStillDraw) {
  // 40 000 pixels wide: green up to x 30 000, red beyond.
  constexpr int kWidth = 40000;
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * 2 * 4);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
      p[1] = x < 30000 ? 255 : 0;
      p[2] = x < 30000 ? 0 : 255;
      p[3] = 255;
    }
  }
  const Bitmap bitmap = Bitmap::FromPixels(kWidth, 2, pixels);
  const PixelImage whole = Draw({400, 10}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 400, 10}, Rect{}, 1, Interpolation::Linear);
  });
  EXPECT_EQ(PixelAt(whole, 100, 5).g, 255);
  EXPECT_EQ(PixelAt(whole, 350, 5).r, 255);
  const PixelImage detail = Draw({20, 2}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 20, 2}, Rect{29990, 0, 20, 2}, 1, Interpolation::NearestNeighbor);
  });
  EXPECT_EQ(PixelAt(detail, 5, 0).g, 255);
  EXPECT_EQ(PixelAt(detail, 15, 0).r, 255);
}

TEST(CanvasBitmaps, NeighbouringTilesMeetWithoutASeam) {
  // Two tiles of one picture placed at a fractional offset and scale, as the picture view draws them.
  const Bitmap left = Bitmap::FromPixels(1, 1, {0, 0, 255, 255});
  const Bitmap right = Bitmap::FromPixels(1, 1, {0, 0, 255, 255});
  const PixelImage image = Draw({20, 4}, [&](Canvas& c) {
    c.DrawBitmap(left, Rect{0.3f, 0, 7.45f, 4}, Rect{}, 1, Interpolation::Linear);
    c.DrawBitmap(right, Rect{7.75f, 0, 7.45f, 4}, Rect{}, 1, Interpolation::Linear);
  });
  for (int x = 1; x < 15; ++x) EXPECT_EQ(PixelAt(image, x, 2).a, 255) << x;
}

TEST(CanvasBitmaps, ShrunkDrawsSampleTheLevelsGivenWithTheBitmap) {
  // A red 8 × 8 picture whose given 4 × 4 copy is green: a draw at half size or less must come from the
  // copy, not from halving the picture again.
  auto red = std::make_shared<std::vector<uint8_t>>();
  for (int i = 0; i < 64; ++i) red->insert(red->end(), {0, 0, 255, 255});
  auto green = std::make_shared<std::vector<uint8_t>>();
  for (int i = 0; i < 16; ++i) green->insert(green->end(), {0, 255, 0, 255});
  const Bitmap bitmap = Bitmap::WrapWithLevels(8, 8, red, red->data(), {{4, 4, green, green->data()}});
  ASSERT_EQ(bitmap.LevelCount(), 1u);
  const PixelImage image = Draw({4, 4}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 4, 4}, Rect{}, 1, Interpolation::Linear);
  });
  EXPECT_EQ(PixelAt(image, 2, 2).g, 255);
  EXPECT_EQ(PixelAt(image, 2, 2).r, 0);
  // Drawn smaller still, the canvas halves the given copy, not the picture.
  const PixelImage smaller = Draw({1, 1}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 1, 1}, Rect{}, 1, Interpolation::Linear);
  });
  EXPECT_EQ(PixelAt(smaller, 0, 0).g, 255);
  EXPECT_EQ(bitmap.LevelCount(), 3u);
}

TEST(CanvasBitmaps, SmallBitmapsDrawnShrunkKeepTheirShrunkCopyForTheNextDraw) {
  // Left half blue, right half red, 64 × 32: shrunk to 40 × 20 at 100 % and to 60 × 30 at 150 %.
  std::vector<uint8_t> pixels;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x)
      pixels.insert(pixels.end(), {uint8_t(x < 32 ? 255 : 0), 0, uint8_t(x < 32 ? 0 : 255), 255});
  }
  const Bitmap bitmap = Bitmap::FromPixels(64, 32, pixels);
  const auto draw = [&](float dpi) {
    return Draw(
        {40, 20},
        [&](Canvas& c) {
          c.DrawBitmap(bitmap, Rect{0, 0, 40, 20}, Rect{}, 1, Interpolation::HighQualityCubic);
        },
        dpi);
  };
  const PixelImage first = draw(96);
  EXPECT_EQ(bitmap.Get()->scaledWidth, 40);
  EXPECT_EQ(bitmap.Get()->scaledHeight, 20);
  const uint8_t* copy = bitmap.Get()->scaledPixels.data();
  const PixelImage again = draw(96);
  EXPECT_EQ(bitmap.Get()->scaledPixels.data(), copy);  // reused, not made again
  for (const PixelImage* image : {&first, &again}) {
    EXPECT_EQ(PixelAt(*image, 5, 10).b, 255);
    EXPECT_EQ(PixelAt(*image, 35, 10).r, 255);
    EXPECT_EQ(PixelAt(*image, 35, 10).b, 0);
  }
  const PixelImage larger = draw(144);
  EXPECT_EQ(bitmap.Get()->scaledWidth, 60);
  EXPECT_EQ(PixelAt(larger, 55, 15).r, 255);
  EXPECT_EQ(PixelAt(larger, 4, 15).b, 255);
}

TEST(CanvasBitmaps, GivenLevelsStopAtTheFirstThatIsNotAHalving) {
  auto pixels = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(9 * 5 * 4), 255);
  const uint8_t* p = pixels->data();
  EXPECT_EQ(Bitmap::WrapWithLevels(9, 5, pixels, p, {{4, 2, pixels, p}, {2, 1, pixels, p}}).LevelCount(), 2u);
  EXPECT_EQ(Bitmap::WrapWithLevels(9, 5, pixels, p, {{4, 2, pixels, p}, {3, 1, pixels, p}}).LevelCount(), 1u);
  EXPECT_EQ(Bitmap::WrapWithLevels(9, 5, pixels, p, {{5, 3, pixels, p}}).LevelCount(), 0u);
  EXPECT_EQ(Bitmap::WrapWithLevels(9, 5, pixels, p, {{4, 2, pixels, nullptr}}).LevelCount(), 0u);
  EXPECT_FALSE(Bitmap::WrapWithLevels(9, 5, pixels, nullptr, {}));
}

TEST(CanvasBitmaps, OpacityScalesTheBitmap) {
  const Bitmap bitmap = Bitmap::FromPixels(1, 1, {0, 0, 255, 255});
  const PixelImage image = Draw({4, 4}, [&](Canvas& c) {
    c.DrawBitmap(bitmap, Rect{0, 0, 4, 4}, Rect{}, 0.25f, Interpolation::Linear);
  });
  EXPECT_NEAR(PixelAt(image, 2, 2).a, 64, 2);
}

TEST(CanvasOffscreen, SizeFollowsTheDpiRoundedUp) {
  const PixelImage image = RenderToImage({10.2f, 0}, 144, kTransparent, nullptr);
  EXPECT_EQ(image.width, 16u);
  EXPECT_EQ(image.height, 1u);
  EXPECT_FLOAT_EQ(image.dpi, 144);
  EXPECT_TRUE(RenderToImage({30000, 10}, 192, kTransparent, nullptr).Empty());
}

TEST(CanvasStacks, ClipUnderRotationIsTheBoundingBox) {
  const PixelImage image = Draw({40, 40}, [](Canvas& c) {
    c.PushTransform(Matrix::Rotation(45, Point{20, 20}));
    c.PushClip(Rect{10, 10, 20, 20});  // a diamond whose bounds reach 20 ± 14.1
    c.PopTransform();
    c.FillRect(Rect{0, 0, 40, 40}, kRed);
    c.PopClip();
  });
  EXPECT_TRUE(IsRed(PixelAt(image, 7, 7)));  // outside the diamond, inside its bounds
  EXPECT_TRUE(IsEmpty(PixelAt(image, 4, 20)));
}

TEST(ImageCoding, PngRoundTripKeepsPixels) {
  PixelImage image;
  image.width = 3;
  image.height = 1;
  image.pixels = {255, 0, 0, 255, 0, 0, 0, 0, 40, 20, 64, 128};
  const std::vector<uint8_t> png = EncodeImage(image, ImageOptions{});
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  const PixelImage back = DecodeImage(png);
  ASSERT_EQ(back.width, 3u);
  ASSERT_EQ(back.pixels.size(), image.pixels.size());
  for (size_t i = 0; i < image.pixels.size(); ++i) EXPECT_NEAR(back.pixels[i], image.pixels[i], 1) << i;
  EXPECT_FLOAT_EQ(back.dpi, 96);
}

TEST(ImageCoding, BadInputGivesEmptyResults) {
  PixelImage mismatched;
  mismatched.width = 2;
  mismatched.height = 2;
  mismatched.pixels.resize(12);
  EXPECT_TRUE(EncodeImage(mismatched, ImageOptions{}).empty());
  PixelImage one;
  one.width = one.height = 1;
  one.pixels = {1, 2, 3, 255};
  EXPECT_TRUE(EncodeImage(one, ImageOptions{ImageFormat::Jpeg, 90}).empty());
  EXPECT_FALSE(EncodeImage(one, ImageOptions{static_cast<ImageFormat>(9), 90}).empty());  // unknown: PNG

  const std::vector<uint8_t> garbage{0x89, 'P', 'N', 'G', 1, 2, 3};
  const PixelImage decoded = DecodeImage(garbage);
  EXPECT_TRUE(decoded.Empty());
  EXPECT_FLOAT_EQ(decoded.dpi, 96);
  std::vector<uint8_t> truncated = EncodeImage(one, ImageOptions{});
  truncated.resize(truncated.size() / 2);
  EXPECT_TRUE(DecodeImage(truncated).Empty());
}

}  // namespace
}  // namespace Quarlo::Widget
