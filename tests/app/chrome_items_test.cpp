// The chrome's rules as plain functions of the window's state: which tool bar items are enabled and
// checked, what the Fit, Layout and More menus hold, the shortcut texts in tooltips and menus, the bottom
// bar's texts and where the slider leads.

#include "app/chrome_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/key_map.h"
#include "core/strings.h"

namespace {

using App::ChromeState;
using App::CommandId;
using App::ItemIdOf;
using App::KeyMap;
using Quarlo::View::FitMode;
using Quarlo::View::PageMode;
using Quarlo::View::Text;
using Quarlo::Widget::Input::MenuItem;
using Quarlo::Widget::Input::MenuItemKind;
using Quarlo::Widget::Input::ToolbarItem;
using Quarlo::Widget::Input::ToolbarItemKind;

ToolbarItem ItemWithId(const std::vector<ToolbarItem>& items, int32_t id) {
  for (const ToolbarItem& item : items) {
    if (item.id == id && item.kind != ToolbarItemKind::Separator) return item;
  }
  ADD_FAILURE() << "no tool bar item " << id;
  return {};
}

const MenuItem* MenuItemWithId(const std::vector<MenuItem>& items, int32_t id) {
  for (const MenuItem& item : items) {
    if (item.kind != MenuItemKind::Separator && item.id == id) return &item;
  }
  return nullptr;
}

class ChromeItemsTest : public ::testing::Test {
 protected:
  void SetUp() override { Quarlo::View::SetKoreanStrings(false); }
  KeyMap keys;
};

TEST_F(ChromeItemsTest, ToolBarHoldsEveryItemInOrderWithItsIcon) {
  const std::vector<ToolbarItem> items = App::ToolBarItems(ChromeState{}, keys);
  std::vector<int32_t> ids;
  std::vector<char32_t> icons;
  for (const ToolbarItem& item : items) {
    ids.push_back(item.kind == ToolbarItemKind::Separator ? 0 : item.id);
    icons.push_back(item.icon);
  }
  const auto id = [](CommandId command) { return ItemIdOf(command); };
  EXPECT_EQ(
      ids, (std::vector<int32_t>{id(CommandId::Open), id(CommandId::ShowList), 0, id(CommandId::ZoomOut),
                                 id(CommandId::ZoomIn), App::kFitMenuId, id(CommandId::RotateLeft),
                                 id(CommandId::RotateRight), App::kLayoutMenuId, 0, id(CommandId::Slideshow),
                                 id(CommandId::Fullscreen), id(CommandId::ShowInfo), 0, id(CommandId::Delete),
                                 App::kMoreMenuId, id(CommandId::Settings)}));
  EXPECT_EQ(icons, (std::vector<char32_t>{0xE8E5, 0xE8A9, 0, 0xE71F, 0xE8A3, 0xE9A6, 0xE7A7, 0xE7A6, 0xE736,
                                          0, 0xE786, 0xE740, 0xE946, 0, 0xE74D, 0xE712, 0xE713}));
  EXPECT_EQ(ItemWithId(items, App::kMoreMenuId).text, Text(31));
  EXPECT_EQ(ItemWithId(items, ItemIdOf(CommandId::ZoomIn)).text, App::Label(CommandId::ZoomIn));
}

TEST_F(ChromeItemsTest, ToolBarStatesFollowTheWindow) {
  struct Case {
    const char* what;
    ChromeState state;
    CommandId command;
    bool enabled;
    bool checked;
  };
  ChromeState open;
  open.listOpen = true;
  ChromeState webtoon = open;
  webtoon.webtoon = true;
  ChromeState shown = open;
  shown.listShown = true;
  shown.slideShow = true;
  shown.infoShown = true;
  ChromeState folder = open;
  folder.folderPicture = true;
  const Case cases[] = {
      {"nothing open: Open works", ChromeState{}, CommandId::Open, true, false},
      {"nothing open: no list to show", ChromeState{}, CommandId::ShowList, false, false},
      {"nothing open: no zoom", ChromeState{}, CommandId::ZoomIn, false, false},
      {"nothing open: full screen always", ChromeState{}, CommandId::Fullscreen, true, false},
      {"nothing open: settings always", ChromeState{}, CommandId::Settings, true, false},
      {"open: rotate", open, CommandId::RotateLeft, true, false},
      {"webtoon: no rotating", webtoon, CommandId::RotateRight, false, false},
      {"webtoon: zoom still works", webtoon, CommandId::ZoomOut, true, false},
      {"image list shown", shown, CommandId::ShowList, true, true},
      {"slide show runs", shown, CommandId::Slideshow, true, true},
      {"info panel shown", shown, CommandId::ShowInfo, true, true},
      {"archive entry: no delete", open, CommandId::Delete, false, false},
      {"folder picture: delete", folder, CommandId::Delete, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ToolbarItem item = ItemWithId(App::ToolBarItems(c.state, keys), ItemIdOf(c.command));
    EXPECT_EQ(item.enabled, c.enabled);
    EXPECT_EQ(item.checked, c.checked);
  }
  ChromeState full;
  full.fullScreen = true;
  EXPECT_EQ(ItemWithId(App::ToolBarItems(full, keys), ItemIdOf(CommandId::Fullscreen)).icon, 0xE73Fu);
  EXPECT_FALSE(ItemWithId(App::ToolBarItems(ChromeState{}, keys), App::kFitMenuId).enabled);
  EXPECT_TRUE(ItemWithId(App::ToolBarItems(ChromeState{}, keys), App::kLayoutMenuId).enabled);
}

TEST_F(ChromeItemsTest, FitMenuChecksTheModeUnlessTheZoomIsManual) {
  ChromeState state;
  state.fitMode = FitMode::FitWidth;
  const std::vector<MenuItem> menu = App::FitMenu(state, keys);
  const MenuItem* width = MenuItemWithId(menu, ItemIdOf(CommandId::FitWidth));
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(width->kind, MenuItemKind::Radio);
  EXPECT_TRUE(width->checked);
  EXPECT_EQ(width->acceleratorText, "Ctrl+2");
  EXPECT_FALSE(MenuItemWithId(menu, ItemIdOf(CommandId::ZoomFit))->checked);
  EXPECT_EQ(MenuItemWithId(menu, ItemIdOf(CommandId::ZoomLock))->kind, MenuItemKind::Check);

  state.zoomManual = true;
  for (const MenuItem& item : App::FitMenu(state, keys)) {
    if (item.kind == MenuItemKind::Radio) EXPECT_FALSE(item.checked) << item.text;
  }
  // The strip has no manual zoom in that sense: the setting decides.
  state.webtoon = true;
  EXPECT_TRUE(MenuItemWithId(App::FitMenu(state, keys), ItemIdOf(CommandId::FitWidth))->checked);
}

TEST_F(ChromeItemsTest, LayoutMenuOffersRightPageFirstOnlyForTwoPages) {
  ChromeState state;
  state.rightToLeft = true;
  const std::vector<MenuItem> menu = App::LayoutMenu(state, keys);
  const MenuItem* rightToLeft = MenuItemWithId(menu, ItemIdOf(CommandId::RightToLeft));
  ASSERT_NE(rightToLeft, nullptr);
  EXPECT_TRUE(rightToLeft->checked);
  EXPECT_FALSE(rightToLeft->enabled);
  EXPECT_TRUE(MenuItemWithId(App::LayoutMenu(state, keys), ItemIdOf(CommandId::SinglePage))->checked);
  state.pageMode = PageMode::TwoPages;
  EXPECT_TRUE(MenuItemWithId(App::LayoutMenu(state, keys), ItemIdOf(CommandId::RightToLeft))->enabled);
  EXPECT_TRUE(MenuItemWithId(App::LayoutMenu(state, keys), ItemIdOf(CommandId::TwoPages))->checked);
}

TEST_F(ChromeItemsTest, MoreMenuGroupsItsItemsAndNamesTheAlbums) {
  ChromeState state;
  state.listOpen = true;
  state.alwaysOnTop = true;
  state.albums[1] = "/home/me/Pictures/Favorites";
  const std::vector<MenuItem> menu = App::MoreMenu(state, keys);
  int separators = 0;
  for (const MenuItem& item : menu) separators += item.kind == MenuItemKind::Separator ? 1 : 0;
  EXPECT_EQ(separators, 4);
  EXPECT_EQ(menu.front().id, ItemIdOf(CommandId::OpenFolder));
  EXPECT_EQ(menu.back().id, ItemIdOf(CommandId::About));
  EXPECT_TRUE(MenuItemWithId(menu, ItemIdOf(CommandId::AlwaysOnTop))->checked);
  EXPECT_FALSE(MenuItemWithId(menu, ItemIdOf(CommandId::PinBars))->checked);
  // An archive entry is not a file of its own.
  EXPECT_FALSE(MenuItemWithId(menu, ItemIdOf(CommandId::Rename))->enabled);
  EXPECT_TRUE(MenuItemWithId(menu, ItemIdOf(CommandId::CopyPath))->enabled);

  const auto albums = std::find_if(menu.begin(), menu.end(), [](const MenuItem& item) {
    return item.kind == MenuItemKind::Submenu && item.text == Text(40);
  });
  ASSERT_NE(albums, menu.end());
  ASSERT_EQ(albums->children.size(), 4u);
  EXPECT_EQ(albums->children[0].text, "Album folder 1");
  EXPECT_EQ(albums->children[1].text, "Album folder 2: Favorites");
  EXPECT_EQ(albums->children[1].acceleratorText, "Alt+2");
  // Without the image list's sort items there is no empty Sort submenu.
  EXPECT_EQ(
      std::count_if(menu.begin(), menu.end(), [](const MenuItem& item) { return item.text == Text(34); }), 0);
  state.sortMenu = {MenuItem::Radio(200, Text(35), {}, 0, 1, true)};
  const std::vector<MenuItem> sorted = App::MoreMenu(state, keys);
  EXPECT_EQ(
      std::count_if(sorted.begin(), sorted.end(), [](const MenuItem& item) { return item.text == Text(34); }),
      1);
}

TEST_F(ChromeItemsTest, TooltipsNameTheFirstChord) {
  EXPECT_EQ(App::ChordToolTip(keys, CommandId::Next), App::Label(CommandId::Next) + " (Right)");
  EXPECT_EQ(App::ChordToolTip(keys, CommandId::About), App::Label(CommandId::About));
  keys.SetChords(CommandId::Next, {});
  EXPECT_EQ(App::ChordToolTip(keys, CommandId::Next), App::Label(CommandId::Next));
}

TEST_F(ChromeItemsTest, BottomBarTexts) {
  EXPECT_EQ(App::PositionText(4, 120, true), "5\u20136 / 120");
  EXPECT_EQ(App::PositionText(6, 120, false), "7 / 120");
  EXPECT_EQ(App::ZoomText(1.5), "150%");
  EXPECT_EQ(App::ZoomText(0.3333), "33%");
}

TEST_F(ChromeItemsTest, SliderValuesRoundHalvesAwayFromZero) {
  struct Case {
    double value;
    size_t index;
  };
  for (const Case c : {Case{1.0, 0}, Case{1.49, 0}, Case{1.5, 1}, Case{2.5, 2}, Case{0.2, 0}, Case{-3, 0}}) {
    EXPECT_EQ(App::SliderTarget(c.value), c.index) << c.value;
  }
}

TEST_F(ChromeItemsTest, ItemIdsStandForCommandsOnlyInTheirRange) {
  EXPECT_EQ(App::CommandOfItem(1), CommandId::Open);
  EXPECT_EQ(App::CommandOfItem(56), CommandId::About);
  for (int32_t id : {0, 57, App::kFitMenuId, 200, 210}) EXPECT_FALSE(App::CommandOfItem(id)) << id;
}

TEST_F(ChromeItemsTest, SameItemsSeesAChangedStateDeepInAMenu) {
  ChromeState state;
  EXPECT_TRUE(App::SameItems(App::ToolBarItems(state, keys), App::ToolBarItems(state, keys)));
  ChromeState locked = state;
  locked.zoomLock = true;
  EXPECT_FALSE(App::SameItems(App::ToolBarItems(state, keys), App::ToolBarItems(locked, keys)));
}

}  // namespace
