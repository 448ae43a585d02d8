// SelectionModel: ranges stay merged and report only real changes; the rules of each mode; the keyboard
// moves of a grid.

#include "widget/models/selection_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace Quarlo::Widget::Models {
namespace {

using Ranges = std::vector<IndexRange>;

TEST(SelectionModel, RangesMergeWhenTheyTouchAndChangesListOnlyNewIndexes) {
  SelectionModel model(100, SelectionMode::Multiple);
  model.AddRange({10, 20});
  model.AddRange({30, 40});
  const SelectionChange change = model.AddRange({15, 35});
  EXPECT_EQ(model.Ranges(), (Ranges{{10, 40}}));
  EXPECT_EQ(change.added, (Ranges{{20, 30}}));
  EXPECT_EQ(model.SelectedCount(), 30);
  model.AddRange({40, 41});  // adjacent: merged, never stored side by side
  EXPECT_EQ(model.Ranges(), (Ranges{{10, 41}}));

  const SelectionChange removed = model.RemoveRange({0, 12});
  EXPECT_EQ(removed.removed, (Ranges{{10, 12}}));
  model.RemoveRange({20, 25});
  EXPECT_EQ(model.Ranges(), (Ranges{{12, 20}, {25, 41}}));
  EXPECT_EQ(model.SelectedCount(), 24);
  EXPECT_TRUE(model.IsSelected(12));
  EXPECT_FALSE(model.IsSelected(20));
  EXPECT_TRUE(model.IsSelected(40));
  EXPECT_FALSE(model.IsSelected(41));
}

TEST(SelectionModel, SelectAllOverAMillionItemsIsOneRange) {
  SelectionModel model(1'000'000, SelectionMode::Multiple);
  model.ToggleIndex(5);
  const SelectionChange change = model.SelectAll();
  EXPECT_EQ(model.Ranges(), (Ranges{{0, 1'000'000}}));
  EXPECT_EQ(change.added, (Ranges{{0, 5}, {6, 1'000'000}}));
}

TEST(SelectionModel, ClickCtrlAndShiftRules) {
  SelectionModel model(50, SelectionMode::Multiple);
  model.SelectOnly(10);
  model.ExtendTo(14);  // Shift+click: exactly the range from the anchor
  EXPECT_EQ(model.Ranges(), (Ranges{{10, 15}}));
  EXPECT_EQ(model.Anchor(), 10);
  EXPECT_EQ(model.Focus(), 14);
  model.ExtendTo(8);  // a second Shift+click replaces the range
  EXPECT_EQ(model.Ranges(), (Ranges{{8, 11}}));

  model.ToggleIndex(20);  // Ctrl+click toggles one item and moves the anchor
  EXPECT_EQ(model.Ranges(), (Ranges{{8, 11}, {20, 21}}));
  EXPECT_EQ(model.Anchor(), 20);
  model.AddExtendTo(23);  // Ctrl+Shift+click adds the range to what is selected
  EXPECT_EQ(model.Ranges(), (Ranges{{8, 11}, {20, 24}}));
  model.ToggleIndex(21);
  EXPECT_EQ(model.Ranges(), (Ranges{{8, 11}, {20, 21}, {22, 24}}));
}

TEST(SelectionModel, SingleAndNoneModes) {
  SelectionModel single(10, SelectionMode::Single);
  single.SelectOnly(2);
  single.ExtendTo(6);
  single.AddRange({3, 8});
  EXPECT_EQ(single.Ranges(), (Ranges{{3, 4}}));
  EXPECT_EQ(single.Focus(), 6);  // AddRange leaves focus and anchor alone
  single.SelectAll();
  EXPECT_EQ(single.SelectedCount(), 1);

  SelectionModel none(10, SelectionMode::None);
  none.SelectOnly(4);
  none.AddRange({0, 5});
  EXPECT_TRUE(none.Ranges().empty());
  EXPECT_EQ(none.Focus(), 4);
}

TEST(SelectionModel, NotifiesOnlyRealChangesAndIgnoresOutOfRangeIndexes) {
  SelectionModel model(5, SelectionMode::Multiple);
  int notified = 0;
  model.onChanged = [&](const SelectionChange&) { ++notified; };
  model.SelectOnly(7);
  model.ToggleIndex(-1);
  model.SetFocus(9);
  EXPECT_EQ(notified, 0);
  model.SelectOnly(1);
  model.SelectOnly(1);  // nothing changed the second time
  EXPECT_EQ(notified, 1);
  const SelectionChange reset = model.SetCount(-3);
  EXPECT_EQ(notified, 2);
  EXPECT_EQ(reset.removed, (Ranges{{1, 2}}));
  EXPECT_EQ(model.Count(), 0);
  EXPECT_EQ(model.Focus(), -1);
  EXPECT_EQ(model.Anchor(), -1);
}

struct MoveCase {
  FocusMove move;
  int64_t from;
  int64_t expected;
};

TEST(SelectionModel, KeyboardMovesInAGridOfTenItemsInFourColumns) {
  // Rows: 0-3, 4-7, 8-9. Three rows in view from row 0.
  const FocusGeometry grid{4, 0, 3, false};
  const MoveCase cases[] = {
      {FocusMove::Down, 9, 9},                         // last row: stays
      {FocusMove::Down, 6, 9},                         // the row before a shorter last row: the last item
      {FocusMove::Down, 1, 5}, {FocusMove::Up, 1, 1},  // first row: stays
      {FocusMove::Up, 9, 5},   {FocusMove::Previous, 0, 0}, {FocusMove::Next, 9, 9}, {FocusMove::First, 7, 0},
      {FocusMove::Last, 2, 9}, {FocusMove::Next, -1, 0},  // nothing focused: forward moves start at 0
      {FocusMove::Up, -1, 9},                             // ... the others at the last item
  };
  for (const MoveCase& c : cases) {
    SelectionModel model(10, SelectionMode::Multiple);
    if (c.from >= 0) model.SelectOnly(c.from);
    const FocusMoveResult result = model.MoveFocus(c.move, 0, grid);
    EXPECT_TRUE(result.moved);
    EXPECT_EQ(result.focus, c.expected) << "move " << static_cast<int>(c.move) << " from " << c.from;
    EXPECT_EQ(model.Ranges(), (Ranges{{c.expected, c.expected + 1}}));
  }
}

TEST(SelectionModel, WrapOnlyWithoutModifiers) {
  SelectionModel model(10, SelectionMode::Multiple);
  model.SelectOnly(9);
  EXPECT_EQ(model.MoveFocus(FocusMove::Next, 0, {4, 0, 3, true}).focus, 0);
  EXPECT_EQ(model.MoveFocus(FocusMove::Up, 0, {4, 0, 3, true}).focus, 8);  // same column, last row
  EXPECT_EQ(model.MoveFocus(FocusMove::Down, kSelectShift, {4, 0, 3, true}).focus, 8);
}

TEST(SelectionModel, PageDownStopsAtTheLastVisibleRowFirst) {
  // 100 items in 5 columns (20 rows); 4 whole rows in view from row 0: page = 3 rows.
  SelectionModel model(100, SelectionMode::Multiple);
  model.SelectOnly(2);
  EXPECT_EQ(model.MoveFocus(FocusMove::PageDown, 0, {5, 0, 4, false}).focus, 17);   // row 3
  EXPECT_EQ(model.MoveFocus(FocusMove::PageDown, 0, {5, 0, 4, false}).focus, 32);   // row 6
  model.SelectOnly(92);                                                             // row 18
  EXPECT_EQ(model.MoveFocus(FocusMove::PageDown, 0, {5, 16, 4, false}).focus, 97);  // capped at row 19
  EXPECT_EQ(model.MoveFocus(FocusMove::PageUp, 0, {5, 16, 4, false}).focus, 82);    // the first visible row
  EXPECT_EQ(model.MoveFocus(FocusMove::PageUp, 0, {5, 16, 4, false}).focus, 67);    // one page up
}

TEST(SelectionModel, ModifiersOfKeyboardMoves) {
  SelectionModel model(20, SelectionMode::Multiple);
  model.SelectOnly(3);
  model.MoveFocus(FocusMove::Next, kSelectCtrl, {4, 0, 5, false});
  EXPECT_EQ(model.Focus(), 4);
  EXPECT_EQ(model.Ranges(), (Ranges{{3, 4}}));  // Ctrl moves only the focus
  model.SelectFocused(kSelectCtrl);             // Ctrl+Space toggles it
  EXPECT_EQ(model.Ranges(), (Ranges{{3, 5}}));
  model.MoveFocus(FocusMove::Down, kSelectShift, {4, 0, 5, false});
  EXPECT_EQ(model.Ranges(), (Ranges{{4, 9}}));  // anchor 4 (the toggle) to 8
  model.MoveFocus(FocusMove::First, kSelectShift | kSelectCtrl, {4, 0, 5, false});
  EXPECT_EQ(model.Ranges(), (Ranges{{0, 9}}));

  SelectionModel empty(0, SelectionMode::Multiple);
  EXPECT_FALSE(empty.MoveFocus(FocusMove::Next, 0, {}).moved);
}

}  // namespace
}  // namespace Quarlo::Widget::Models
