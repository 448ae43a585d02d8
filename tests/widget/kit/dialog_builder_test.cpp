// The standard dialog: its layout, the buttons AddButton makes, the control helpers, the modal runner's hooks
// and the Tab order from the content to the buttons.

#include "widget/kit/dialog_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_window.h"
#include "support/input_events.h"
#include "support/test_widgets.h"
#include "widget/application.h"
#include "widget/grid.h"
#include "widget/input/check_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/kit/kit_settings.h"
#include "widget/stack.h"

namespace Quarlo::Widget::Kit {
namespace {

using Testing::HeadlessWindow;
using Testing::Key;

struct ResetKit {
  ~ResetKit() { SettingsRecord() = KitSettings{}; }
};

TEST(DialogBuilder, ContentAboveARightAlignedRowOfButtons) {
  DialogBuilder dialog(400);
  dialog.Content()->AddChild(Testing::MakeProbe(Size{200, 50}));
  Input::Button* ok = dialog.AddButton("OK", 1, true, false);
  Input::Button* cancel = dialog.AddButton("Cancel", 2, false, true);
  dialog.Root()->Measure(Size{400, kUnbounded});
  const Size desired = dialog.Root()->DesiredSize();
  // The window is as wide as the builder's width here; content narrower than that would shrink it.
  dialog.Root()->Arrange(Rect{0, 0, 400, desired.height});

  // Margins 24 and 20 around a column of content and buttons 14 apart.
  EXPECT_EQ(dialog.Content()->Bounds(), (Rect{0, 0, 352, 50}));
  EXPECT_EQ(dialog.Root()->Position(), (Point{24, 20}));
  EXPECT_EQ(dialog.Buttons()->Position().y, 64);
  EXPECT_EQ(desired.height, 20 + 50 + 14 + ok->DesiredSize().height + 20);
  // Short texts still give buttons of 92, 8 apart, ending at the right margin.
  EXPECT_EQ(ok->ActualSize().width, 92);
  EXPECT_EQ(cancel->ActualSize().width, 92);
  const float right = dialog.Buttons()->Position().x + dialog.Buttons()->ActualSize().width;
  EXPECT_EQ(right, 352);
  EXPECT_EQ(cancel->Position().x - (ok->Position().x + 92), 8);
}

TEST(DialogBuilder, AddButtonSetsLookResultDefaultAndCancel) {
  DialogBuilder dialog(300);
  Input::Button* plain = dialog.AddButton("Details", 0, false, false, Input::ButtonStyle::Subtle);
  Input::Button* yes = dialog.AddButton("&Yes", 5, true, false, Input::ButtonStyle::Subtle);
  Input::Button* no = dialog.AddButton("&No", 6, false, true);
  EXPECT_EQ(plain->Style(), Input::ButtonStyle::Subtle);
  EXPECT_EQ(plain->dialogResult, 0);
  EXPECT_EQ(yes->Style(), Input::ButtonStyle::Accent);
  EXPECT_TRUE(yes->IsDefault());
  EXPECT_EQ(yes->dialogResult, 5);
  EXPECT_FALSE(no->IsDefault());
  EXPECT_EQ(no->dialogResult, 6);
  // Enter pushes the default, Escape the cancel button; the dialog is not modal, so only onClick shows it.
  std::vector<std::string> pushed;
  yes->onClick = [&] { pushed.push_back("yes"); };
  no->onClick = [&] { pushed.push_back("no"); };
  EXPECT_TRUE(dialog.KeyDown(Key(Vk::Enter)));
  EXPECT_TRUE(dialog.KeyDown(Key(Vk::Escape)));
  EXPECT_EQ(pushed, (std::vector<std::string>{"yes", "no"}));
}

TEST(DialogHelpers, CheckBoxesLabelsAndCaptions) {
  Stack column(true, 0);
  EXPECT_EQ(AddCheckBox(&column, "Loop", true)->State(), Input::CheckState::Checked);
  EXPECT_EQ(AddCheckBox(&column, "Shuffle", false)->State(), Input::CheckState::Unchecked);
  EXPECT_EQ(AddCheckBox(nullptr, "Lost", true), nullptr);
  EXPECT_EQ(column.Children().size(), 2u);

  auto label = MakeLabel("Name", false, Input::LabelStyle::Subtitle);
  EXPECT_EQ(label->Style(), Input::LabelStyle::Subtitle);
  auto caption = MakeCaption("A note under a control that is long enough to wrap onto a second line");
  EXPECT_EQ(caption->Style(), Input::LabelStyle::Caption);
  EXPECT_EQ(caption->Tone(), TextTone::Secondary);
  // A caption wraps: narrower means taller.
  const float wide = caption->Measure(Size{600, kUnbounded}).height;
  const float narrow = caption->Measure(Size{120, kUnbounded}).height;
  EXPECT_GT(narrow, wide);
}

TEST(DialogHelpers, GridsHaveEqualColumnsAndARowPerStartedLine) {
  struct Case {
    int columns;
    int items;
    size_t rows;
    size_t columnCount;
  };
  // Without items the grid has no row definitions, which a grid treats as one empty row.
  for (const Case& c : {Case{3, 7, 3, 3}, Case{2, 4, 2, 2}, Case{4, 0, 1, 4}, Case{0, 3, 3, 1}}) {
    SCOPED_TRACE(std::to_string(c.columns) + " columns, " + std::to_string(c.items) + " items");
    auto grid = MakeGrid(c.columns, c.items);
    for (int i = 0; i < c.items; ++i) {
      const int columns = std::max(c.columns, 1);
      grid->AddChildAt(Testing::MakeProbe(Size{10, 20}), i / columns, i % columns);
    }
    grid->Measure(Size{300, kUnbounded});
    grid->Arrange(Rect{0, 0, 300, grid->DesiredSize().height});
    EXPECT_EQ(grid->RowSizes().size(), c.rows);
    ASSERT_EQ(grid->ColumnSizes().size(), c.columnCount);
    const float each = (300 - 8 * (c.columnCount - 1)) / static_cast<float>(c.columnCount);
    for (float width : grid->ColumnSizes()) EXPECT_FLOAT_EQ(width, each);
    // Rows 4 apart, each as tall as its content.
    EXPECT_EQ(grid->DesiredSize().height, c.items == 0 ? 0 : 20 * c.rows + 4 * (c.rows - 1));
  }
}

TEST(RunDialog, HooksSeeTheOptionsThenTheWindowThenItRunsOverItsOwner) {
  ResetKit reset;
  Window owner;
  owner.Create(WindowOptions{});
  std::vector<std::string> log;
  SettingsRecord().adjustDialogOptions = [&](WindowOptions& options) {
    log.push_back("adjust " + options.title + " " + std::to_string(static_cast<int>(options.size.width)) +
                  "x" + std::to_string(static_cast<int>(options.size.height)));
    options.hasPosition = true;
    options.position = Point{-30000, 100};
  };
  SettingsRecord().installToolTips = [&](Window& window) {
    log.push_back(window.Handle() ? "tooltips on a window" : "tooltips without a window");
  };
  SettingsRecord().onDialogShown = [&](Window& window, const std::string& title) {
    log.push_back("shown " + title + (window.IsShown() ? " visible" : " hidden"));
    Window* dialog = &window;
    Application::Instance().Post([&log, dialog, &owner] {
      log.push_back(owner.IsInputEnabled() ? "owner enabled" : "owner disabled");
      log.push_back("at " + std::to_string(static_cast<int>(dialog->ClientScreenRect().x)));
      HeadlessWindow::Of(*dialog).KeyDown(Key(Vk::Enter));
    });
  };
  DialogBuilder dialog(360);
  dialog.Content()->AddChild(MakeLabel("Rename the picture?", true));
  dialog.AddButton("Rename", 7, true, false);
  EXPECT_EQ(dialog.RunDialog(owner.Handle(), "Rename"), 7);
  EXPECT_EQ(log, (std::vector<std::string>{"adjust Rename 360x100", "tooltips on a window",
                                           "shown Rename hidden", "owner disabled", "at -30000"}));
  EXPECT_TRUE(owner.IsInputEnabled());
  EXPECT_FALSE(dialog.IsShown());
}

TEST(RunDialog, TabGoesThroughTheContentThenTheButtons) {
  ResetKit reset;
  std::vector<std::string> order;
  SettingsRecord().onDialogShown = [&](Window& window, const std::string&) {
    Window* dialog = &window;
    Application::Instance().Post([&order, dialog] {
      for (int i = 0; i < 4; ++i) {
        Widget* focused = dialog->Focused();
        order.push_back(focused ? focused->AccessibleName() : "nothing");
        HeadlessWindow::Of(*dialog).KeyDown(Key(Vk::Tab));
      }
      HeadlessWindow::Of(*dialog).KeyDown(Key(Vk::Escape));
    });
  };
  DialogBuilder dialog(360);
  AddCheckBox(dialog.Content(), "Also delete the &copy", false);
  dialog.AddButton("Delete", 1, false, false);
  dialog.AddButton("Cancel", 2, false, true);
  // Without a default button the first Tab stop, the check box, takes the focus.
  EXPECT_EQ(dialog.RunDialog(nullptr, "Delete"), 2);
  EXPECT_EQ(order,
            (std::vector<std::string>{"Also delete the copy", "Delete", "Cancel", "Also delete the copy"}));
}

}  // namespace
}  // namespace Quarlo::Widget::Kit
