// The tool bar on a headless window: which entries move into the overflow menu at which width, what the
// overflow menu holds, and which commands the entries and the menus report.

#include "widget/input/toolbar.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "support/headless_window.h"
#include "widget/application.h"
#include "widget/input/button.h"
#include "widget/input/menu_panel.h"
#include "widget/input/menu_session.h"
#include "widget/input/split_button.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::HeadlessWindow;

ToolbarItem Item(ToolbarItemKind kind, int32_t id, std::string text, char32_t icon = 0xE8E5) {
  return ToolbarItem::Make(kind, id, std::move(text), icon);
}

std::vector<ToolbarItem> Items() {
  ToolbarItem toggle = Item(ToolbarItemKind::Toggle, 3, "&Full screen", 0xE740);
  toggle.checked = false;
  ToolbarItem split = Item(ToolbarItemKind::Split, 5, "&Rotate", 0xE7A6);
  split.menu = {MenuItem::Command(51, "Rotate &left"), MenuItem::Command(52, "Rotate &right")};
  ToolbarItem disabled = Item(ToolbarItemKind::Button, 6, "&Delete", 0xE74D);
  disabled.enabled = false;
  return {Item(ToolbarItemKind::Button, 1, "&Open"),
          Item(ToolbarItemKind::Button, 2, "&Save"),
          Item(ToolbarItemKind::Separator, 0, {}),
          std::move(toggle),
          Item(ToolbarItemKind::Separator, 0, {}),
          std::move(split),
          std::move(disabled)};
}

class ToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Options().size = Size{1000, 40};
    toolbar = window.SetRoot(std::make_unique<Toolbar>());
    ASSERT_TRUE(window.Create(window.Options()));
    window.Show(true);
    toolbar->SetItems(Items());
    toolbar->onCommand = [this](int32_t id, bool checked) { commands.emplace_back(id, checked); };
    window.UpdateLayout();
    for (size_t i = 0; i < toolbar->Items().size(); ++i)
      widths.push_back(toolbar->EntryAt(i)->DesiredSize().width);
  }
  void TearDown() override { Application::Instance().DrainPosted(); }

  void LayOut(float width) {
    HeadlessWindow::Of(window).Resize(Size{width, 40});
    window.UpdateLayout();
  }
  // The width the first n entries take with their spacing.
  float Span(size_t n) const {
    float total = 0;
    for (size_t i = 0; i < n; ++i) total += widths[i] + (i > 0 ? 2 : 0);
    return total;
  }
  float Reserve() const { return std::max(window.GetTheme().controlHeight, 2 * 11.0f + 16) + 2; }
  std::vector<bool> Shown() const {
    std::vector<bool> shown;
    for (size_t i = 0; i < toolbar->Items().size(); ++i) shown.push_back(toolbar->EntryAt(i)->IsVisible());
    return shown;
  }

  Window window;
  Toolbar* toolbar = nullptr;
  std::vector<float> widths;
  std::vector<std::pair<int32_t, bool>> commands;
};

TEST_F(ToolbarTest, EntriesGetNamesTooltipsAndTheirEnabledState) {
  EXPECT_EQ(toolbar->EntryAt(0)->AccessibleName(), "Open");
  EXPECT_EQ(toolbar->EntryAt(0)->ToolTip(), "Open");
  EXPECT_STREQ(toolbar->EntryAt(2)->ClassName(), "Separator");
  EXPECT_STREQ(toolbar->EntryAt(5)->ClassName(), "SplitButton");
  EXPECT_FALSE(toolbar->EntryAt(6)->IsEnabled());
  EXPECT_EQ(toolbar->OverflowButton().ToolTip(), "More options");
  EXPECT_FALSE(toolbar->OverflowButton().IsVisible());
}

TEST_F(ToolbarTest, WhatDoesNotFitMovesToTheOverflowAndASeparatorBeforeTheCutGoesWithIt) {
  const size_t all = toolbar->Items().size();
  struct Case {
    float width;
    size_t kept;
  };
  const std::vector<Case> cases = {
      {Span(all), all},              // everything fits exactly
      {Span(all) - 1, 4},            // the split and the last do not; the separator before them goes too
      {Span(4) + 2 + Reserve(), 4},  // up to the toggle (the separator after it would not fit)
      {Span(3) + 2 + Reserve(), 2},  // the cut falls after a separator: it is dropped
      {Span(2) + Reserve() - 1, 1},
      {Reserve(), 0},
  };
  for (const Case& c : cases) {
    LayOut(c.width);
    EXPECT_EQ(toolbar->FirstHidden(), c.kept) << "width " << c.width;
    std::vector<bool> expected(all, false);
    for (size_t i = 0; i < c.kept; ++i) expected[i] = true;
    EXPECT_EQ(Shown(), expected) << "width " << c.width;
    EXPECT_EQ(toolbar->OverflowButton().IsVisible(), c.kept < all) << "width " << c.width;
  }
  // Room again: everything comes back, at its own width.
  LayOut(Span(all));
  EXPECT_EQ(toolbar->FirstHidden(), all);
  EXPECT_EQ(toolbar->EntryAt(6)->ActualSize().width, widths[6]);
}

TEST_F(ToolbarTest, ButtonsToggleAndSplitPartsReportTheirCommands) {
  static_cast<Button*>(toolbar->EntryAt(0))->Click();
  static_cast<ToggleButton*>(toolbar->EntryAt(3))->Click();
  static_cast<SplitButton*>(toolbar->EntryAt(5))->Primary().Click();
  EXPECT_EQ(commands, (std::vector<std::pair<int32_t, bool>>{{1, false}, {3, true}, {5, false}}));
  EXPECT_TRUE(toolbar->Items()[3].checked);
}

TEST_F(ToolbarTest, SplitMenuReportsTheChosenItem) {
  auto* split = static_cast<SplitButton*>(toolbar->EntryAt(5));
  split->Arrow().Click();
  ASSERT_TRUE(split->IsMenuOpen());
  KeyEvent down;
  down.key = Vk::Down;
  HeadlessWindow::Of(window).KeyDown(down);
  KeyEvent enter;
  enter.key = Vk::Enter;
  HeadlessWindow::Of(window).KeyDown(enter);
  Application::Instance().DrainPosted();
  EXPECT_EQ(commands, (std::vector<std::pair<int32_t, bool>>{{51, false}}));
}

// The panel of the open menu level the tool bar showed.
MenuPanel* OpenMenuPanel() {
  for (HeadlessWindow* w : Testing::LiveWindows()) {
    if (w->visible && w->Owner().Options().title == "Menu")
      return dynamic_cast<MenuPanel*>(w->Owner().Root());
  }
  return nullptr;
}

TEST_F(ToolbarTest, OverflowMenuStandsForTheHiddenEntries) {
  LayOut(Span(2) + Reserve());
  ASSERT_EQ(toolbar->FirstHidden(), 2u);
  toolbar->OpenOverflowMenu(true);
  MenuPanel* panel = OpenMenuPanel();
  ASSERT_NE(panel, nullptr);
  const std::vector<MenuItem>& items = panel->Items();
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].kind, MenuItemKind::Separator);
  EXPECT_EQ(items[1].kind, MenuItemKind::Check);
  EXPECT_EQ(items[1].id, 3);
  EXPECT_EQ(items[2].kind, MenuItemKind::Separator);
  ASSERT_EQ(items[3].kind, MenuItemKind::Submenu);
  ASSERT_EQ(items[3].children.size(), 4u) << "the primary command, a separator and the split menu";
  EXPECT_EQ(items[3].children[0].id, 5);
  EXPECT_EQ(items[3].children[1].kind, MenuItemKind::Separator);
  EXPECT_EQ(items[3].children[3].id, 52);
  EXPECT_EQ(items[4].id, 6);
  EXPECT_FALSE(items[4].enabled);
  EXPECT_EQ(panel->Highlighted(), 1);
}

TEST_F(ToolbarTest, ChoosingAHiddenToggleSetsItAndReportsOnce) {
  LayOut(Span(2) + Reserve());
  toolbar->OpenOverflowMenu(true);
  KeyEvent enter;
  enter.key = Vk::Enter;
  HeadlessWindow::Of(window).KeyDown(enter);
  Application::Instance().DrainPosted();
  EXPECT_EQ(commands, (std::vector<std::pair<int32_t, bool>>{{3, true}}));
  EXPECT_TRUE(static_cast<ToggleButton*>(toolbar->EntryAt(3))->IsChecked());
  EXPECT_TRUE(toolbar->Items()[3].checked);
}

TEST_F(ToolbarTest, NothingHiddenOpensNoOverflowMenu) {
  toolbar->OpenOverflowMenu(true);
  EXPECT_EQ(OpenMenuPanel(), nullptr);
}

TEST_F(ToolbarTest, DropDownButtonReportsItsMenuAsExpanded) {
  ToolbarItem dropDown = Item(ToolbarItemKind::DropDown, 7, "&View");
  dropDown.menu = {MenuItem::Radio(71, "&Single", {}, 0, 1, true),
                   MenuItem::Radio(72, "&Double", {}, 0, 1, false)};
  toolbar->SetItems({dropDown});
  window.UpdateLayout();
  auto* button = static_cast<DropDownButton*>(toolbar->EntryAt(0));
  EXPECT_EQ(button->ExpandState(), 1);
  button->Click();
  EXPECT_EQ(button->ExpandState(), kExpandStateExpanded);
  EXPECT_TRUE(button->SetExpanded(false));
  EXPECT_EQ(button->ExpandState(), 1);
  EXPECT_TRUE(button->SetExpanded(true));
  ASSERT_NE(OpenMenuPanel(), nullptr);
  EXPECT_EQ(OpenMenuPanel()->Highlighted(), 0);
  KeyEvent key;
  key.key = 'D';
  HeadlessWindow::Of(window).KeyDown(key);
  EXPECT_EQ(button->ExpandState(), 1);
  Application::Instance().DrainPosted();
  EXPECT_EQ(commands, (std::vector<std::pair<int32_t, bool>>{{72, true}}));
}

}  // namespace
}  // namespace Quarlo::Widget::Input
