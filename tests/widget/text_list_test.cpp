// VirtualRowsView through its text list: only visible rows are laid out (plus overscan), drawn and
// exposed; layouts are recycled while scrolling; wheel notches glide on the host's animator clock; keys
// page the selection; the overlay bar drags the list; accessibility reads the visible rows.

#include "widget/list/text_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "support/fake_host.h"
#include "widget/animator.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::List {
namespace {

using Testing::FakeHost;
using Testing::RecordingCanvas;

constexpr float kWidth = 300;
constexpr float kRow = 32;        // the theme's control height
constexpr float kViewport = 320;  // ten rows
constexpr double kFrame = 0.016;

std::string RowText(int64_t row) { return "Row " + std::to_string(row); }

// A 300×320 window whose root is a text list of `count` rows.
struct Listed {
  FakeHost host;
  TextList* list;
  int selectionChanges = 0;

  explicit Listed(int64_t count = 100) {
    host.SetClientSize({kWidth, kViewport});
    list = host.SetRoot(std::make_unique<TextList>());
    list->SetItems(count, RowText);
    list->onSelectionChanged = [this](int64_t) { ++selectionChanges; };
    host.Paint();
  }

  RecordingCanvas Frame(double seconds = kFrame) {
    host.Advance(seconds);
    return host.Paint();
  }
  // Frames until the glide ends (at most two seconds).
  void Settle() {
    for (int i = 0; i < 125 && list->IsGliding(); ++i) Frame();
  }
  double Offset() const { return list->Rows().Offset(); }
  size_t TextsDrawn() { return host.Paint().Calls("DrawText").size(); }
  void Notch(float deltaY, bool precise = false) {
    WheelEvent e;
    e.position = {100, 100};
    e.deltaY = deltaY;
    e.precise = precise;
    host.Wheel(e);
  }
  bool Press(uint32_t key) {
    KeyEvent e;
    e.key = key;
    return host.KeyDown(e);
  }
};

PointerEvent Pointer(Point p, PointerButton button = PointerButton::None, int32_t clicks = 0) {
  PointerEvent e;
  e.position = p;
  e.button = button;
  e.clicks = clicks;
  return e;
}

// --- Virtualisation ---

TEST(TextList, OnlyVisibleRowsAreLaidOutDrawnAndExposedWhateverTheCount) {
  for (int64_t count : {int64_t{100}, int64_t{100'000}}) {
    SCOPED_TRACE(count);
    Listed l(count);
    // At the top: ten rows in view, four more laid out below.
    EXPECT_EQ(l.list->PreparedRange(), (RowRange{0, 14}));
    EXPECT_EQ(l.list->LayoutsBuilt(), 14u);
    EXPECT_EQ(l.TextsDrawn(), 10u);
    EXPECT_EQ(l.list->ItemChildCount(0), 14);

    // Half a row off the grid, in the middle: eleven rows touch the viewport, four beyond each edge.
    l.list->ScrollTo(50 * kRow + kRow / 2, false);
    EXPECT_EQ(l.TextsDrawn(), 11u);
    EXPECT_EQ(l.list->PreparedRange(), (RowRange{46, 65}));
    EXPECT_EQ(l.list->PreparedSlotCount(), 19u);
    EXPECT_EQ(l.list->LayoutsBuilt(), 14u + 19u);
    EXPECT_EQ(l.list->ItemChildCount(0), 19);
    EXPECT_EQ(l.list->ItemChildAt(0, 0), l.list->RowItemId(46));
    EXPECT_EQ(l.list->ItemChildAt(0, 18), l.list->RowItemId(64));
    EXPECT_EQ(l.list->ItemChildAt(0, 19), 0u);
  }
}

TEST(TextList, ScrollingRecyclesTheLayoutsOfRowsStillInTheWindow) {
  Listed l(100'000);
  l.list->ScrollTo(1000 * kRow, false);
  l.host.Paint();
  uint64_t built = l.list->LayoutsBuilt();
  EXPECT_EQ(l.list->PreparedSlotCount(), 18u);

  l.list->ScrollTo(1001 * kRow, false);  // one row on: one row comes in at the bottom
  l.host.Paint();
  EXPECT_EQ(l.list->LayoutsBuilt(), built + 1);
  l.list->ScrollTo(998 * kRow, false);  // three back
  l.host.Paint();
  EXPECT_EQ(l.list->LayoutsBuilt(), built + 4);
  EXPECT_EQ(l.list->PreparedSlotCount(), 18u);
  // Painting again without scrolling lays out nothing.
  l.host.Paint();
  EXPECT_EQ(l.list->LayoutsBuilt(), built + 4);
  // A jump far away lays out the new window once.
  l.list->ScrollTo(50'000 * kRow, false);
  l.host.Paint();
  EXPECT_EQ(l.list->LayoutsBuilt(), built + 4 + 18);
}

TEST(TextList, RowsAreDrawnAtTheirPlacesBelowTheOffset) {
  Listed l;
  l.list->ScrollTo(10, false);
  auto texts = l.host.Paint().Calls("DrawText");
  ASSERT_EQ(texts.size(), 11u);
  float step = texts[1].rect.y - texts[0].rect.y;
  EXPECT_EQ(step, kRow);
  EXPECT_EQ(texts[0].rect.x, 16);
  // The first row's text is centred in the row that starts 10 above the top.
  EXPECT_GT(texts[0].rect.y, -10);
  EXPECT_LT(texts[0].rect.y, -10 + kRow / 2);
  EXPECT_EQ(std::round(texts[0].rect.y), texts[0].rect.y);
}

TEST(TextList, AChangedWidthOrScaleLaysTheRowsOutAgain) {
  Listed l;
  uint64_t built = l.list->LayoutsBuilt();
  l.host.SetClientSize({200, kViewport});
  l.host.Paint();
  EXPECT_EQ(l.list->LayoutsBuilt(), built + 14);
  l.host.SetDpi(192);
  l.host.UpdateLayout();
  RecordingCanvas canvas(2);
  l.host.RenderTree(canvas);
  EXPECT_EQ(l.list->LayoutsBuilt(), built + 28);
  EXPECT_EQ(canvas.Calls("DrawText").size(), 10u);
}

// --- Wheel physics on the animator clock ---

TEST(TextList, ANotchGlidesThreeRowsAndSettles) {
  Listed l;
  l.Notch(-1);  // towards the user: down the list
  EXPECT_TRUE(l.list->IsGliding());
  EXPECT_EQ(l.list->Scroller().Target(), 3 * kRow);
  EXPECT_EQ(l.Offset(), 0);  // nothing moves before the next frame
  l.Frame(0.070);            // one time constant
  EXPECT_NEAR(l.Offset(), 96 * (1 - std::exp(-1.0)), 1e-6);
  EXPECT_NEAR(l.list->Bar().Value(), l.Offset(), 1e-9);
  // 96 × e^(-t/70 ms) reaches a quarter DIP at 416 ms: it lands on the first frame after that.
  double t = 0.070;
  float shownWhileGliding = 0;
  while (l.list->IsGliding() && t < 1) {
    l.Frame();
    t += kFrame;
    if (t > 0.16 && l.list->IsGliding()) shownWhileGliding = l.list->Bar().Visibility();
  }
  EXPECT_EQ(shownWhileGliding, 1);  // the thin thumb faded in (0.08 s) while the list moved
  EXPECT_EQ(l.Offset(), 96);
  EXPECT_GT(t, 0.40);
  EXPECT_LT(t, 0.44);
  // The ticker removed itself; only the scroll bar's fade-in may still run.
  l.Frame(0.1);
  EXPECT_EQ(l.host.GetAnimator().EntryCount(), 0u);
  EXPECT_EQ(l.list->Bar().Visibility(), 1);
}

TEST(TextList, ASecondNotchDuringAGlideAddsToItsTarget) {
  Listed l;
  l.Notch(-1);
  l.Frame(0.035);
  double midway = l.Offset();
  EXPECT_GT(midway, 0);
  l.Notch(-1);
  EXPECT_EQ(l.list->Scroller().Target(), 6 * kRow);
  l.Frame();
  EXPECT_GT(l.Offset(), midway);  // keeps moving, from where it was
  l.Settle();
  EXPECT_EQ(l.Offset(), 6 * kRow);
  // A notch back up while gliding turns the glide around.
  l.Notch(-1);
  l.Frame();
  l.Notch(2);
  EXPECT_EQ(l.list->Scroller().Target(), 3 * kRow);
  l.Settle();
  EXPECT_EQ(l.Offset(), 3 * kRow);
}

TEST(TextList, GlidesStopAtTheEnds) {
  Listed l;
  l.Notch(1);  // up at the top: nothing to do
  EXPECT_FALSE(l.list->IsGliding());
  EXPECT_EQ(l.Offset(), 0);
  double max = 100 * kRow - kViewport;
  l.list->ScrollTo(max - 40, false);
  l.Notch(-1);
  EXPECT_EQ(l.list->Scroller().Target(), max);
  l.Settle();
  EXPECT_EQ(l.Offset(), max);
  l.Notch(-5);
  EXPECT_FALSE(l.list->IsGliding());
  EXPECT_EQ(l.Offset(), max);
}

TEST(TextList, TouchpadDeltasMoveAtOnceAndStopAGlide) {
  Listed l;
  l.Notch(-0.5f, true);
  EXPECT_EQ(l.Offset(), 48);  // half a notch of three rows
  EXPECT_FALSE(l.list->IsGliding());
  l.Notch(-1);
  l.Frame();
  EXPECT_TRUE(l.list->IsGliding());
  double at = l.Offset();
  l.Notch(-0.25f, true);
  EXPECT_FALSE(l.list->IsGliding());
  EXPECT_EQ(l.Offset(), at + 24);
  l.Frame(0.5);
  EXPECT_EQ(l.Offset(), at + 24);
}

TEST(TextList, WithoutSmoothScrollingNotchesJump) {
  Listed l;
  l.list->smoothScrolling = false;
  l.Notch(-1);
  EXPECT_EQ(l.Offset(), 96);
  l.list->ScrollTo(500, true);
  EXPECT_EQ(l.Offset(), 500);
  EXPECT_FALSE(l.list->IsGliding());
}

TEST(TextList, AListWithNothingToScrollLeavesTheWheelAlone) {
  Listed l(5);
  WheelEvent e;
  e.deltaY = -1;
  EXPECT_FALSE(l.list->OnWheel(e));
  EXPECT_EQ(l.list->Scroll().verticalPercent, -1);
  EXPECT_EQ(l.list->Scroll().verticalViewSize, 100);
  EXPECT_FALSE(l.list->SetScrollPercent(-1, 50));
  EXPECT_TRUE(l.list->SetScrollPercent(20, -1));
}

// --- Without a host, and leaving one ---

TEST(TextList, ADetachedListJumpsAndLeavingTheHostEndsTheGlide) {
  TextList alone;
  alone.Arrange(Rect{0, 0, kWidth, kViewport});
  alone.SetItems(100, RowText);
  alone.ScrollTo(200, true);
  EXPECT_EQ(alone.Rows().Offset(), 200);
  EXPECT_FALSE(alone.IsGliding());

  FakeHost host;
  host.SetClientSize({kWidth, kViewport});
  Widget* root = host.SetRoot(std::make_unique<Widget>());
  auto* list = root->AddChild(std::make_unique<TextList>());
  list->SetItems(100, RowText);
  host.Paint();
  list->ScrollTo(1000, true);
  host.Advance(0.05);
  host.Paint();
  double at = list->Rows().Offset();
  EXPECT_GT(at, 0);
  std::unique_ptr<Widget> taken = root->RemoveChild(list);
  EXPECT_FALSE(list->IsGliding());
  EXPECT_EQ(host.GetAnimator().EntryCount(), 0u);
  EXPECT_EQ(list->Scroller().Current(), at);
  EXPECT_FALSE(list->Scroller().IsAnimating());
}

TEST(TextList, DestroyingAGlidingListCancelsItsTicker) {
  Listed l;
  l.Notch(-1);
  l.Frame();
  ASSERT_TRUE(l.list->IsGliding());
  l.host.ClearRoot();
  EXPECT_EQ(l.host.GetAnimator().EntryCount(), 0u);
  l.Frame();
}

// --- Keyboard ---

TEST(TextList, KeysPageTheSelectionAndGlideItIntoView) {
  Listed l;
  l.list->Focus(FocusReason::Keyboard);
  EXPECT_TRUE(l.Press(Vk::Down));  // nothing selected: the first row
  EXPECT_EQ(l.list->Selected(), 0);
  EXPECT_TRUE(l.Press(Vk::PageDown));  // to the last whole row in view, no scrolling
  EXPECT_EQ(l.list->Selected(), 9);
  EXPECT_FALSE(l.list->IsGliding());
  EXPECT_TRUE(l.Press(Vk::PageDown));  // a page of nine further, brought in at the bottom
  EXPECT_EQ(l.list->Selected(), 18);
  EXPECT_TRUE(l.list->IsGliding());
  EXPECT_EQ(l.list->Scroller().Target(), 19 * kRow - kViewport);
  EXPECT_TRUE(l.Press(Vk::PageDown));  // pressed again mid-glide: pages from where the glide goes
  EXPECT_EQ(l.list->Selected(), 27);
  l.Settle();
  EXPECT_EQ(l.Offset(), 28 * kRow - kViewport);
  EXPECT_TRUE(l.Press(Vk::PageUp));  // to the first row in view
  EXPECT_EQ(l.list->Selected(), 18);
  EXPECT_TRUE(l.Press(Vk::PageUp));
  EXPECT_EQ(l.list->Selected(), 9);
  l.Settle();
  EXPECT_EQ(l.Offset(), 9 * kRow);
  EXPECT_TRUE(l.Press(Vk::End));
  EXPECT_EQ(l.list->Selected(), 99);
  l.Settle();
  EXPECT_EQ(l.Offset(), 100 * kRow - kViewport);
  EXPECT_TRUE(l.Press(Vk::Down));  // stays on the last row
  EXPECT_EQ(l.list->Selected(), 99);
  EXPECT_TRUE(l.Press(Vk::Home));
  EXPECT_TRUE(l.Press(Vk::Up));
  EXPECT_EQ(l.list->Selected(), 0);
  l.Settle();
  EXPECT_EQ(l.Offset(), 0);
  EXPECT_EQ(l.selectionChanges, 8);
}

TEST(TextList, KeysOnAnEmptyListAreLeftToOthers) {
  Listed l(0);
  l.list->Focus(FocusReason::Keyboard);
  EXPECT_FALSE(l.Press(Vk::Down));
  EXPECT_FALSE(l.Press(Vk::Enter));
  EXPECT_EQ(l.list->Selected(), -1);
}

TEST(TextList, EnterAndDoubleClickInvokeTheRow) {
  Listed l;
  std::vector<int64_t> invoked;
  l.list->onInvoked = [&](int64_t row) { invoked.push_back(row); };
  l.host.PointerDown(Pointer({50, 3 * kRow + 5}, PointerButton::Left, 1));
  l.host.PointerUp(Pointer({50, 3 * kRow + 5}, PointerButton::Left, 1));
  EXPECT_EQ(l.list->Selected(), 3);
  EXPECT_EQ(l.host.Focused(), l.list);
  l.host.PointerDown(Pointer({50, 3 * kRow + 5}, PointerButton::Left, 2));
  l.host.PointerUp(Pointer({50, 3 * kRow + 5}, PointerButton::Left, 1));
  EXPECT_TRUE(l.Press(Vk::Enter));
  EXPECT_EQ(invoked, (std::vector<int64_t>{3, 3}));
}

// --- Pointer ---

TEST(TextList, ClickingARowCutAtTheBottomBringsItIn) {
  Listed l;
  l.list->ScrollTo(10, false);  // row 10 shows its top 10 DIPs at the bottom
  l.host.PointerDown(Pointer({50, kViewport - 4}, PointerButton::Left, 1));
  EXPECT_EQ(l.list->Selected(), 10);
  l.Settle();
  EXPECT_EQ(l.Offset(), 11 * kRow - kViewport);
}

TEST(TextList, TheRowUnderThePointerIsHighlightedAndFollowsScrolling) {
  Listed l;
  l.host.PointerMove(Pointer({50, 40}));
  EXPECT_EQ(l.list->HoverRow(), 1);
  l.list->ScrollTo(kRow, false);
  EXPECT_EQ(l.list->HoverRow(), 2);
  l.list->SetItems(3, RowText);  // back at the top, row 1 lies under the pointer again
  EXPECT_EQ(l.list->HoverRow(), 1);
  l.list->SetItems(1, RowText);  // the pointer is below the only row
  EXPECT_EQ(l.list->HoverRow(), -1);
  l.host.PointerLeave();
  EXPECT_EQ(l.list->HoverRow(), -1);
}

TEST(TextList, DraggingTheOverlayBarScrollsTheListAndEndsAGlide) {
  Listed l;
  l.host.PointerMove(Pointer({kWidth - 6, 100}));  // over the bar: it widens and shows
  l.Settle();
  l.Frame(0.2);
  EXPECT_EQ(l.list->Bar().Visibility(), 1);
  l.Notch(-1);
  l.Frame();
  ASSERT_TRUE(l.list->IsGliding());
  // Ten rows of a hundred: the thumb is 32 of 320; grab it 5 into it and move by 144 (half the travel).
  Rect thumb = l.list->Bar().ThumbRect();
  l.host.PointerDown(Pointer({kWidth - 6, thumb.y + 5}, PointerButton::Left, 1));
  EXPECT_EQ(l.host.Captured(), &l.list->Bar());
  l.host.PointerMove(Pointer({kWidth - 6, 5 + 144}));
  EXPECT_NEAR(l.Offset(), (100 * kRow - kViewport) / 2, 1e-3);
  EXPECT_FALSE(l.list->Scroller().IsAnimating());
  l.host.PointerUp(Pointer({kWidth - 6, 5 + 144}, PointerButton::Left, 1));
  double at = l.Offset();
  l.Frame(0.5);
  EXPECT_EQ(l.Offset(), at);
}

TEST(TextList, TheBarOverlaysTheRowsRightEdge) {
  Listed l;
  EXPECT_EQ(l.list->Bar().Bounds(), (Rect{kWidth - 12, 0, 12, kViewport}));
  EXPECT_EQ(l.list->RowRect(2), (Rect{0, 2 * kRow, kWidth, kRow}));
  EXPECT_EQ(l.list->ContentRect(), (Rect{0, 0, kWidth, kViewport}));
  EXPECT_EQ(l.list->RowAtPoint({kWidth, 10}), -1);
  EXPECT_EQ(l.list->RowAtPoint({-1, 10}), -1);
  EXPECT_EQ(l.list->RowAtPoint({kWidth - 1, 10}), 0);
  // The bar starts invisible and fades in with the first scroll.
  EXPECT_EQ(l.list->Bar().Visibility(), 0);
  l.list->ScrollTo(64, false);
  l.Frame(0.1);
  EXPECT_EQ(l.list->Bar().Visibility(), 1);
  EXPECT_EQ(l.list->Bar().Value(), 64);
}

// --- Rows and heights ---

TEST(TextList, RowHeightFollowsTheSettingOrTheTheme) {
  Listed l;
  EXPECT_EQ(l.list->RowHeight(), 32);
  l.list->SetRowHeight(20);
  EXPECT_EQ(l.list->RowHeight(), 20);
  EXPECT_EQ(l.list->Bar().smallStep, 20);
  EXPECT_EQ(l.list->Bar().Extent(), 2000);
  l.list->SetRowHeight(-3);
  EXPECT_EQ(l.list->RowHeight(), 1);
  l.list->SetRowHeight(std::nanf(""));
  EXPECT_EQ(l.list->RowHeight(), 32);
  l.list->ScrollTo(1e9, false);
  l.list->SetRowCount(20);
  EXPECT_EQ(l.Offset(), 20 * kRow - kViewport);
  l.list->SetRowCount(-1);
  EXPECT_EQ(l.list->Rows().RowCount(), 0);
  EXPECT_EQ(l.TextsDrawn(), 0u);
}

// --- Accessibility ---

TEST(TextList, AccessibilityScrollsByPagesLinesAndPercent) {
  Listed l;
  double max = 100 * kRow - kViewport;
  EXPECT_TRUE(l.list->ScrollBy(ScrollAmount::NoAmount, ScrollAmount::LargeIncrement));
  EXPECT_EQ(l.Offset(), kViewport);
  EXPECT_TRUE(l.list->ScrollBy(ScrollAmount::NoAmount, ScrollAmount::SmallDecrement));
  EXPECT_EQ(l.Offset(), kViewport - kRow);
  EXPECT_TRUE(l.list->ScrollBy(ScrollAmount::LargeIncrement, ScrollAmount::NoAmount));
  EXPECT_EQ(l.Offset(), kViewport - kRow);
  EXPECT_TRUE(l.list->SetScrollPercent(-1, 50));
  EXPECT_EQ(l.Offset(), max / 2);
  EXPECT_TRUE(l.list->SetScrollPercent(-1, 150));
  EXPECT_EQ(l.Offset(), max);
  ScrollInfo info = l.list->Scroll();
  EXPECT_TRUE(info.supported);
  EXPECT_EQ(info.horizontalPercent, -1);
  EXPECT_EQ(info.verticalPercent, 100);
  EXPECT_DOUBLE_EQ(info.verticalViewSize, 10);
  EXPECT_FALSE(l.list->IsGliding());
}

TEST(TextList, ItemsDescribeVisibleRowsWithTheirClippedBounds) {
  Listed l;
  l.list->ScrollTo(10, false);
  ItemInfo info;
  ASSERT_TRUE(l.list->ItemInformation(l.list->RowItemId(0), info));
  EXPECT_EQ(info.name, "Row 0");
  EXPECT_EQ(info.bounds, (Rect{0, 0, kWidth, kRow - 10}));  // cut at the top
  EXPECT_EQ(info.positionInSet, 1);
  EXPECT_EQ(info.sizeOfSet, 100);
  ASSERT_TRUE(l.list->ItemInformation(l.list->RowItemId(50), info));
  EXPECT_EQ(info.bounds, Rect{});  // far below: not on screen
  EXPECT_FALSE(l.list->ItemInformation(0, info));
  EXPECT_FALSE(l.list->ItemInformation(1000, info));
  EXPECT_EQ(l.list->ItemIndex(l.list->RowItemId(3)), 3);
  EXPECT_EQ(l.list->ItemIndex(l.list->RowItemId(40)), -1);
  EXPECT_EQ(l.list->ItemAtPoint({50, 30}), l.list->RowItemId(1));
  EXPECT_EQ(l.list->FocusedItem(), 0u);
  EXPECT_EQ(l.list->ItemChildCount(l.list->RowItemId(1)), 0);

  // Realising a row far below scrolls it into view at once.
  EXPECT_TRUE(l.list->RealizeItem(l.list->RowItemId(50)));
  EXPECT_EQ(l.Offset(), 51 * kRow - kViewport);
  EXPECT_FALSE(l.list->RealizeItem(0));

  EXPECT_TRUE(l.list->SelectItem(l.list->RowItemId(45), SelectAction::Select));
  EXPECT_EQ(l.list->Selection(), (std::vector<ItemId>{l.list->RowItemId(45)}));
  EXPECT_EQ(l.list->FocusedItem(), l.list->RowItemId(45));
  EXPECT_EQ(l.host.CountEvents(AutomationEvent::ElementSelected, l.list), 1);
  EXPECT_TRUE(l.list->SelectItem(l.list->RowItemId(45), SelectAction::Remove));
  EXPECT_TRUE(l.list->Selection().empty());
  EXPECT_EQ(l.list->Role(), Role::List);
  EXPECT_STREQ(l.list->ClassName(), "Widget");
  EXPECT_TRUE(l.list->HasVirtualItems());
  EXPECT_EQ(l.list->Orientation(), 2);
}

// --- Theme colours ---

TEST(TextList, PaintsTheSelectionWithTheTheme) {
  for (const Theme& theme : {Theme::Light(kDefaultAccent), Theme::Dark(kDefaultAccent)}) {
    SCOPED_TRACE(static_cast<int>(theme.mode));
    Listed l;
    l.host.SetTheme(theme);
    l.list->Select(2, false);
    auto canvas = l.host.Paint();
    auto fills = canvas.Calls("FillRoundedRect");
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].color, theme.Get(ThemeColor::SubtleFillHover));
    EXPECT_EQ(fills[0].rect, (Rect{4, 2 * kRow, kWidth - 8, kRow}));
    EXPECT_EQ(fills[1].color, theme.Get(ThemeColor::Accent));
    EXPECT_EQ(fills[1].rect, (Rect{4, 2 * kRow + 8, 3, 16}));
    for (const auto& text : canvas.Calls("DrawText")) {
      EXPECT_EQ(text.color, theme.Get(ThemeColor::TextPrimary));
    }
  }
}

TEST(TextList, HighContrastHighlightsTheSelectionAndOutlinesTheHoveredRow) {
  Listed l;
  const Theme theme = Theme::HighContrast();
  l.host.SetTheme(theme);
  l.list->Select(2, false);
  l.host.PointerMove(Pointer({50, 5 * kRow + 3}));
  auto canvas = l.host.Paint();
  auto fills = canvas.Calls("FillRoundedRect");
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].color, theme.Get(ThemeColor::Accent));
  EXPECT_EQ(fills[0].rect, (Rect{4, 2 * kRow, kWidth - 8, kRow}));
  auto outlines = canvas.Calls("StrokeRoundedRect");
  ASSERT_FALSE(outlines.empty());
  EXPECT_EQ(outlines[0].color, theme.Get(ThemeColor::AccentHover));
  EXPECT_EQ(outlines[0].rect.y, 5 * kRow);
  auto texts = canvas.Calls("DrawText");
  ASSERT_EQ(texts.size(), 10u);
  EXPECT_EQ(texts[2].color, theme.Get(ThemeColor::TextOnAccent));
  EXPECT_EQ(texts[3].color, theme.Get(ThemeColor::TextPrimary));
}

TEST(TextList, KeyboardFocusOutlinesTheSelectedRow) {
  Listed l;
  l.list->Select(1, false);
  EXPECT_TRUE(l.host.Paint().Calls("StrokeRoundedRect").empty());
  l.host.SetFocus(l.list, FocusReason::Keyboard);
  auto outlines = l.host.Paint().Calls("StrokeRoundedRect");
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].rect, (Rect{4, kRow, kWidth - 8, kRow}));
}

}  // namespace
}  // namespace Quarlo::Widget::List
