// Check boxes, radio buttons and navigation tabs: the check-box cycle, radio groups (exclusion, arrow keys,
// tab stops), box colours, and their size and drawing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/input_events.h"
#include "widget/input/check_box.h"
#include "widget/input/nav_tab.h"
#include "widget/input/radio_button.h"
#include "widget/input/virtual_keys.h"
#include "widget/stack.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::FakeHost;
using Testing::Key;
using Testing::Pointer;

// A vertical stack at the top left of a 300 × 300 window.
struct Page {
  FakeHost host;
  Stack* root;

  Page() {
    host.SetClientSize({300, 300});
    root = host.SetRoot(std::make_unique<Stack>(true, 0));
    root->SetVerticalAlignment(Alignment::Start);
  }
  template <typename T>
  T* Add(std::unique_ptr<T> control) {
    T* added = root->AddChild(std::move(control));
    host.Paint();
    return added;
  }
  void ClickAt(Point p) {
    host.PointerDown(Pointer(p));
    host.PointerUp(Pointer(p));
  }
};

TEST(CheckBox, PushesCycleThroughTheStates) {
  struct Case {
    bool threeState;
    std::vector<CheckState> after;  // states after each push
  };
  const Case cases[] = {
      {false, {CheckState::Checked, CheckState::Unchecked, CheckState::Checked}},
      {true, {CheckState::Checked, CheckState::Indeterminate, CheckState::Unchecked, CheckState::Checked}},
  };
  for (const Case& c : cases) {
    Page page;
    CheckBox* box = page.Add(std::make_unique<CheckBox>("Remember"));
    box->threeState = c.threeState;
    std::vector<CheckState> told;
    box->onStateChanged = [&](CheckState s) { told.push_back(s); };
    for (size_t i = 0; i < c.after.size(); ++i) {
      page.ClickAt({10, 16});
      EXPECT_EQ(box->State(), c.after[i]) << c.threeState << " push " << i;
    }
    EXPECT_EQ(told, c.after);
    EXPECT_EQ(page.host.CountEvents(AutomationEvent::ToggleStateChanged, box),
              static_cast<int>(c.after.size()));
  }
}

TEST(CheckBox, SpaceTogglesButEnterIsLeftToTheDialog) {
  Page page;
  CheckBox* box = page.Add(std::make_unique<CheckBox>("&Remember"));
  ASSERT_TRUE(box->Focus(FocusReason::Keyboard));
  EXPECT_FALSE(box->ActivatesOnEnter());
  EXPECT_FALSE(box->OnKeyDown(Key(Vk::Enter)));
  EXPECT_EQ(box->State(), CheckState::Unchecked);
  page.host.KeyDown(Key(Vk::Space));
  page.host.KeyUp(Key(Vk::Space));
  EXPECT_EQ(box->State(), CheckState::Checked);
  EXPECT_TRUE(page.host.Char(Testing::AltChar('r')));
  EXPECT_EQ(box->State(), CheckState::Unchecked);
}

TEST(CheckBox, SetStateReportsOnlyChangesAndDisabledIgnoresPushes) {
  CheckBox box("Remember");
  int told = 0;
  box.onStateChanged = [&](CheckState) { ++told; };
  box.SetState(CheckState::Indeterminate);
  box.SetState(CheckState::Indeterminate);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(box.ToggleState(), 3);
  box.SetState(CheckState::Checked);
  EXPECT_EQ(box.ToggleState(), 2);
  box.SetEnabled(false);
  box.Click();
  EXPECT_FALSE(box.Invoke());
  EXPECT_EQ(box.State(), CheckState::Checked);
  EXPECT_EQ(box.Role(), Role::CheckBox);
}

TEST(CheckBox, BoxColoursAndGlyphFollowTheState) {
  using C = ThemeColor;
  struct Case {
    CheckState state;
    bool enabled;
    C fill;
    std::optional<C> border;
    const char* mark;  // "check", "bar" or "none"
  };
  const Case cases[] = {
      {CheckState::Unchecked, true, C::ControlFill, C::StrongBorder, "none"},
      {CheckState::Unchecked, false, C::ControlFillDisabled, C::Divider, "none"},
      {CheckState::Checked, true, C::Accent, std::nullopt, "check"},
      {CheckState::Checked, false, C::AccentDisabled, std::nullopt, "check"},
      {CheckState::Indeterminate, true, C::Accent, std::nullopt, "bar"},
  };
  for (const Theme& theme :
       {Theme::Light(kDefaultAccent), Theme::Dark(kDefaultAccent), Theme::HighContrast()}) {
    for (const Case& c : cases) {
      Page page;
      page.host.SetTheme(theme);
      CheckBox* box = page.Add(std::make_unique<CheckBox>("Remember"));
      box->SetState(c.state);
      box->SetEnabled(c.enabled);
      page.host.Advance(1);
      const auto canvas = page.host.Paint();
      const std::string label = std::to_string(int(theme.mode)) + " state " + std::to_string(int(c.state)) +
                                " enabled " + std::to_string(c.enabled);
      const auto fills = canvas.Calls("FillRoundedRect");
      ASSERT_FALSE(fills.empty()) << label;
      EXPECT_EQ(fills[0].rect, (Rect{0, 6, 20, 20})) << label;
      EXPECT_EQ(fills[0].color, theme.Get(c.fill)) << label;
      const auto strokes = canvas.Calls("StrokeRoundedRect");
      ASSERT_EQ(strokes.size(), c.border ? 1u : 0u) << label;
      if (c.border) {
        EXPECT_EQ(strokes[0].color, theme.Get(*c.border)) << label;
      }
      const Color glyph = theme.Get(c.enabled ? C::TextOnAccent : C::TextOnAccentDisabled);
      const auto icons = canvas.Calls("DrawIcon");
      EXPECT_EQ(icons.size(), std::string(c.mark) == "check" ? 1u : 0u) << label;
      if (!icons.empty()) {
        EXPECT_EQ(icons[0].codePoint, 0xE73Eu) << label;
        EXPECT_EQ(icons[0].color, glyph) << label;
      }
      if (std::string(c.mark) == "bar") {
        ASSERT_EQ(fills.size(), 2u) << label;
        EXPECT_EQ(fills[1].rect, (Rect{6, 15, 8, 2})) << label;
        EXPECT_EQ(fills[1].color, glyph) << label;
      }
      const auto texts = canvas.Calls("DrawText");
      ASSERT_EQ(texts.size(), 1u) << label;
      EXPECT_EQ(texts[0].rect.x, 28) << label;
      EXPECT_EQ(texts[0].color, theme.Get(c.enabled ? C::TextPrimary : C::TextDisabled)) << label;
    }
  }
}

TEST(CheckBox, MeasureIsBoxGapAndWrappedText) {
  CheckBox empty;
  EXPECT_EQ(empty.Measure({kUnbounded, kUnbounded}), (Size{20, 32}));
  CheckBox box("Show the picture's file name in the title bar of the window");
  const Size wide = box.Measure({kUnbounded, kUnbounded});
  const Size narrow = box.Measure({150, kUnbounded});
  EXPECT_GT(wide.width, 150);
  EXPECT_LE(narrow.width, 150);
  EXPECT_GT(narrow.height, wide.height) << "the text wraps at words";
  EXPECT_EQ(wide.height, 32);
}

// Three radio buttons of one group and one of another, stacked 32 DIPs apart.
struct Group {
  Page page;
  std::vector<RadioButton*> members;
  RadioButton* stranger;
  std::vector<std::string> told;

  Group() {
    for (const char* name : {"One", "Two", "Three"}) {
      RadioButton* r = page.root->AddChild(std::make_unique<RadioButton>(name, "numbers"));
      r->onCheckedChanged = [this, name](bool on) {
        told.push_back(std::string(name) + (on ? " on" : " off"));
      };
      members.push_back(r);
    }
    stranger = page.root->AddChild(std::make_unique<RadioButton>("Other", "letters"));
    stranger->SetChecked(true);
    page.host.Paint();
  }
};

TEST(RadioButton, CheckingOneUnchecksTheOthersOfItsGroupOnly) {
  Group g;
  EXPECT_EQ(g.members[0]->Group(), g.members);
  g.page.ClickAt({10, 16});
  g.page.ClickAt({10, 48});
  EXPECT_FALSE(g.members[0]->IsChecked());
  EXPECT_TRUE(g.members[1]->IsChecked());
  EXPECT_TRUE(g.stranger->IsChecked());
  EXPECT_EQ(g.told, (std::vector<std::string>{"One on", "One off", "Two on"}));
  EXPECT_EQ(g.page.host.CountEvents(AutomationEvent::ToggleStateChanged, g.members[0]), 2);
  EXPECT_EQ(g.page.host.CountEvents(AutomationEvent::ElementSelected, g.members[1]), 1);
  EXPECT_EQ(g.page.host.CountEvents(AutomationEvent::ElementSelected, g.members[0]), 1);
  // A push on the checked one changes nothing.
  g.page.ClickAt({10, 48});
  EXPECT_EQ(g.told.size(), 3u);
  EXPECT_TRUE(g.members[1]->IsSelected());
  EXPECT_EQ(g.members[1]->ToggleState(), 2);
  EXPECT_EQ(g.members[0]->ToggleState(), 1);
}

TEST(RadioButton, TabEntersTheGroupAtItsCheckedMember) {
  Group g;
  g.members[0]->SetEnabled(false);
  // None checked: only the first member that can take focus is a tab stop.
  EXPECT_FALSE(g.members[0]->IsTabStop());
  EXPECT_TRUE(g.members[1]->IsTabStop());
  EXPECT_FALSE(g.members[2]->IsTabStop());
  g.members[2]->SetChecked(true);
  EXPECT_FALSE(g.members[1]->IsTabStop());
  EXPECT_TRUE(g.members[2]->IsTabStop());
  g.page.host.KeyDown(Key(Vk::Tab));
  EXPECT_EQ(g.page.host.Focused(), g.members[2]);
  g.page.host.KeyDown(Key(Vk::Tab));
  EXPECT_EQ(g.page.host.Focused(), g.stranger);
}

TEST(RadioButton, ArrowKeysMoveAndCheckWrappingAndSkippingDisabledMembers) {
  struct Case {
    int from;
    uint32_t key;
    int to;
  };
  const Case cases[] = {
      {0, Vk::Down, 1}, {0, Vk::Right, 1}, {2, Vk::Right, 0}, {0, Vk::Left, 2}, {1, Vk::Up, 0},
  };
  for (const Case& c : cases) {
    Group g;
    ASSERT_TRUE(g.members[c.from]->Focus(FocusReason::Keyboard));
    EXPECT_TRUE(g.page.host.KeyDown(Key(c.key))) << c.from << " " << c.key;
    EXPECT_EQ(g.page.host.Focused(), g.members[c.to]) << c.from << " " << c.key;
    EXPECT_TRUE(g.members[c.to]->IsChecked()) << c.from << " " << c.key;
    EXPECT_TRUE(g.page.host.FocusVisible());
  }
  Group g;
  g.members[1]->SetEnabled(false);
  g.members[0]->Focus(FocusReason::Keyboard);
  g.page.host.KeyDown(Key(Vk::Down));
  EXPECT_EQ(g.page.host.Focused(), g.members[2]);
  EXPECT_FALSE(g.members[1]->IsChecked());
  // With a modifier the arrows are not the group's.
  EXPECT_FALSE(g.members[2]->OnKeyDown(Key(Vk::Down, Modifier::Ctrl)));
}

TEST(RadioButton, HandlerThatRebuildsThePageIsSafe) {
  Group g;
  g.members[0]->SetChecked(true);
  // Unchecking One clears the page: Two's own check must not touch what is gone.
  g.members[0]->onCheckedChanged = [&](bool on) {
    if (!on) g.page.root->ClearChildren();
  };
  g.members[1]->SetChecked(true);
  EXPECT_TRUE(g.page.root->Children().empty());
}

TEST(RadioButton, DotGrowsInWhenCheckedAndShowsHoverAndPress) {
  Group g;
  RadioButton* one = g.members[0];
  const Theme& theme = g.page.host.GetTheme();
  auto dot = [&]() -> std::optional<Testing::CanvasCall> {
    g.page.host.Advance(1);
    auto ellipses = g.page.host.Paint().Calls("FillEllipse");
    for (const auto& e : ellipses) {
      if (e.windowRect.y >= 0 && e.windowRect.y < 32 && e.rect.width < 20) return e;
    }
    return std::nullopt;
  };
  EXPECT_FALSE(dot().has_value());
  one->SetChecked(true);
  auto checked = dot();
  ASSERT_TRUE(checked.has_value());
  EXPECT_EQ(checked->rect, (Rect{5, 11, 10, 10})) << "centred on the box at (10, 16)";
  EXPECT_EQ(checked->color, theme.Get(ThemeColor::TextOnAccent));
  g.page.host.PointerMove(Pointer({10, 16}, PointerButton::None));
  EXPECT_EQ(dot()->rect.width, 12);
  g.page.host.PointerDown(Pointer({10, 16}));
  EXPECT_EQ(dot()->rect.width, 8);
}

TEST(NavTab, SizeHighlightAndIndicator) {
  NavTab unbounded("General", "pages");
  EXPECT_EQ(unbounded.Measure({kUnbounded, kUnbounded}), (Size{140, 36}));
  EXPECT_EQ(unbounded.Measure({200, 100}), (Size{200, 36}));
  EXPECT_FALSE(unbounded.ActivatesOnEnter());
  EXPECT_STREQ(unbounded.ClassName(), "NavTab");

  Page page;
  NavTab* general = page.Add(std::make_unique<NavTab>("General", "pages"));
  NavTab* keys = page.Add(std::make_unique<NavTab>("Keys", "pages"));
  const Theme& theme = page.host.GetTheme();
  EXPECT_TRUE(page.host.Paint().Calls("FillRoundedRect").empty()) << "nothing is highlighted at rest";
  general->SetChecked(true);
  auto fills = page.host.Paint().Calls("FillRoundedRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 300, 36}));
  EXPECT_EQ(fills[0].color, theme.Get(ThemeColor::SubtleFillHover));
  EXPECT_EQ(fills[1].rect, (Rect{0, 10, 3, 16}));
  EXPECT_EQ(fills[1].color, theme.Get(ThemeColor::Accent));
  page.host.PointerMove(Pointer({50, 50}, PointerButton::None));
  page.host.PointerDown(Pointer({50, 50}));
  fills = page.host.Paint().Calls("FillRoundedRect");
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[2].windowRect, keys->Bounds());
  EXPECT_EQ(fills[2].color, theme.Get(ThemeColor::SubtleFillPressed)) << "no fade: pressed shows at once";
  page.host.PointerUp(Pointer({50, 50}));
  EXPECT_TRUE(keys->IsChecked());
  EXPECT_FALSE(general->IsChecked());
}

}  // namespace
}  // namespace Quarlo::Widget::Input
