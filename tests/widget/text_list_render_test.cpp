// The text list drawn through the real canvas in each theme and at two scales: rows stay in their bands,
// text is drawn whole, the selection shows its accent mark, and the scroll bar's thumb lies over the rows'
// right edge. The pictures are also written to the build tree (shots/text-list-*.png) for people to look at.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "widget/input/events.h"
#include "widget/list/text_list.h"
#include "widget/theme.h"
#include "widget/window.h"
#include "widget/window_image.h"

namespace Quarlo::Widget::List {
namespace {

constexpr float kWidth = 260;
constexpr float kHeight = 180;  // five rows and a half of 32
constexpr float kOffset = 48;   // one and a half rows scrolled away

struct Pixel {
  uint8_t b, g, r, a;
  friend bool operator==(const Pixel&, const Pixel&) = default;
};

Pixel At(const PixelImage& image, int x, int y) {
  const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
  return Pixel{p[0], p[1], p[2], p[3]};
}

int Distance(Pixel a, Color c) {
  auto channel = [](uint8_t v, float f) { return std::abs(v - static_cast<int>(std::lround(f * 255))); };
  return std::max({channel(a.r, c.r), channel(a.g, c.g), channel(a.b, c.b)});
}

int PixelDistance(Pixel a, Pixel b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

void WritePng(const PixelImage& image, const std::string& name) {
  std::filesystem::path folder = std::filesystem::path(QUARLO_BINARY_DIR) / "shots";
  std::filesystem::create_directories(folder);
  std::vector<uint8_t> png = EncodeImage(image, ImageOptions{});
  FILE* file = std::fopen((folder / name).c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(png.data(), 1, png.size(), file);
  std::fclose(file);
}

struct Shot {
  const char* name;
  Theme theme;
  float dpi;
};

TEST(TextListRender, RowsTextSelectionAndThumbInEveryTheme) {
  const Shot shots[] = {{"text-list-light.png", Theme::Light(kDefaultAccent), 96},
                        {"text-list-dark.png", Theme::Dark(kDefaultAccent), 96},
                        {"text-list-contrast.png", Theme::HighContrast(), 96},
                        {"text-list-light-150.png", Theme::Light(kDefaultAccent), 144}};
  for (const Shot& shot : shots) {
    SCOPED_TRACE(shot.name);
    Window window;
    auto* list = window.SetRoot(std::make_unique<TextList>());
    list->SetItems(1000, [](int64_t row) {
      return row == 3 ? std::string("사진 4 — a name long enough to be cut short at the edge.jpg")
                      : "Picture " + std::to_string(row + 1) + ".jpg";
    });
    WindowImageOptions options;
    options.size = {kWidth, kHeight};
    options.dpi = shot.dpi;
    options.theme = shot.theme;
    RenderWindowToImage(window, options);  // lays the list out at the image size
    list->Select(2, false);
    list->ScrollTo(kOffset, false);  // scroll activity: the thin thumb fades in (finished for the picture)
    const PixelImage image = RenderWindowToImage(window, options);
    WritePng(image, shot.name);

    const float scale = shot.dpi / 96;
    const Color background = shot.theme.Get(ThemeColor::WindowBackground);
    auto px = [&](float x, float y) {
      return At(image, static_cast<int>(x * scale), static_cast<int>(y * scale));
    };
    // The selected row (row 2, its top at 64 - 48 = 16) shows the accent mark at its left.
    EXPECT_LT(Distance(px(5.5f, 16 + 16), shot.theme.Get(ThemeColor::Accent)), 8);
    // Every visible row has ink in its text band, and none strays onto the boundary between rows.
    for (int row = 2; row < 7; ++row) {
      float top = row * 32 - kOffset;
      bool ink = false;
      bool stray = false;
      for (float x = 16; x < 120; x += 0.5f) {
        for (float y = top + 9; y < top + 23; y += 0.5f) {
          if (y >= 0 && y < kHeight && Distance(px(x, y), background) > 60) ink = true;
        }
        float boundary = top + 32;
        if (boundary < kHeight && row != 2 && Distance(px(x, boundary), background) > 60) stray = true;
      }
      EXPECT_TRUE(ink) << "row " << row;
      EXPECT_FALSE(stray) << "row " << row;
    }
    // The thin thumb: 2 DIPs wide, 2 from the right edge, at 48 / (32000 - 180) of the travel.
    float thumbY = static_cast<float>((kHeight - 20) * kOffset / (32000 - kHeight)) + 5;
    EXPECT_GT(Distance(px(kWidth - 3, thumbY), background), 40);
    EXPECT_EQ(px(kWidth - 1, thumbY), px(kWidth - 1, thumbY + 40));  // nothing beside it
  }
}

TEST(TextListRender, ThePointerOverTheBarWidensItOverTheRows) {
  for (const Shot& shot : {Shot{"text-list-bar-light.png", Theme::Light(kDefaultAccent), 96},
                           Shot{"text-list-bar-dark.png", Theme::Dark(kDefaultAccent), 96}}) {
    SCOPED_TRACE(shot.name);
    Window window;
    auto* list = window.SetRoot(std::make_unique<TextList>());
    list->SetItems(40, [](int64_t row) { return "Picture " + std::to_string(row + 1) + ".jpg"; });
    WindowImageOptions options;
    options.size = {kWidth, kHeight};
    options.theme = shot.theme;
    RenderWindowToImage(window, options);
    list->ScrollTo(400, false);
    PointerEvent move;
    move.position = {kWidth - 6, 120};
    window.PointerMove(move);
    const PixelImage image = RenderWindowToImage(window, options);
    WritePng(image, shot.name);

    const Color background = shot.theme.Get(ThemeColor::WindowBackground);
    // 40 rows of 32 in 180: the thumb is 180 × 180 / 1280 long, at 400 / 1100 of the travel, 6 wide.
    const int thumbTop = static_cast<int>((kHeight - 25.3125f) * 400 / 1100);
    const int middle = thumbTop + 12;
    const int right = static_cast<int>(kWidth);
    const Pixel thumb = At(image, right - 4, middle);
    const Pixel track = At(image, right - 10, middle);
    EXPECT_GT(PixelDistance(thumb, track), 40);
    EXPECT_LT(PixelDistance(At(image, right - 7, middle), thumb), 8);  // 6 wide: from 252 to 258
    EXPECT_LT(PixelDistance(At(image, right - 9, middle), track), 8);
    // The track lies over the rows' right edge, not beside them: rows keep the full width.
    EXPECT_GT(Distance(At(image, static_cast<int>(kWidth) - 10, thumbTop + 60), background), 0);
    EXPECT_EQ(list->Bar().Bounds(), (Rect{kWidth - 12, 0, 12, kHeight}));
    EXPECT_EQ(list->RowRect(13).width, kWidth);
  }
}

}  // namespace
}  // namespace Quarlo::Widget::List
