// The combo box on a headless window: choosing with the keyboard while closed and open, type-ahead on the
// hand-advanced clock, the drop-down's pointer input and what closes it.

#include "widget/input/combo_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/headless_window.h"
#include "widget/input/combo_popup.h"
#include "widget/input/combo_type_ahead.h"
#include "widget/input/events.h"
#include "widget/input/text_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/stack.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::HeadlessWindow;

std::vector<std::string> Fruits() {
  std::vector<std::string> items = {"Apple", "Apricot", "Banana", "Blueberry", "Cherry", "Date",
                                    "Elder", "Fig",     "Grape",  "Guava",     "Kiwi"};
  return items;
}

class ComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Options().size = Size{400, 300};
    window.Options().hasPosition = true;
    window.Options().position = Point{100, 100};
    auto stack = std::make_unique<Stack>(true, 0);
    combo = stack->AddChild(std::make_unique<ComboBox>());
    other = stack->AddChild(std::make_unique<ComboBox>());
    window.SetRoot(std::move(stack));
    ASSERT_TRUE(window.Create(window.Options()));
    window.Show(true);
    combo->SetItems(Fruits());
    combo->SetOnSelectionChanged([this](int index) { changes.push_back(index); });
    window.UpdateLayout();
    combo->Focus(FocusReason::Keyboard);
  }
  bool Key(uint32_t vk, uint8_t modifiers = 0, std::string_view text = {}) {
    KeyEvent e;
    e.key = vk;
    e.modifiers = modifiers;
    e.system = (modifiers & Modifier::Alt) != 0;
    return HeadlessWindow::Of(window).KeyDown(e, text);
  }
  void Type(std::string_view text) { HeadlessWindow::Of(window).Commit(text); }
  int Hot() { return combo->Popup()->List().Highlighted(); }

  Window window;
  ComboBox* combo = nullptr;
  ComboBox* other = nullptr;
  std::vector<int> changes;
};

TEST_F(ComboBoxTest, ArrowsHomeAndEndChooseWhileClosed) {
  struct Step {
    uint32_t key;
    int selected;
  };
  const std::vector<Step> steps = {{Vk::Down, 0}, {Vk::Down, 1}, {Vk::Right, 2}, {Vk::Up, 1},  {Vk::Left, 0},
                                   {Vk::Up, 0},   {Vk::End, 10}, {Vk::Down, 10}, {Vk::Home, 0}};
  for (const Step& step : steps) {
    EXPECT_TRUE(Key(step.key));
    EXPECT_EQ(combo->Selected(), step.selected) << "key 0x" << std::hex << step.key;
  }
  EXPECT_FALSE(combo->IsOpen());
  EXPECT_EQ(changes, (std::vector<int>{0, 1, 2, 1, 0, 10, 0})) << "only changes are told";
}

TEST_F(ComboBoxTest, OpeningKeysAndKeysWhileOpen) {
  combo->SetSelected(2);
  for (uint32_t key : {static_cast<uint32_t>(Vk::F1 + 3), Vk::Space, Vk::Enter}) {
    EXPECT_TRUE(Key(key));
    ASSERT_TRUE(combo->IsOpen()) << "key 0x" << std::hex << key;
    EXPECT_EQ(Hot(), 2);
    Key(Vk::Escape);
    EXPECT_FALSE(combo->IsOpen());
  }
  Key(Vk::Down, Modifier::Alt);
  ASSERT_TRUE(combo->IsOpen());
  struct Step {
    uint32_t key;
    int hot;
  };
  const std::vector<Step> steps = {{Vk::Down, 3}, {Vk::PageDown, 10}, {Vk::PageUp, 2},  {Vk::End, 10},
                                   {Vk::Home, 0}, {Vk::Up, 0},        {Vk::PageDown, 8}};
  for (const Step& step : steps) {
    EXPECT_TRUE(Key(step.key));
    EXPECT_EQ(Hot(), step.hot) << "key 0x" << std::hex << step.key;
  }
  EXPECT_EQ(combo->Selected(), 2) << "moving the highlight chooses nothing yet";
  EXPECT_GT(combo->Popup()->List().Offset(), 0) << "the highlighted row is scrolled into view";
  Key(Vk::Enter);
  EXPECT_FALSE(combo->IsOpen());
  EXPECT_EQ(combo->Selected(), 8);
  EXPECT_EQ(changes, (std::vector<int>{8}));
}

TEST_F(ComboBoxTest, EscapeKeepsTheSelectionAndTabClosesWithoutConsuming) {
  combo->SetSelected(1);
  Key(Vk::Space);
  Key(Vk::Down);
  Key(Vk::Escape);
  EXPECT_EQ(combo->Selected(), 1);
  Key(Vk::Space);
  Key(Vk::Down);
  Key(Vk::Tab);
  EXPECT_FALSE(combo->IsOpen());
  EXPECT_EQ(combo->Selected(), 1);
  EXPECT_TRUE(other->IsFocused()) << "Tab went on to move the focus";
}

TEST_F(ComboBoxTest, TypingChoosesByPrefixWhileClosedAndHighlightsWhileOpen) {
  Type("b");
  EXPECT_EQ(combo->Selected(), 2);
  Type("l");
  EXPECT_EQ(combo->Selected(), 3) << "'bl' continues the search";
  Testing::AdvanceHeadlessClock(1.5);
  Type("g");
  EXPECT_EQ(combo->Selected(), 8);
  Testing::AdvanceHeadlessClock(1.5);
  Key(Vk::Space, 0, " ");
  ASSERT_TRUE(combo->IsOpen());
  Type("c");
  EXPECT_EQ(Hot(), 4);
  EXPECT_EQ(combo->Selected(), 8);
}

TEST_F(ComboBoxTest, PressOutsideAndLosingFocusClose) {
  Key(Vk::Space);
  ASSERT_TRUE(combo->IsOpen());
  HeadlessWindow& popup = HeadlessWindow::Of(*combo->Popup());
  popup.Press(Point{-50, -50});
  EXPECT_FALSE(combo->IsOpen());
  Key(Vk::Space);
  ASSERT_TRUE(combo->IsOpen());
  other->Focus(FocusReason::Keyboard);
  EXPECT_FALSE(combo->IsOpen());
}

TEST_F(ComboBoxTest, ClickOnARowChoosesIt) {
  HeadlessWindow::Of(window).Press(Point{10, 10});
  ASSERT_TRUE(combo->IsOpen());
  ComboPopup& popup = *combo->Popup();
  popup.UpdateLayout();
  const Point row{20, kComboListPadding + 3 * kComboRowHeight + 10};
  HeadlessWindow::Of(popup).Move(row);
  EXPECT_EQ(Hot(), 3);
  HeadlessWindow::Of(popup).Press(row);
  HeadlessWindow::Of(popup).Release(row);
  EXPECT_FALSE(combo->IsOpen());
  EXPECT_EQ(combo->Selected(), 3);
  EXPECT_EQ(popup.ClientScreenRect().y, combo->ScreenBounds().Bottom()) << "the list opens below";
}

TEST_F(ComboBoxTest, AnEditableComboBoxTypesIntoItsTextBox) {
  combo->SetEditable(true);
  window.UpdateLayout();
  TextBox* box = combo->EditBox();
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(combo->IsFocusable());
  HeadlessWindow::Of(window).Press(Point{20, 10});
  HeadlessWindow::Of(window).Release(Point{20, 10});
  EXPECT_TRUE(box->IsFocused());
  EXPECT_FALSE(combo->IsOpen());
  Type("Kiw");
  EXPECT_EQ(combo->ValueText(), "Kiw");
  EXPECT_EQ(combo->Selected(), -1) << "typing searches nothing in an editable combo box";
  Key(Vk::Down);
  EXPECT_EQ(combo->Selected(), 0);
  EXPECT_EQ(box->GetText(), "Apple") << "the chosen item becomes the text";
  Key(Vk::Left);
  EXPECT_EQ(combo->Selected(), 0) << "Left moves the caret";
  Key(Vk::Down, Modifier::Alt);
  EXPECT_TRUE(combo->IsOpen());
  Key(Vk::Escape);
  const float right = combo->ActualSize().width;
  HeadlessWindow::Of(window).Press(Point{right - 10, 10});
  EXPECT_TRUE(combo->IsOpen()) << "the arrow strip opens the list";
}

TEST(TypeAheadTest, Searches) {
  const std::vector<std::string> items = {"Apple", "apricot", "Banana", "Bbq",
                                          "bread", "가방",    "나무",   "고래"};
  struct Case {
    std::u32string typed;  // one character at a time, 100 ms apart
    int current;
    int found;  // -1: nothing found
  };
  const std::vector<Case> cases = {
      {U"a", -1, 0},                       // from the start without a current item
      {U"a", 0, 1},                        // one character starts after the current item, ignoring case
      {U"ap", 0, 0},                       // more start at it
      {U"apr", 0, 1},     {U"bbb", 3, 4},  // a repeated letter that matches nothing steps through the b items
      {U"bb", 2, 3},                       // "bb" itself matches "Bbq"
      {U"\u3131", -1, 5},                  // an initial consonant matches its syllables
      {U"\u3131", 5, 7},  {U"\u3134", -1, 6}, {U"z", 1, -1},
  };
  for (const Case& c : cases) {
    TypeAhead search;
    std::optional<int> found;
    double now = 0;
    for (char32_t ch : c.typed) {
      const TypeAhead::Result result = search.Type(ch, now, c.current, items);
      EXPECT_TRUE(result.handled);
      found = result.found;
      now += 100;
    }
    EXPECT_EQ(found.value_or(-1), c.found)
        << "case with current " << c.current << " and " << c.typed.size() << " characters starting U+"
        << std::hex << static_cast<uint32_t>(c.typed[0]);
  }
}

TEST(TypeAheadTest, SpacesControlsAndTheTimeout) {
  const std::vector<std::string> items = {"a b", "a c", "b"};
  TypeAhead search;
  EXPECT_FALSE(search.Type(U'\t', 0, -1, items).handled) << "below 32: left to others";
  TypeAhead::Result space = search.Type(U' ', 0, -1, items);
  EXPECT_TRUE(space.handled);
  EXPECT_FALSE(space.found) << "a space starts no search";
  EXPECT_FALSE(search.Type(0x85, 0, -1, items).found);
  EXPECT_EQ(search.Type(U'a', 0, -1, items).found.value_or(-1), 0);
  EXPECT_EQ(search.Type(U' ', 500, 0, items).found.value_or(-1), 0)
      << "inside a running search a space counts";
  EXPECT_EQ(search.Type(U'c', 900, 0, items).found.value_or(-1), 1);
  EXPECT_EQ(search.Type(U'b', 2000, 1, items).found.value_or(-1), 2) << "after the timeout a new search";
  search.initialConsonants = false;
  EXPECT_FALSE(search.Type(0x3131, 5000, -1, {"가"}).found);
}

}  // namespace
}  // namespace Quarlo::Widget::Input
