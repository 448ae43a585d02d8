// Menus on headless windows: the panel's layout, keyboard navigation and access keys, the submenu hover
// delay on the hand-advanced clock, pointer input from every level, closing, and the chosen action running
// only after the menu has gone.

#include "widget/input/menu_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "support/headless_window.h"
#include "support/recording_canvas.h"
#include "widget/application.h"
#include "widget/canvas.h"
#include "widget/input/events.h"
#include "widget/input/menu_item.h"
#include "widget/input/menu_panel.h"
#include "widget/input/virtual_keys.h"
#include "widget/popup_placement.h"
#include "widget/theme.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::HeadlessWindow;

// A focusable root for the owner window that records the text that reaches it.
class TextSink : public Widget {
 public:
  bool IsFocusable() const override { return true; }
  bool OnChar(const CharEvent& event) override {
    text.push_back(static_cast<char>(event.codePoint));
    return true;
  }
  std::string text;
};

void Drain() { Application::Instance().DrainPosted(); }

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Drain();
    owner.Options().size = Size{400, 300};
    owner.Options().hasPosition = true;
    owner.Options().position = Point{100, 100};
    sink = owner.SetRoot(std::make_unique<TextSink>());
    ASSERT_TRUE(owner.Create(owner.Options()));
    owner.Show(true);
    sink->Focus(FocusReason::Programmatic);
    menu.onInvoked = [this](const MenuItem& item) {
      invoked.push_back(item.id);
      invokedChecked.push_back(item.checked);
    };
    menu.onClosed = [this] { ++closings; };
  }
  void TearDown() override {
    menu.Close();
    Drain();
  }

  void Open(std::vector<MenuItem> items, bool selectFirst = true, Point at = {150, 150}) {
    menu.items = std::move(items);
    menu.ShowAt(owner, static_cast<int>(at.x), static_cast<int>(at.y), selectFirst);
  }
  bool Key(uint32_t vk, std::string_view text = {}, uint8_t modifiers = 0) {
    KeyEvent e;
    e.key = vk;
    e.modifiers = modifiers;
    return HeadlessWindow::Of(owner).KeyDown(e, text);
  }
  MenuSession& Session() { return *menu.Session(); }
  int Levels() { return menu.Session() ? Session().LevelCount() : 0; }
  int Hot(int level = -1) { return Session().PanelAt(level < 0 ? Levels() - 1 : level)->Highlighted(); }
  HeadlessWindow& Native(int level) { return HeadlessWindow::Of(*Session().PopupAt(level)); }
  // The middle of a row, in the popup's DIPs.
  Point RowPoint(int level, int index) {
    return Point{60, Session().PanelAt(level)->RowTop(index) + kMenuRowHeight / 2};
  }
  void Hover(int level, int index) { Native(level).Move(RowPoint(level, index)); }
  void Click(int level, int index) {
    Native(level).Press(RowPoint(level, index));
    Native(level).Release(RowPoint(level, index));
  }

  Window owner;
  TextSink* sink = nullptr;
  ContextMenu menu;
  std::vector<int> invoked;
  std::vector<bool> invokedChecked;
  int closings = 0;
};

std::vector<MenuItem> FileMenu() {
  MenuItem disabled = MenuItem::Command(3, "&Disabled");
  disabled.enabled = false;
  return {MenuItem::Command(1, "&Open", "Ctrl+O"), MenuItem::Separator(), std::move(disabled),
          MenuItem::Command(4, "&Save"), MenuItem::Command(5, "Save &as")};
}

std::vector<MenuItem> WithSubmenu() {
  return {MenuItem::Command(1, "&Open"),
          MenuItem::Submenu(2, "&Recent", {}, 0,
                            {MenuItem::Command(21, "&First"), MenuItem::Command(22, "&Second")}),
          MenuItem::Command(3, "&Quit")};
}

// --- Layout ---

float LabelWidth(const std::string& text, const Theme& theme) {
  TextStyle style;
  style.size = theme.metrics[3];
  return std::ceil(TextLayout::Measure(text, style, kUnbounded, TextOptions{}).width);
}

TEST_F(MenuTest, PanelSizeFollowsLabelsAcceleratorsAndSubmenus) {
  const std::string longLabel = "A rather long menu label that passes the minimum width";
  struct Case {
    std::vector<MenuItem> items;
    float width;
    float height;
  };
  const Theme& theme = owner.GetTheme();
  const float label = LabelWidth(longLabel, theme);
  const float accelerator = LabelWidth("Ctrl+Shift+F12", theme);
  const std::vector<Case> cases = {
      {{}, 160, 8},
      {{MenuItem::Command(1, "&A")}, 160, 40},
      {{MenuItem::Command(1, longLabel)}, label + 40 + 16, 40},
      {{MenuItem::Command(1, longLabel, "Ctrl+Shift+F12")}, label + 40 + accelerator + 32 + 16, 40},
      {{MenuItem::Command(1, longLabel), MenuItem::Separator(), MenuItem::Submenu(2, "B", {}, 0, {})},
       label + 40 + 32,
       4 + 32 + 9 + 32 + 4},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    Open(cases[i].items);
    ASSERT_EQ(Levels(), 1) << "case " << i;
    EXPECT_EQ(Session().PanelAt(0)->ContentSize(), (Size{cases[i].width, cases[i].height})) << "case " << i;
    const Rect frame = Session().PopupAt(0)->ClientScreenRect();
    EXPECT_EQ(frame.width, std::ceil(cases[i].width)) << "case " << i;
    menu.Close();
  }
}

// --- Keyboard ---

TEST_F(MenuTest, ArrowsHomeAndEndSkipSeparatorsAndDisabledItemsAndWrap) {
  Open(FileMenu());
  ASSERT_EQ(Hot(), 0);
  struct Step {
    uint32_t key;
    int hot;
  };
  const std::vector<Step> steps = {{Vk::Down, 3}, {Vk::Down, 4}, {Vk::Down, 0}, {Vk::Up, 4},
                                   {Vk::Up, 3},   {Vk::Up, 0},   {Vk::End, 4},  {Vk::Home, 0}};
  for (const Step& step : steps) {
    EXPECT_TRUE(Key(step.key));
    EXPECT_EQ(Hot(), step.hot) << "after key 0x" << std::hex << step.key;
  }
  // Shift and Ctrl are left to the window; nothing else happened.
  EXPECT_FALSE(Key(Vk::Shift));
  EXPECT_TRUE(menu.IsOpen());
}

TEST_F(MenuTest, UpFromNoHighlightTakesTheLastItem) {
  Open(FileMenu(), false);
  EXPECT_EQ(Hot(), -1);
  Key(Vk::Up);
  EXPECT_EQ(Hot(), 4);
}

TEST_F(MenuTest, RightOpensTheSubmenuLeftAndEscapeCloseOnlyIt) {
  Open(WithSubmenu());
  Key(Vk::Down);
  ASSERT_EQ(Hot(), 1);
  Key(Vk::Right);
  ASSERT_EQ(Levels(), 2);
  EXPECT_EQ(Hot(1), 0) << "a submenu opened from the keyboard highlights its first item";
  Key(Vk::Down);
  EXPECT_EQ(Hot(1), 1);
  Key(Vk::Left);
  EXPECT_EQ(Levels(), 1);
  EXPECT_EQ(Hot(0), 1);
  Key(Vk::Enter);
  ASSERT_EQ(Levels(), 2);
  Key(Vk::Escape);
  EXPECT_EQ(Levels(), 1);
  EXPECT_TRUE(menu.IsOpen());
  EXPECT_EQ(closings, 0);
  Key(Vk::Escape);
  EXPECT_FALSE(menu.IsOpen());
  EXPECT_EQ(closings, 1);
}

TEST_F(MenuTest, TabAltAndF10CloseTheWholeMenu) {
  for (uint32_t key : {Vk::Tab, Vk::Alt, static_cast<uint32_t>(Vk::F1 + 9)}) {
    Open(WithSubmenu());
    Key(Vk::Down);
    Key(Vk::Right);
    ASSERT_EQ(Levels(), 2);
    EXPECT_TRUE(Key(key));
    EXPECT_FALSE(menu.IsOpen()) << "key 0x" << std::hex << key;
  }
}

TEST_F(MenuTest, SidewaysCallbackHearsLeftAndRightAtTheRoot) {
  Open(WithSubmenu());
  std::vector<int> directions;
  Session().SetOnSideways([&](int direction) {
    directions.push_back(direction);
    return true;
  });
  Key(Vk::Right);  // on "Open", not a submenu
  Key(Vk::Left);
  Key(Vk::Down);
  Key(Vk::Right);  // opens the submenu instead
  Key(Vk::Right);  // inside the submenu on a command: nothing
  Key(Vk::Left);   // closes the submenu only
  EXPECT_EQ(directions, (std::vector<int>{1, -1}));
  EXPECT_EQ(Levels(), 1);
}

TEST_F(MenuTest, EnterRunsTheActionOnlyAfterTheMenuClosed) {
  std::vector<MenuItem> items = FileMenu();
  bool ran = false;
  bool openWhenRan = true;
  items[3].action = [&] {
    ran = true;
    openWhenRan = menu.IsOpen() || Session().PopupAt(0) != nullptr;
  };
  Open(std::move(items));
  Key(Vk::Down);
  Key(Vk::Enter);
  EXPECT_FALSE(menu.IsOpen());
  EXPECT_FALSE(ran) << "the action waits for the posted queue";
  EXPECT_TRUE(invoked.empty());
  EXPECT_FALSE(HeadlessWindow::Of(owner).captured);
  Drain();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(openWhenRan);
  EXPECT_EQ(invoked, (std::vector<int>{4}));
  EXPECT_EQ(closings, 1);
}

TEST_F(MenuTest, TheActionRunsEvenWhenTheMenuObjectIsGoneButItsCallbackDoesNot) {
  auto shortLived = std::make_unique<ContextMenu>();
  bool ran = false;
  bool told = false;
  shortLived->items = {MenuItem::Command(1, "&Open")};
  shortLived->items[0].action = [&] { ran = true; };
  shortLived->onInvoked = [&](const MenuItem&) { told = true; };
  shortLived->ShowAt(owner, 150, 150, true);
  Key(Vk::Enter);
  shortLived.reset();
  Drain();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(told);
}

TEST_F(MenuTest, SharedAccessKeyCyclesAndAUniqueOneActivates) {
  Open({MenuItem::Command(1, "&Save"), MenuItem::Command(2, "&Open"), MenuItem::Command(3, "&Search"),
        MenuItem::Command(4, "&Quit")},
       false);
  Key('S', "s");
  EXPECT_EQ(Hot(), 0);
  Key('S', "s");
  EXPECT_EQ(Hot(), 2);
  Key('S', "s");
  EXPECT_EQ(Hot(), 0);
  Key('X', "x");  // no item: nothing
  EXPECT_TRUE(menu.IsOpen());
  Key('O', "o");
  EXPECT_FALSE(menu.IsOpen());
  Drain();
  EXPECT_EQ(invoked, (std::vector<int>{2}));
  EXPECT_EQ(sink->text, "") << "no typed character reaches the window below, not even the closing one";
  Key('K', "k");
  EXPECT_EQ(sink->text, "k") << "once closed, the window takes text again";
}

TEST_F(MenuTest, AccessKeyWithCtrlIsLeftToTheWindow) {
  Open(FileMenu());
  EXPECT_FALSE(Key('S', {}, Modifier::Ctrl));
  EXPECT_TRUE(menu.IsOpen());
}

TEST_F(MenuTest, CheckTogglesAndRadioClearsOnlyItsGroupInItsLevel) {
  Open({MenuItem::Check(1, "&Check", {}, 0, false), MenuItem::Radio(2, "&A", {}, 0, 1, true),
        MenuItem::Radio(3, "&B", {}, 0, 1, false), MenuItem::Radio(4, "&C", {}, 0, 2, true)});
  MenuPanel* panel = Session().PanelAt(0);
  Key('B', "b");
  // The panel lives until the posted queue drops it.
  EXPECT_FALSE(panel->Items()[1].checked);
  EXPECT_TRUE(panel->Items()[2].checked);
  EXPECT_TRUE(panel->Items()[3].checked) << "group 2 is untouched";
  Drain();
  Open({MenuItem::Check(1, "&Check", {}, 0, false)});
  Key(Vk::Enter);
  Drain();
  EXPECT_EQ(invoked, (std::vector<int>{3, 1}));
  EXPECT_EQ(invokedChecked, (std::vector<bool>{true, true}));
}

TEST_F(MenuTest, DisabledItemsAndSeparatorsDoNothing) {
  Open(FileMenu(), false);
  Session().Invoke(0, 1, InvokeSource::Keyboard);
  Session().Invoke(0, 2, InvokeSource::Keyboard);
  Session().Invoke(0, 99, InvokeSource::Keyboard);
  Key('D', "d");
  EXPECT_TRUE(menu.IsOpen());
  Drain();
  EXPECT_TRUE(invoked.empty());
}

// --- Pointer ---

TEST_F(MenuTest, HoveringASubmenuRowOpensItAfterTheDelay) {
  Open(WithSubmenu(), false);
  Hover(0, 1);
  EXPECT_EQ(Hot(0), 1);
  Testing::AdvanceHeadlessClock(0.3);
  EXPECT_EQ(Levels(), 1);
  Testing::AdvanceHeadlessClock(0.06);
  ASSERT_EQ(Levels(), 2);
  EXPECT_EQ(Hot(1), -1) << "a submenu opened by the pointer highlights nothing";
  // Into the submenu and onto one of its rows: the parent's row stays highlighted.
  Hover(1, 1);
  EXPECT_EQ(Hot(1), 1);
  EXPECT_EQ(Hot(0), 1);
  // Back to another row of the root: the submenu closes.
  Hover(0, 0);
  EXPECT_EQ(Levels(), 1);
}

TEST_F(MenuTest, LeavingTheSubmenuRowBeforeTheDelayCancelsIt) {
  Open(WithSubmenu(), false);
  Hover(0, 1);
  Testing::AdvanceHeadlessClock(0.2);
  Hover(0, 2);
  Testing::AdvanceHeadlessClock(1);
  EXPECT_EQ(Levels(), 1);
  EXPECT_EQ(Hot(0), 2);
}

TEST_F(MenuTest, NoHoverDelayOpensAtOnce) {
  menu.hoverDelay = 0;
  Open(WithSubmenu(), false);
  Hover(0, 1);
  EXPECT_EQ(Levels(), 2);
}

TEST_F(MenuTest, ClickingARowInvokesItAfterClose) {
  Open(WithSubmenu(), false);
  Hover(0, 1);
  Testing::AdvanceHeadlessClock(0.4);
  ASSERT_EQ(Levels(), 2);
  Click(1, 1);
  EXPECT_FALSE(menu.IsOpen());
  Drain();
  EXPECT_EQ(invoked, (std::vector<int>{22}));
}

TEST_F(MenuTest, PointerInputReachesTheLevelUnderItWhicheverPopupReceivesIt) {
  // With the grab on the root popup every event arrives there, in its coordinates.
  Open(WithSubmenu(), false);
  Session().Invoke(0, 1, InvokeSource::Pointer);
  ASSERT_EQ(Levels(), 2);
  const Rect root = Session().PopupAt(0)->ClientScreenRect();
  const Rect sub = Session().PopupAt(1)->ClientScreenRect();
  const Point inSubmenu{sub.x - root.x + 60, sub.y - root.y + Session().PanelAt(1)->RowTop(0) + 16};
  Native(0).Move(inSubmenu);
  EXPECT_EQ(Hot(1), 0);
  Native(0).Press(inSubmenu);
  Native(0).Release(inSubmenu);
  Drain();
  EXPECT_EQ(invoked, (std::vector<int>{21}));
}

TEST_F(MenuTest, PressOutsideClosesUnlessTheCallbackKeepsIt) {
  Open(FileMenu());
  EXPECT_TRUE(HeadlessWindow::Of(*Session().PopupAt(0)).captured) << "the root level holds the pointer";
  std::vector<Point> presses;
  bool keep = true;
  Session().SetOnOutsidePress([&](Point at) {
    presses.push_back(at);
    return keep;
  });
  const Rect root = Session().PopupAt(0)->ClientScreenRect();
  Native(0).Press(Point{-20, -20}, PointerButton::Right);
  EXPECT_TRUE(menu.IsOpen());
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0], (Point{root.x - 20, root.y - 20}));
  keep = false;
  MenuPopup* popup = Session().PopupAt(0);
  Native(0).Press(Point{-20, -20});
  EXPECT_FALSE(menu.IsOpen());
  EXPECT_FALSE(popup->IsShown());
  EXPECT_FALSE(HeadlessWindow::Of(*popup).captured) << "closing releases the pointer";
  Drain();
  EXPECT_TRUE(invoked.empty());
}

TEST_F(MenuTest, LosingTheGrabClosesTheMenu) {
  Open(WithSubmenu());
  Key(Vk::Down);
  Key(Vk::Right);
  Native(0).LoseCapture();
  EXPECT_FALSE(menu.IsOpen());
  EXPECT_EQ(closings, 1);
}

TEST_F(MenuTest, ShowingAgainClosesTheSessionBefore) {
  Open(FileMenu());
  Open(WithSubmenu());
  EXPECT_EQ(closings, 1);
  EXPECT_TRUE(menu.IsOpen());
  EXPECT_EQ(Session().PanelAt(0)->Items().size(), 3u);
}

// --- Placement ---

TEST_F(MenuTest, MenuNearTheRightEdgeOpensItsSubmenuToTheLeft) {
  const Rect work = Testing::kHeadlessWorkArea;
  Open(WithSubmenu(), true, Point{work.Right() - 100, 200});
  const Rect root = Session().PopupAt(0)->ClientScreenRect();
  EXPECT_EQ(root.Right(), work.Right()) << "the root is pulled back inside the work area";
  Key(Vk::Down);
  Key(Vk::Right);
  ASSERT_EQ(Levels(), 2);
  const Rect sub = Session().PopupAt(1)->ClientScreenRect();
  EXPECT_EQ(sub.Right(), root.x);
  EXPECT_EQ(sub.y, root.y + Session().PanelAt(0)->RowTop(1) - kMenuPadding);
}

// Forty rows (1,288 DIPs) in a 1,080-high work area: the menu shows what fits and scrolls the rest.
TEST_F(MenuTest, AMenuTallerThanTheScreenFitsItAndScrolls) {
  std::vector<MenuItem> items;
  for (int id = 1; id <= 40; ++id) items.push_back(MenuItem::Command(id, "Item " + std::to_string(id)));
  items.back().kind = MenuItemKind::Submenu;
  items.back().children = {MenuItem::Command(41, "Inner")};
  Open(std::move(items), true, Point{150, 150});
  const Rect work = Testing::kHeadlessWorkArea;
  MenuPanel& panel = *Session().PanelAt(0);
  const Rect frame = Session().PopupAt(0)->ClientScreenRect();
  EXPECT_EQ(frame.y, work.y);
  EXPECT_EQ(frame.height, work.height);
  EXPECT_EQ(panel.ScrollOffset(), 0);
  EXPECT_EQ(panel.MaxScroll(), 4 + 40 * 32 + 4 - work.height);

  Key(Vk::End);  // the last row comes into view, and a press there reaches it
  EXPECT_EQ(Hot(), 39);
  EXPECT_EQ(panel.ScrollOffset(), panel.MaxScroll());
  Key(Vk::Right);
  ASSERT_EQ(Levels(), 2);
  EXPECT_EQ(Session().PopupAt(1)->ClientScreenRect().y,
            frame.y + panel.RowTop(39) - panel.ScrollOffset() - kMenuPadding);
  Key(Vk::Left);
  Key(Vk::Up);
  const Point row38{60, panel.RowTop(38) - panel.ScrollOffset() + kMenuRowHeight / 2};
  Key(Vk::Home);
  EXPECT_EQ(panel.ScrollOffset(), 0);
  // Only the lower arrow strip shows at the top.
  Testing::RecordingCanvas canvas;
  Native(0).Paint(canvas);
  std::vector<char32_t> glyphs;
  for (const auto& call : canvas.Calls("DrawIcon")) glyphs.push_back(call.codePoint);
  EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), U'\uE70D'), 1);
  EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), U'\uE70E'), 0);

  WheelEvent wheel;
  wheel.position = Point{60, 500};
  wheel.deltaY = -1;
  Native(0).Scroll(wheel);
  EXPECT_EQ(panel.ScrollOffset(), 3 * kMenuRowHeight);
  EXPECT_EQ(Hot(), panel.RowAt(500)) << "the row that came under the resting pointer lights up";
  // A press on the lower arrow strip scrolls a page, up to the end.
  Native(0).Press(Point{60, work.height - kMenuScrollBand / 2});
  Native(0).Release(Point{60, work.height - kMenuScrollBand / 2});
  EXPECT_EQ(panel.ScrollOffset(), panel.MaxScroll());
  EXPECT_TRUE(invoked.empty());
  Native(0).Press(row38);
  Native(0).Release(row38);
  Drain();
  EXPECT_EQ(invoked, (std::vector<int>{39}));
}

TEST_F(MenuTest, SubmenuOpensBesideItsRowOverlappingTheParent) {
  Open(WithSubmenu(), true, Point{200, 200});
  Key(Vk::Down);
  Key(Vk::Right);
  const Rect root = Session().PopupAt(0)->ClientScreenRect();
  const Rect sub = Session().PopupAt(1)->ClientScreenRect();
  EXPECT_EQ(sub.x, root.Right() - 2);
  EXPECT_EQ(sub.y, root.y + 32);
}

TEST(PopupPlacementTest, FlipsAndClampsIntoTheWorkArea) {
  const Rect work{0, 0, 1000, 800};
  struct Case {
    Rect anchor;
    Size popup;
    PopupSide side;
    Point expected;
  };
  const std::vector<Case> cases = {
      {{100, 100, 50, 20}, {200, 300}, PopupSide::Below, {100, 120}},   // fits below
      {{100, 700, 50, 20}, {200, 300}, PopupSide::Below, {100, 400}},   // flips above
      {{100, 200, 50, 20}, {200, 700}, PopupSide::Below, {100, 100}},   // no room above: clamped
      {{900, 100, 50, 20}, {200, 300}, PopupSide::Below, {800, 120}},   // pulled in from the right
      {{100, 100, 300, 1}, {200, 300}, PopupSide::Beside, {400, 100}},  // fits to the right
      {{600, 100, 300, 1}, {200, 300}, PopupSide::Beside, {400, 100}},  // flips to the left
      {{600, 700, 300, 1}, {200, 300}, PopupSide::Beside, {400, 500}},  // and moves up
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacePopup(c.anchor, c.popup, c.side, work), c.expected)
        << c.anchor.x << "," << c.anchor.y << " side " << static_cast<int>(c.side);
  }
  EXPECT_EQ(PlacePopup({900, 700, 50, 20}, {200, 300}, PopupSide::Below, Rect{}), (Point{900, 720}))
      << "without a work area the anchor's corner stays";
}

}  // namespace
}  // namespace Quarlo::Widget::Input
