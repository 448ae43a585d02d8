// TileView on a headless host: tile geometry, pointer and keyboard rules, the prefetch range, virtualised
// painting and the tiles as accessibility items.

#include "widget/list/tile_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_host.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::List {
namespace {

using Testing::FakeHost;
using Testing::RecordingCanvas;
using Ranges = std::vector<IndexRange>;

// The default cell: (160 + 16) by (120 + 16 + 27).
constexpr float kCellWidth = 176;
constexpr float kCellHeight = 163;

class Source : public ITileDataSource {
 public:
  explicit Source(int64_t count) : count(count) {}
  int64_t Count() override { return count; }
  std::string_view Title(int64_t index) override {
    title = "tile " + std::to_string(index);
    return title;
  }
  Bitmap Thumbnail(int64_t index, int pixelWidth, int pixelHeight) override {
    asked.push_back(index);
    askedSize = {pixelWidth, pixelHeight};
    return ready ? Bitmap::FromPixels(bitmapWidth, 2, std::vector<uint8_t>(size_t(bitmapWidth) * 8, 255))
                 : Bitmap{};
  }
  void VisibleRangeChanged(int64_t first, int64_t n) override { ranges.emplace_back(first, n); }

  int64_t count;
  std::string title;
  bool ready = false;
  int bitmapWidth = 4;
  std::vector<int64_t> asked;
  std::pair<int, int> askedSize;
  std::vector<std::pair<int64_t, int64_t>> ranges;
};

// A window of the given size whose root is a tile view over `count` items.
struct Tiles {
  FakeHost host;
  Source source;
  TileView* view;
  std::vector<int64_t> invoked;

  explicit Tiles(int64_t count, Size size = {4 * kCellWidth + 20, 3 * kCellHeight}) : source(count) {
    host.SetClientSize(size);
    view = host.SetRoot(std::make_unique<TileView>());
    view->SetDataSource(&source);
    view->onItemInvoked = [this](int64_t i) { invoked.push_back(i); };
    host.Paint();
  }
  Point Centre(int64_t index) const {
    const Rect r = view->TileRect(index);
    return {r.x + r.width / 2, r.y + r.height / 2};
  }
  void Click(int64_t index, uint8_t modifiers = 0, int clicks = 1,
             PointerButton button = PointerButton::Left) {
    PointerEvent e;
    e.position = Centre(index);
    e.button = button;
    e.modifiers = modifiers;
    e.clicks = clicks;
    host.PointerDown(e);
    host.PointerUp(e);
  }
  bool Key(uint32_t key, uint8_t modifiers = 0) {
    KeyEvent e;
    e.key = key;
    e.modifiers = modifiers;
    return host.KeyDown(e);
  }
};

TEST(TileView, GeometryFollowsWidthTileSizeAndTextLines) {
  Tiles tiles(10);
  TileView& view = *tiles.view;
  EXPECT_EQ(view.RowHeight(), kCellHeight);
  EXPECT_EQ(view.Columns(), 4);
  // Four columns of 176 in 724: centred with 10 on each side.
  EXPECT_EQ(view.TileRect(5), (Rect{10 + kCellWidth, kCellHeight, kCellWidth, kCellHeight}));
  EXPECT_EQ(view.IndexAtPoint({5, 10}), -1);  // left of the grid
  EXPECT_EQ(view.IndexAtPoint({10 + kCellWidth + 1, 2 * kCellHeight + 1}), 9);
  EXPECT_EQ(view.IndexAtPoint({10 + 2 * kCellWidth + 1, 2 * kCellHeight + 1}), -1);  // past the last item

  view.SetTileSize({8, 8});
  EXPECT_EQ(view.Geometry().tileWidth, 16);
  EXPECT_EQ(view.Geometry().tileHeight, 16);
  view.SetTileSize({160, 160});
  view.SetTextLines(5);
  EXPECT_EQ(view.Geometry().textLines, 2);
  EXPECT_EQ(view.RowHeight(), 160 + 16 + 21 * 2 + 6);
  view.SetTextLines(0);
  EXPECT_EQ(view.RowHeight(), 176);

  tiles.host.SetClientSize(Size{300, 400});
  tiles.host.UpdateLayout();
  EXPECT_EQ(view.Columns(), 1);
}

TEST(TileView, ThumbnailsAreAskedAtTheDevicePixelSizeAndOnlyForVisibleTiles) {
  Tiles tiles(10'000);
  tiles.source.asked.clear();
  tiles.host.Paint(1.5f);
  // Three rows of four tiles touch the viewport.
  EXPECT_EQ(tiles.source.asked.size(), 12u);
  EXPECT_EQ(tiles.source.askedSize, (std::pair<int, int>{240, 180}));

  tiles.source.ready = true;
  const RecordingCanvas canvas = tiles.host.Paint();
  const auto bitmaps = canvas.Calls("DrawBitmap");
  ASSERT_EQ(bitmaps.size(), 12u);
  // A 4×2 bitmap fitted into the 160×120 box: 160×80, centred vertically.
  EXPECT_EQ(bitmaps[0].rect, (Rect{18, 28, 160, 80}));
  EXPECT_EQ(bitmaps[0].interpolation, Interpolation::HighQualityCubic);
}

// A thumbnail drawn at one device size is shrunk once and then copied; one that changed size by a pixel
// from frame to frame as the rows moved would be shrunk again at every frame of a scroll.
TEST(TileView, ThumbnailsKeepOneDeviceSizeAtEveryScrollOffset) {
  constexpr float kScale = 1.25f;
  Tiles tiles(10'000);
  tiles.source.ready = true;
  tiles.source.bitmapWidth = 3;  // fitted to 160 × 106.7, a height between device pixels
  std::set<std::pair<long, long>> sizes;
  for (double offset : {0.0, 10.3, 21.7, 33.4, 160.9, 333.5}) {
    tiles.view->ScrollTo(offset, false);
    const RecordingCanvas canvas = tiles.host.Paint(kScale);
    for (const auto& call : canvas.Calls("DrawBitmap")) {
      const float x = call.windowRect.x * kScale, y = call.windowRect.y * kScale;
      EXPECT_NEAR(x, std::round(x), 1e-3);
      EXPECT_NEAR(y, std::round(y), 1e-3);
      sizes.emplace(std::lround(call.windowRect.width * kScale), std::lround(call.windowRect.height * kScale));
    }
  }
  EXPECT_EQ(sizes, (std::set<std::pair<long, long>>{{200, 133}}));
}

TEST(TileView, PlaceholderAndEmptyText) {
  Tiles tiles(3);
  const RecordingCanvas withItems = tiles.host.Paint();
  EXPECT_EQ(withItems.Calls("DrawIcon").size(), 3u);
  EXPECT_EQ(withItems.Calls("DrawText").size(), 3u);

  tiles.source.count = 0;
  tiles.view->Reload();
  const RecordingCanvas empty = tiles.host.Paint();
  ASSERT_EQ(empty.Calls("DrawText").size(), 1u);
  EXPECT_TRUE(empty.Calls("DrawIcon").empty());
  EXPECT_FALSE(tiles.Key(Vk::Right) && tiles.view->selection.Focus() != -1);
  EXPECT_TRUE(tiles.invoked.empty());
}

TEST(TileView, PointerSelectionRules) {
  Tiles tiles(20);
  SelectionModel& selection = tiles.view->selection;
  tiles.Click(2);
  tiles.Click(6, Modifier::Shift);
  EXPECT_EQ(selection.Ranges(), (Ranges{{2, 7}}));
  tiles.Click(9, Modifier::Ctrl);
  EXPECT_EQ(selection.Ranges(), (Ranges{{2, 7}, {9, 10}}));
  EXPECT_EQ(selection.Anchor(), 9);
  tiles.Click(11, Modifier::Ctrl | Modifier::Shift);
  EXPECT_EQ(selection.Ranges(), (Ranges{{2, 7}, {9, 12}}));

  // A plain click on one item of a multiple selection narrows it on release.
  tiles.Click(4);
  EXPECT_EQ(selection.Ranges(), (Ranges{{4, 5}}));

  tiles.Click(7, 0, 2);  // double click invokes
  EXPECT_EQ(tiles.invoked, (std::vector<int64_t>{7}));
}

TEST(TileView, DragFromASelectedTileCarriesTheWholeSelection) {
  Tiles tiles(20);
  std::vector<TileDragInfo> drags;
  tiles.view->onDragStart = [&](const TileDragInfo& info) { drags.push_back(info); };
  tiles.view->selection.AddRange({1, 4});
  PointerEvent e;
  e.position = tiles.Centre(2);
  e.button = PointerButton::Left;
  e.clicks = 1;
  tiles.host.PointerDown(e);
  e.button = PointerButton::None;
  e.clicks = 0;
  e.position.x += 3;
  tiles.host.PointerMove(e);
  EXPECT_TRUE(drags.empty());  // not past 4 DIPs yet
  e.position.x += 3;
  tiles.host.PointerMove(e);
  ASSERT_EQ(drags.size(), 1u);
  EXPECT_EQ(drags[0].ranges, (Ranges{{1, 4}}));
  EXPECT_EQ(drags[0].index, 2);
  e.button = PointerButton::Left;
  tiles.host.PointerUp(e);
  EXPECT_EQ(tiles.view->selection.Ranges(), (Ranges{{1, 4}}));  // the drag kept the selection
}

TEST(TileView, ContextMenuByPointerAndKeyboard) {
  Tiles tiles(20);
  std::vector<std::pair<int64_t, bool>> menus;
  Point lastPoint;
  tiles.view->onContextMenu = [&](int64_t index, Point window, bool byKeyboard) {
    menus.emplace_back(index, byKeyboard);
    lastPoint = window;
  };
  EXPECT_TRUE(tiles.Key(Vk::F1 + 9, Modifier::Shift));  // nothing focused
  EXPECT_EQ(lastPoint, (Point{24, 8}));
  tiles.view->selection.AddRange({0, 3});
  tiles.Click(1, 0, 1, PointerButton::Right);  // a selected tile keeps the selection
  EXPECT_EQ(tiles.view->selection.Ranges(), (Ranges{{0, 3}}));
  tiles.Click(8, 0, 1, PointerButton::Right);  // an unselected one is selected alone
  EXPECT_EQ(tiles.view->selection.Ranges(), (Ranges{{8, 9}}));
  EXPECT_EQ(menus, (std::vector<std::pair<int64_t, bool>>{{-1, true}, {1, false}, {8, false}}));
  EXPECT_FALSE(tiles.Key(Vk::F1 + 9));  // F10 without Shift is not the view's
}

TEST(TileView, KeyboardTable) {
  Tiles tiles(10);
  TileView& view = *tiles.view;
  EXPECT_TRUE(tiles.Key(Vk::Right));  // nothing focused: the first item
  EXPECT_EQ(view.selection.Focus(), 0);
  EXPECT_TRUE(tiles.Key(Vk::Down));
  EXPECT_TRUE(tiles.Key(Vk::Down));
  EXPECT_EQ(view.selection.Focus(), 8);
  EXPECT_TRUE(tiles.Key(Vk::Down));  // last row, no wrap
  EXPECT_EQ(view.selection.Focus(), 8);
  EXPECT_TRUE(tiles.Key(Vk::Home, Modifier::Shift));
  EXPECT_EQ(view.selection.Ranges(), (Ranges{{0, 9}}));
  EXPECT_TRUE(tiles.Key(Vk::End, Modifier::Ctrl));
  EXPECT_TRUE(tiles.Key(Vk::Space, Modifier::Ctrl));
  EXPECT_EQ(view.selection.Ranges(), (Ranges{{0, 10}}));
  EXPECT_TRUE(tiles.Key(Vk::Space));
  EXPECT_EQ(view.selection.Ranges(), (Ranges{{9, 10}}));
  EXPECT_FALSE(tiles.Key(Vk::A));
  EXPECT_TRUE(tiles.Key(Vk::A, Modifier::Ctrl));
  EXPECT_EQ(view.selection.SelectedCount(), 10);
  EXPECT_TRUE(tiles.Key(Vk::Enter));
  EXPECT_EQ(tiles.invoked, (std::vector<int64_t>{9}));
  EXPECT_FALSE(tiles.Key(Vk::Escape));
}

TEST(TileView, PrefetchRangeCoversAPageOfRowsAroundTheViewAndIsToldOnce) {
  Tiles tiles(1000);
  // Three rows visible (0..2), three whole rows in view: rows 0..5 of four tiles.
  ASSERT_FALSE(tiles.source.ranges.empty());
  EXPECT_EQ(tiles.source.ranges.back(), (std::pair<int64_t, int64_t>{0, 24}));
  const size_t told = tiles.source.ranges.size();
  tiles.host.Paint();
  tiles.host.UpdateLayout();
  EXPECT_EQ(tiles.source.ranges.size(), told);

  tiles.view->ScrollTo(10 * kCellHeight, false);  // rows 10..12 visible
  EXPECT_EQ(tiles.source.ranges.back(), (std::pair<int64_t, int64_t>{7 * 4, 9 * 4}));
}

TEST(TileView, ResizingKeepsTheFirstVisibleItemInTheTopRow) {
  Tiles tiles(1000);
  tiles.view->ScrollTo(20 * kCellHeight, false);  // first visible item 80
  int viewportChanges = 0;
  tiles.view->onViewportChanged = [&] { ++viewportChanges; };
  tiles.host.SetClientSize({2 * kCellWidth, 3 * kCellHeight});
  tiles.host.UpdateLayout();
  EXPECT_EQ(tiles.view->Columns(), 2);
  EXPECT_EQ(tiles.view->Rows().FirstVisibleRow(), 40);
  EXPECT_GE(viewportChanges, 1);
}

TEST(TileView, SelectAndRevealAndReloadAndCountChanges) {
  Tiles tiles(1000);
  tiles.view->SelectAndReveal(500);  // row 125
  EXPECT_EQ(tiles.view->selection.Ranges(), (Ranges{{500, 501}}));
  EXPECT_EQ(tiles.view->Rows().FirstVisibleRow(), 123);
  tiles.view->ScrollIndexIntoView(0, ScrollAlignment::Center, false);
  EXPECT_EQ(tiles.view->Rows().Offset(), 0);

  int notified = 0;
  tiles.view->onSelectionChanged = [&](const SelectionChange&) { ++notified; };
  tiles.view->Reload();  // same count: cleared with a notification
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(tiles.view->selection.SelectedCount(), 0);

  tiles.view->selection.SelectOnly(3);
  tiles.source.count = 7;
  tiles.view->SetDataSource(&tiles.source);  // another count: a fresh model, no notification
  EXPECT_EQ(notified, 2);
  EXPECT_EQ(tiles.view->selection.Count(), 7);
  EXPECT_EQ(tiles.view->selection.Focus(), -1);
  tiles.view->selection.SelectOnly(1);  // still forwarded
  EXPECT_EQ(notified, 3);
}

TEST(TileView, TilesAsAccessibilityItems) {
  Tiles tiles(10);
  TileView& view = *tiles.view;
  EXPECT_EQ(view.ItemChildCount(0), 10);
  EXPECT_EQ(view.ItemChildAt(0, 9), 10u);
  EXPECT_EQ(view.ItemChildAt(0, 10), 0u);
  ItemInfo info;
  ASSERT_TRUE(view.ItemInformation(7, info));
  EXPECT_EQ(info.name, "tile 6");
  EXPECT_EQ(info.row, 1);
  EXPECT_EQ(info.column, 2);
  EXPECT_EQ(info.positionInSet, 7);
  EXPECT_EQ(info.sizeOfSet, 10);
  EXPECT_FALSE(view.ItemInformation(11, info));
  EXPECT_TRUE(view.SelectItem(3, SelectAction::Select));
  EXPECT_TRUE(view.SelectItem(5, SelectAction::Add));
  EXPECT_EQ(view.Selection(), (std::vector<ItemId>{3, 5}));
  EXPECT_TRUE(view.InvokeItem(5));
  EXPECT_EQ(tiles.invoked, (std::vector<int64_t>{4}));
  EXPECT_EQ(view.ItemAtPoint(tiles.Centre(2)), 3u);
  EXPECT_STREQ(view.ClassName(), "TileView");
}

}  // namespace
}  // namespace Quarlo::Widget::List
