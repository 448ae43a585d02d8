// Button and ToggleButton: what pushes them (pointer, Space, Enter, access key, accessibility), what a
// disabled one ignores, dialog results, the colours of every look and state in each theme, and their size.

#include "widget/input/button.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/input_events.h"
#include "widget/input/virtual_keys.h"
#include "widget/stack.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::AltChar;
using Testing::FakeHost;
using Testing::Key;
using Testing::Pointer;

// A host that records the results modal loops were ended with.
class ModalHost : public FakeHost {
 public:
  void EndModal(int result) override { ended.push_back(result); }
  std::vector<int> ended;
};

// One 120 × 32 button at the top left of a 300 × 200 window, counting its pushes; a second button below it
// takes the focus away when needed.
struct OneButton {
  ModalHost host;
  Stack* root;
  Button* button;
  Button* other;
  int clicks = 0;

  explicit OneButton(std::unique_ptr<Button> made = std::make_unique<Button>("Save &As")) {
    host.SetClientSize({300, 200});
    root = host.SetRoot(std::make_unique<Stack>(true, 0));
    root->SetHorizontalAlignment(Alignment::Start);
    root->SetVerticalAlignment(Alignment::Start);
    button = root->AddChild(std::move(made));
    button->SetWidth(120);
    button->onClick = [this] { ++clicks; };
    other = root->AddChild(std::make_unique<Button>("Other"));
    host.Paint();
  }
  // Lets every colour fade finish, then paints.
  Testing::RecordingCanvas Settle(float scale = 1) {
    host.Advance(1);
    return host.Paint(scale);
  }
};

TEST(Button, PointerPushNeedsLeftPressAndReleaseInside) {
  struct Case {
    const char* name;
    PointerButton button;
    std::vector<Point> moves;  // between press and release
    Point release;
    int clicks;
  };
  const Case cases[] = {
      {"release inside", PointerButton::Left, {}, {60, 16}, 1},
      {"release outside", PointerButton::Left, {}, {200, 16}, 0},
      {"release just past the right edge", PointerButton::Left, {}, {120, 16}, 0},
      {"out and back in", PointerButton::Left, {{200, 100}, {10, 10}}, {10, 10}, 1},
      {"right button", PointerButton::Right, {}, {60, 16}, 0},
  };
  for (const Case& c : cases) {
    OneButton b;
    b.host.PointerDown(Pointer({60, 16}, c.button));
    for (Point p : c.moves) b.host.PointerMove(Pointer(p, PointerButton::None));
    b.host.PointerUp(Pointer(c.release, c.button));
    EXPECT_EQ(b.clicks, c.clicks) << c.name;
    EXPECT_EQ(b.host.Captured(), nullptr) << c.name;
  }
}

TEST(Button, LeftPressIsTakenAndCapturesThePointer) {
  OneButton b;
  b.host.PointerDown(Pointer({60, 16}));
  EXPECT_EQ(b.host.Captured(), b.button);
  EXPECT_TRUE(b.button->IsPressed());
  EXPECT_EQ(b.clicks, 0);
}

TEST(Button, SpacePushesOnReleaseAndEnterAtOnce) {
  OneButton b;
  ASSERT_TRUE(b.button->Focus(FocusReason::Keyboard));
  EXPECT_TRUE(b.host.KeyDown(Key(Vk::Space)));
  EXPECT_EQ(b.clicks, 0);
  EXPECT_TRUE(b.host.KeyUp(Key(Vk::Space)));
  EXPECT_EQ(b.clicks, 1);
  // A release without its press is not a push.
  EXPECT_FALSE(b.host.KeyUp(Key(Vk::Space)));
  EXPECT_EQ(b.clicks, 1);

  EXPECT_TRUE(b.host.KeyDown(Key(Vk::Enter)));
  EXPECT_EQ(b.clicks, 2);
  EXPECT_TRUE(b.button->OnKeyDown(Key(Vk::Enter, 0, true)));
  EXPECT_EQ(b.clicks, 2) << "a held Enter pushes once";
  EXPECT_TRUE(b.button->OnKeyDown(Key(Vk::Enter, Modifier::Shift)));
  EXPECT_EQ(b.clicks, 3);
}

TEST(Button, ChordsWithCtrlAltOrWinAreLeftToTheWindow) {
  OneButton b;
  for (uint8_t modifiers :
       {Modifier::Ctrl, Modifier::Alt, Modifier::Win, uint8_t(Modifier::Ctrl | Modifier::Shift)}) {
    EXPECT_FALSE(b.button->OnKeyDown(Key(Vk::Enter, modifiers))) << int(modifiers);
    EXPECT_FALSE(b.button->OnKeyDown(Key(Vk::Space, modifiers))) << int(modifiers);
  }
  EXPECT_FALSE(b.button->OnKeyUp(Key(Vk::Space)));
  EXPECT_EQ(b.clicks, 0);
}

TEST(Button, LosingCaptureForgetsAPendingSpace) {
  OneButton b;
  ASSERT_TRUE(b.button->Focus(FocusReason::Keyboard));
  b.host.KeyDown(Key(Vk::Space));
  b.button->OnCaptureLost();
  b.host.KeyUp(Key(Vk::Space));
  EXPECT_EQ(b.clicks, 0);
}

TEST(Button, DisabledButtonIgnoresEveryPush) {
  OneButton b;
  b.button->dialogResult = 1;
  b.root->SetEnabled(false);
  b.host.PointerDown(Pointer({60, 16}));
  b.host.PointerUp(Pointer({60, 16}));
  b.button->OnKeyDown(Key(Vk::Space));
  b.button->OnKeyUp(Key(Vk::Space));
  b.button->OnKeyDown(Key(Vk::Enter));
  EXPECT_FALSE(b.button->Invoke());
  b.button->Click();
  EXPECT_FALSE(b.host.Char(AltChar('a')));
  EXPECT_EQ(b.clicks, 0);
  EXPECT_TRUE(b.host.ended.empty());
}

TEST(Button, AccessKeyFocusesFromTheKeyboardAndPushes) {
  OneButton b;
  EXPECT_EQ(b.button->DisplayText(), "Save As");
  EXPECT_EQ(b.button->AccessKey(), u'A');
  EXPECT_TRUE(b.host.Char(AltChar('a')));
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.host.Focused(), b.button);
  EXPECT_TRUE(b.button->IsFocusVisualShown());
}

TEST(Button, InvokePushesAndReports) {
  OneButton b;
  EXPECT_TRUE(b.button->Invoke());
  EXPECT_EQ(b.clicks, 1);
  EXPECT_TRUE(b.button->SupportsInvoke());
  EXPECT_EQ(b.button->Role(), Role::Button);
  EXPECT_EQ(b.button->AccessibleName(), "Save As");
  b.button->SetAccessibleName("Save a copy");
  EXPECT_EQ(b.button->AccessibleName(), "Save a copy");
}

TEST(Button, DialogResultEndsTheModalLoopAfterOnClick) {
  OneButton b;
  std::vector<std::string> order;
  b.button->dialogResult = 1;
  b.button->onClick = [&] { order.push_back(b.host.ended.empty() ? "click before end" : "click after end"); };
  b.button->Invoke();
  EXPECT_EQ(order, (std::vector<std::string>{"click before end"}));
  EXPECT_EQ(b.host.ended, (std::vector<int>{1}));
}

TEST(Button, HandlerMayReplaceItselfOrDestroyTheButton) {
  OneButton b;
  int second = 0;
  b.button->onClick = [&] { b.button->onClick = [&] { ++second; }; };
  b.button->Invoke();
  b.button->Invoke();
  EXPECT_EQ(second, 1);

  // A handler that closes the page: the button is gone before its dialog result would be used.
  b.button->dialogResult = 3;
  b.button->onClick = [&] { b.root->RemoveChild(b.button); };
  b.host.PointerDown(Pointer({60, 16}));
  b.host.PointerUp(Pointer({60, 16}));
  EXPECT_TRUE(b.host.ended.empty());
  EXPECT_EQ(b.root->Children().size(), 1u);
}

TEST(Button, SetTextParsesTheKeyAndTellsAccessibility) {
  OneButton b;
  b.button->SetText("Fish && Chips");
  EXPECT_EQ(b.button->DisplayText(), "Fish & Chips");
  EXPECT_EQ(b.button->AccessKey(), 0);
  EXPECT_EQ(b.host.CountEvents(AutomationEvent::NameChanged, b.button), 1);
  EXPECT_FALSE(b.button->IsMeasureValid());
}

enum class State { Normal, Hovered, Pressed, Disabled };

// Puts the button of b into a state through the host, as the pointer would.
void Enter(OneButton& b, State state) {
  switch (state) {
    case State::Normal:
      break;
    case State::Hovered:
      b.host.PointerMove(Pointer({60, 16}, PointerButton::None));
      break;
    case State::Pressed:
      b.host.PointerDown(Pointer({60, 16}));
      break;
    case State::Disabled:
      b.button->SetEnabled(false);
      break;
  }
}

TEST(Button, ColoursOfEveryLookAndStateInEachTheme) {
  using C = ThemeColor;
  struct Case {
    ButtonStyle style;
    bool isDefault;
    bool checked;  // a ToggleButton that is on
    State state;
    std::optional<C> background;  // nullopt: transparent
    std::optional<C> border;
    C foreground;
    float foregroundAlpha;  // share of the foreground colour's alpha
  };
  const Case cases[] = {
      {ButtonStyle::Standard, false, false, State::Normal, C::ControlFill, C::ControlBorder, C::TextPrimary,
       1},
      {ButtonStyle::Standard, false, false, State::Hovered, C::ControlFillHover, C::ControlBorder,
       C::TextPrimary, 1},
      {ButtonStyle::Standard, false, false, State::Pressed, C::ControlFillPressed, C::ControlBorder,
       C::TextSecondary, 1},
      {ButtonStyle::Standard, false, false, State::Disabled, C::ControlFillDisabled, C::Divider,
       C::TextDisabled, 1},
      {ButtonStyle::Accent, false, false, State::Normal, C::Accent, std::nullopt, C::TextOnAccent, 1},
      {ButtonStyle::Accent, false, false, State::Hovered, C::AccentHover, std::nullopt, C::TextOnAccent, 1},
      {ButtonStyle::Accent, false, false, State::Pressed, C::AccentPressed, std::nullopt, C::TextOnAccent,
       0.8f},
      {ButtonStyle::Accent, false, false, State::Disabled, C::AccentDisabled, std::nullopt,
       C::TextOnAccentDisabled, 1},
      {ButtonStyle::Standard, true, false, State::Normal, C::Accent, std::nullopt, C::TextOnAccent, 1},
      {ButtonStyle::Standard, true, false, State::Pressed, C::AccentPressed, std::nullopt, C::TextOnAccent,
       0.8f},
      {ButtonStyle::Subtle, false, false, State::Normal, std::nullopt, std::nullopt, C::TextPrimary, 1},
      {ButtonStyle::Subtle, false, false, State::Hovered, C::SubtleFillHover, std::nullopt, C::TextPrimary,
       1},
      {ButtonStyle::Subtle, false, false, State::Pressed, C::SubtleFillPressed, std::nullopt,
       C::TextSecondary, 1},
      {ButtonStyle::Subtle, false, false, State::Disabled, std::nullopt, std::nullopt, C::TextDisabled, 1},
      {ButtonStyle::Standard, false, true, State::Normal, C::Accent, std::nullopt, C::TextOnAccent, 1},
      {ButtonStyle::Standard, false, true, State::Pressed, C::AccentPressed, std::nullopt, C::TextOnAccent,
       1},
      {ButtonStyle::Accent, false, true, State::Disabled, C::AccentDisabled, std::nullopt,
       C::TextOnAccentDisabled, 1},
      {ButtonStyle::Subtle, false, true, State::Normal, C::SubtleFillPressed, std::nullopt, C::Accent, 1},
      {ButtonStyle::Subtle, false, true, State::Hovered, C::SubtleFillPressed, std::nullopt, C::Accent, 1},
      {ButtonStyle::Subtle, false, true, State::Disabled, std::nullopt, std::nullopt, C::TextDisabled, 1},
  };
  const Theme themes[] = {Theme::Light(kDefaultAccent), Theme::Dark(kDefaultAccent), Theme::HighContrast()};
  for (const Theme& theme : themes) {
    for (const Case& c : cases) {
      auto made = std::make_unique<ToggleButton>("Look", c.style);
      made->SetDefault(c.isDefault);
      made->SetChecked(c.checked);
      OneButton b(std::move(made));
      b.host.SetTheme(theme);
      Enter(b, c.state);
      const Testing::RecordingCanvas canvas = b.Settle();
      const std::string label = "theme " + std::to_string(int(theme.mode)) + " style " +
                                std::to_string(int(c.style)) + " default " + std::to_string(c.isDefault) +
                                " checked " + std::to_string(c.checked) + " state " +
                                std::to_string(int(c.state));
      const ControlColors colors = b.button->CurrentColors();
      const Color foreground = theme.Get(c.foreground);
      EXPECT_EQ(colors.background.a > 0.002f, c.background.has_value()) << label;
      if (c.background) {
        EXPECT_EQ(colors.background, theme.Get(*c.background)) << label;
      }
      EXPECT_EQ(colors.border.a > 0.002f, c.border.has_value()) << label;
      if (c.border) {
        EXPECT_EQ(colors.border, theme.Get(*c.border)) << label;
      }
      EXPECT_EQ(colors.foreground, foreground.WithAlpha(foreground.a * c.foregroundAlpha)) << label;
      // What is painted: the background over the whole button, and the outline only where there is one.
      const std::vector<Testing::CanvasCall> fills = canvas.Calls("FillRoundedRect");
      ASSERT_FALSE(fills.empty()) << label;
      EXPECT_EQ(fills.front().windowRect, b.button->Bounds()) << label;
      EXPECT_EQ(fills.front().color, colors.background) << label;
      size_t outlines = 0;
      for (const auto& stroke : canvas.Calls("StrokeRoundedRect"))
        outlines += stroke.windowRect == b.button->Bounds();
      EXPECT_EQ(outlines, c.border ? 1u : 0u) << label;
    }
  }
}

TEST(Button, ColoursFadeOverTheTransitionTime) {
  OneButton b;
  const Theme& theme = b.host.GetTheme();
  Enter(b, State::Hovered);
  b.host.Paint();
  EXPECT_NE(b.button->CurrentColors().background, theme.Get(ThemeColor::ControlFillHover));
  b.host.Advance(theme.transitionSeconds / 2);
  b.host.Paint();
  EXPECT_NE(b.button->CurrentColors().background, theme.Get(ThemeColor::ControlFillHover));
  b.host.Advance(theme.transitionSeconds);
  b.host.Paint();
  EXPECT_EQ(b.button->CurrentColors().background, theme.Get(ThemeColor::ControlFillHover));
}

TEST(Button, ThemeChangeTakesTheNewColoursAtOnce) {
  OneButton b;
  const Theme dark = Theme::Dark(kDefaultAccent);
  b.host.SetTheme(dark);
  EXPECT_EQ(b.button->CurrentColors().background, dark.Get(ThemeColor::ControlFill));
}

TEST(Button, BorderIsOneDevicePixelAtEveryScale) {
  for (float scale : {1.0f, 1.5f, 2.0f}) {
    OneButton b;
    auto strokes = b.Settle(scale).Calls("StrokeRoundedRect");
    std::erase_if(strokes,
                  [&](const Testing::CanvasCall& call) { return call.windowRect != b.button->Bounds(); });
    ASSERT_EQ(strokes.size(), 1u) << scale;
    EXPECT_FLOAT_EQ(strokes.front().value * scale, std::round(scale)) << scale;
  }
}

TEST(Button, FocusRingOnlyForKeyboardFocus) {
  OneButton b;
  const Color ring = b.host.GetTheme().Get(ThemeColor::StrongForeground);
  auto ringCount = [&](const Testing::RecordingCanvas& canvas) {
    int n = 0;
    for (const auto& call : canvas.Calls("StrokeRoundedRect")) n += call.color == ring && call.value == 2;
    return n;
  };
  b.host.PointerDown(Pointer({60, 16}));
  b.host.PointerUp(Pointer({60, 16}));
  EXPECT_EQ(b.host.Focused(), b.button);
  EXPECT_EQ(ringCount(b.Settle()), 0);
  b.host.KeyDown(Key(Vk::Tab));
  b.host.KeyDown(Key(Vk::Tab, Modifier::Shift));
  EXPECT_EQ(b.host.Focused(), b.button);
  const auto canvas = b.Settle();
  EXPECT_EQ(ringCount(canvas), 1);
  for (const auto& call : canvas.Calls("StrokeRoundedRect")) {
    if (call.color == ring) {
      EXPECT_EQ(call.rect, (Rect{-3, -3, 126, 38}));
    }
  }
}

TEST(Button, MeasureLeavesRoomForIconGapTrailingGlyphAndPadding) {
  Button textOnly("OK");
  const Size ok = textOnly.Measure({kUnbounded, kUnbounded});
  EXPECT_GE(ok.width, 32);
  EXPECT_EQ(ok.height, 32);

  Button iconOnly;
  iconOnly.SetIcon(0xE72B);
  EXPECT_EQ(iconOnly.Measure({kUnbounded, kUnbounded}), (Size{38, 32})) << "16 + 2 × 11 wide";
  iconOnly.SetIconSize(8);
  EXPECT_EQ(iconOnly.Measure({kUnbounded, kUnbounded}), (Size{32, 32})) << "never narrower than it is high";
  iconOnly.SetIconSize(28);
  EXPECT_EQ(iconOnly.Measure({kUnbounded, kUnbounded}), (Size{50, 38})) << "28 + 2 × 11 wide, 28 + 10 high";

  Button both("OK");
  both.SetIcon(0xE72B);
  both.SetTrailingGlyph(0xE70D);
  const float textWidth = ok.width - 22;
  EXPECT_EQ(both.Measure({kUnbounded, kUnbounded}).width, textWidth + 16 + 8 + 18 + 22);
}

TEST(Button, LongTextIsCutToTheAvailableWidth) {
  Button button("A caption far too long to fit into the narrow slot it is given");
  EXPECT_EQ(button.Measure({100, kUnbounded}).width, 100);
  EXPECT_GT(button.Measure({kUnbounded, kUnbounded}).width, 100);
}

TEST(Button, PaintPlacesTheContentInTheMiddle) {
  auto made = std::make_unique<Button>("");
  made->SetIcon(0xE72B);
  made->SetTrailingGlyph(0xE70D);
  OneButton b(std::move(made));
  const auto icons = b.Settle().Calls("DrawIcon");
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].codePoint, 0xE70Du);
  EXPECT_EQ(icons[0].rect, (Rect{120 - 11 - 10, 11, 10, 10}));
  EXPECT_EQ(icons[1].codePoint, 0xE72Bu);
  EXPECT_EQ(icons[1].rect, (Rect{std::floor((120 - 18 - 16) * 0.5f), 8, 16, 16}));
}

TEST(ToggleButton, PushTogglesThenRunsOnClick) {
  auto made = std::make_unique<ToggleButton>("Pin");
  ToggleButton* toggle = made.get();
  OneButton b(std::move(made));
  std::vector<std::string> order;
  toggle->onToggled = [&](bool on) { order.push_back(on ? "on" : "off"); };
  toggle->onClick = [&] { order.push_back("click"); };
  EXPECT_EQ(toggle->ToggleState(), 1);
  EXPECT_TRUE(toggle->Toggle());
  EXPECT_TRUE(toggle->IsChecked());
  EXPECT_EQ(toggle->ToggleState(), 2);
  b.host.PointerDown(Pointer({60, 16}));
  b.host.PointerUp(Pointer({60, 16}));
  EXPECT_EQ(order, (std::vector<std::string>{"on", "click", "off", "click"}));
  EXPECT_EQ(b.host.CountEvents(AutomationEvent::ToggleStateChanged, toggle), 2);
  EXPECT_FALSE(toggle->SupportsInvoke());
  EXPECT_STREQ(toggle->ClassName(), "ToggleButton");
}

TEST(ToggleButton, SetCheckedFromCodeSkipsOnClickAndRepeats) {
  ToggleButton toggle("Pin");
  int toggled = 0;
  int clicks = 0;
  toggle.onToggled = [&](bool) { ++toggled; };
  toggle.onClick = [&] { ++clicks; };
  toggle.SetChecked(true);
  toggle.SetChecked(true);
  EXPECT_EQ(toggled, 1);
  EXPECT_EQ(clicks, 0);
  toggle.SetEnabled(false);
  toggle.Click();
  EXPECT_TRUE(toggle.IsChecked());
}

}  // namespace
}  // namespace Quarlo::Widget::Input
