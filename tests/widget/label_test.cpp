// Access-key text, Label, Icon and Separator: "&" marks, the underline while keys are shown, the label's
// access key handing focus on, its text styles, wrapping and trimming, tones, and the icon's and the
// separator's size and drawing.

#include "widget/input/label.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/fake_host.h"
#include "support/input_events.h"
#include "widget/input/button.h"
#include "widget/input/control_text.h"
#include "widget/input/icon.h"
#include "widget/input/separator.h"
#include "widget/input/virtual_keys.h"
#include "widget/stack.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::FakeHost;
using Testing::Key;

TEST(ParseAccessKey, MarksDoublesAndStrayAmpersands) {
  struct Case {
    const char* text;
    const char* display;
    char16_t key;
    int32_t index;
  };
  const Case cases[] = {
      {"Save &As", "Save As", u'A', 5},
      {"Fish && Chips", "Fish & Chips", 0, -1},
      {"Salt & pepper", "Salt  pepper", 0, -1},
      {"Trailing&", "Trailing", 0, -1},
      {"&first &second", "first second", u'F', 0},
      {"&&&x", "&x", u'X', 1},
      {"\xEC\x97\xB4\xEA\xB8\xB0(&O)", "\xEC\x97\xB4\xEA\xB8\xB0(O)", u'O', 7},
      {"&\xED\x95\x9C\xEA\xB8\x80", "\xED\x95\x9C\xEA\xB8\x80", u'\uD55C', 0},
      {"&\xF0\x9F\x98\x80 face", "\xF0\x9F\x98\x80 face", 0, -1},
      {"", "", 0, -1},
      {"&", "", 0, -1},
  };
  for (const Case& c : cases) {
    const AccessKeyText parsed = ParseAccessKey(c.text);
    EXPECT_EQ(parsed.display, c.display) << c.text;
    EXPECT_EQ(parsed.key, c.key) << c.text;
    EXPECT_EQ(parsed.keyIndex, c.index) << c.text;
  }
}

// Controls stacked at the top left of a 400 × 300 window.
struct Page {
  FakeHost host;
  Stack* root;

  Page() {
    host.SetClientSize({400, 300});
    root = host.SetRoot(std::make_unique<Stack>(true, 0));
    root->SetHorizontalAlignment(Alignment::Start);
    root->SetVerticalAlignment(Alignment::Start);
  }
  // The underlines drawn: FillRect calls in the text colour.
  size_t Underlines(Color color) {
    size_t n = 0;
    for (const auto& call : host.Paint().Calls("FillRect")) n += call.color == color;
    return n;
  }
};

TEST(AccessKeyUnderline, ShownOnlyWhileTheHostShowsAccessKeys) {
  Page page;
  Label* label = page.root->AddChild(std::make_unique<Label>());
  label->SetUseAccessKey(true);
  label->SetText("Save &As");
  page.root->AddChild(std::make_unique<Button>("&Open"));
  const Theme& theme = page.host.GetTheme();
  const Color text = theme.Get(ThemeColor::TextPrimary);
  EXPECT_EQ(page.Underlines(text), 0u);
  page.host.KeyDown(Key(Vk::Alt, Modifier::Alt));
  const auto underlines = page.host.Paint().Calls("FillRect");
  ASSERT_EQ(page.Underlines(text), 2u);
  // Under the A of "Save As": right of "Save ", below the text's baseline, one device pixel high.
  const Rect mark = underlines.front().rect;
  EXPECT_GT(mark.x, 20);
  EXPECT_GT(mark.width, 4);
  EXPECT_LT(mark.width, 14);
  EXPECT_GT(mark.y, 10);
  EXPECT_LT(mark.y, label->ActualSize().height);
  EXPECT_EQ(mark.height, 1);
  page.host.KeyDown(Key(Vk::Escape));
  EXPECT_EQ(page.Underlines(text), 0u);
  page.host.SetKeyboardCues(true);
  EXPECT_EQ(page.Underlines(text), 2u) << "the desktop's keyboard cues show them always";
}

TEST(Label, AccessKeyAndNameDependOnUseAccessKey) {
  Label label("Save &As");
  EXPECT_EQ(label.AccessKey(), 0);
  EXPECT_EQ(label.AccessibleName(), "Save &As");
  label.SetUseAccessKey(true);
  EXPECT_EQ(label.AccessKey(), u'A');
  EXPECT_EQ(label.AccessibleName(), "Save As");
  EXPECT_EQ(label.DisplayText(), "Save As");
  label.SetAccessibleName("Save a copy as");
  EXPECT_EQ(label.AccessibleName(), "Save a copy as");
  EXPECT_FALSE(label.IsTabStop());
  EXPECT_FALSE(label.IsFocusable());
  EXPECT_EQ(label.Role(), Role::Text);
}

TEST(Label, AccessKeyFocusesItsTargetOrTheNextControl) {
  Page page;
  Label* name = page.root->AddChild(std::make_unique<Label>("&Name"));
  name->SetUseAccessKey(true);
  Button* disabled = page.root->AddChild(std::make_unique<Button>("Disabled"));
  disabled->SetEnabled(false);
  Stack* inner = page.root->AddChild(std::make_unique<Stack>());
  Button* next = inner->AddChild(std::make_unique<Button>("Next"));
  Button* chosen = page.root->AddChild(std::make_unique<Button>("Chosen"));
  page.host.Paint();
  EXPECT_TRUE(page.host.Char(Testing::AltChar('n')));
  EXPECT_EQ(page.host.Focused(), next) << "the first focusable, enabled, visible widget after the label";
  EXPECT_TRUE(page.host.FocusVisible());
  name->SetTarget(chosen);
  page.host.Char(Testing::AltChar('n'));
  EXPECT_EQ(page.host.Focused(), chosen);
  // A target that is gone falls back to the next control.
  page.root->RemoveChild(chosen);
  page.host.Char(Testing::AltChar('n'));
  EXPECT_EQ(page.host.Focused(), next);
}

TEST(Label, StylesTakeTheirSizeAndWeightFromTheTheme) {
  struct Case {
    LabelStyle style;
    bool bold;
    float size;
    int32_t weight;
  };
  const Case cases[] = {
      {LabelStyle::Body, false, 14, 400},
      {LabelStyle::Caption, false, 12, 400},
      {LabelStyle::Subtitle, false, 20, 600},
      {LabelStyle::Title, false, 28, 600},
      {LabelStyle::Body, true, 14, 600},
      {LabelStyle::Caption, true, 12, 600},
      {static_cast<LabelStyle>(7), false, 14, 400},
  };
  const Theme theme = Theme::Light(kDefaultAccent);
  for (const Case& c : cases) {
    Label label("Text", c.style);
    label.SetBold(c.bold);
    const TextStyle style = label.TextStyleFor(theme);
    EXPECT_EQ(style.size, c.size) << int(c.style) << c.bold;
    EXPECT_EQ(style.weight, c.weight) << int(c.style) << c.bold;
  }
  EXPECT_GT(Label("Text", LabelStyle::Title).Measure({kUnbounded, kUnbounded}).height,
            Label("Text", LabelStyle::Caption).Measure({kUnbounded, kUnbounded}).height);
}

TEST(Label, WrapsAndTrimsOnlyWhenAsked) {
  const std::string text = "Pictures of a folder, paged in natural name order, fitted to the window";
  Label plain(text);
  const Size line = plain.Measure({kUnbounded, kUnbounded});
  EXPECT_EQ(plain.Measure({120, kUnbounded}), line) << "neither wraps nor trims: keeps its one line";
  EXPECT_EQ(line.width, std::ceil(line.width));

  Label wrapped(text);
  wrapped.SetWrap(true);
  const Size tall = wrapped.Measure({120, kUnbounded});
  EXPECT_LE(tall.width, 120);
  EXPECT_GT(tall.height, 2 * line.height);

  Label trimmed(text);
  trimmed.SetEllipsis(true);
  const Size cut = trimmed.Measure({120, kUnbounded});
  EXPECT_LE(cut.width, 120);
  EXPECT_EQ(cut.height, line.height);
}

TEST(Label, DrawsInItsToneOrTheDisabledColour) {
  struct Case {
    TextTone tone;
    bool enabled;
    ThemeColor color;
  };
  const Case cases[] = {
      {TextTone::Primary, true, ThemeColor::TextPrimary},
      {TextTone::Secondary, true, ThemeColor::TextSecondary},
      {TextTone::Accent, true, ThemeColor::Accent},
      {TextTone::Critical, true, ThemeColor::Critical},
      {TextTone::Caution, true, ThemeColor::Caution},
      {TextTone::Success, true, ThemeColor::Success},
      {TextTone::Critical, false, ThemeColor::TextDisabled},
      {static_cast<TextTone>(40), true, ThemeColor::TextPrimary},
  };
  for (const Theme& theme :
       {Theme::Light(kDefaultAccent), Theme::Dark(kDefaultAccent), Theme::HighContrast()}) {
    for (const Case& c : cases) {
      Page page;
      page.host.SetTheme(theme);
      Label* label = page.root->AddChild(std::make_unique<Label>("Tone"));
      label->SetTone(c.tone);
      label->SetEnabled(c.enabled);
      const auto texts = page.host.Paint().Calls("DrawText");
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0].color, theme.Get(c.color)) << int(theme.mode) << " tone " << int(c.tone);
      EXPECT_EQ(texts[0].rect.x, 0);
    }
  }
  Page page;
  page.root->AddChild(std::make_unique<Label>());
  EXPECT_TRUE(page.host.Paint().Calls("DrawText").empty());
}

TEST(Icon, SizeToneAndAccessibility) {
  Page page;
  Icon* icon = page.root->AddChild(std::make_unique<Icon>(0xE8B9, 0));
  EXPECT_EQ(icon->Measure({kUnbounded, kUnbounded}), (Size{16, 16}));
  icon->SetSize(24);
  icon->SetTone(TextTone::Accent);
  auto drawn = page.host.Paint().Calls("DrawIcon");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].rect, (Rect{0, 0, 24, 24}));
  EXPECT_EQ(drawn[0].value, 24);
  EXPECT_EQ(drawn[0].codePoint, 0xE8B9u);
  EXPECT_EQ(drawn[0].color, page.host.GetTheme().Get(ThemeColor::Accent));
  icon->SetEnabled(false);
  EXPECT_EQ(page.host.Paint().Calls("DrawIcon")[0].color, page.host.GetTheme().Get(ThemeColor::TextDisabled));
  EXPECT_FALSE(icon->IsAccessibilityElement());
  icon->SetAccessibleName("Warning");
  EXPECT_TRUE(icon->IsAccessibilityElement());
  EXPECT_EQ(icon->Role(), Role::Image);
  EXPECT_FALSE(icon->IsTabStop());
}

TEST(Separator, OneDevicePixelAtLeastAlongTheFullLength) {
  Separator horizontal;
  EXPECT_EQ(horizontal.Measure({kUnbounded, kUnbounded}), (Size{0, 1}));
  EXPECT_EQ(horizontal.Measure({200, 50}), (Size{200, 1}));
  Separator vertical(ControlOrientation::Vertical);
  EXPECT_EQ(vertical.Measure({kUnbounded, kUnbounded}), (Size{1, 0}));
  EXPECT_EQ(vertical.Measure({200, 50}), (Size{1, 50}));
  EXPECT_EQ(vertical.Role(), Role::Separator);

  for (float scale : {0.5f, 1.0f, 2.0f}) {
    FakeHost host;
    host.SetClientSize({100, 40});
    host.SetRoot(std::make_unique<Separator>(ControlOrientation::Vertical));
    const auto fills = host.Paint(scale).Calls("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect.height, 40) << scale;
    EXPECT_FLOAT_EQ(fills[0].rect.width, std::max(1.0f, 1 / scale)) << scale;
    EXPECT_EQ(fills[0].color, host.GetTheme().Get(ThemeColor::SubtleBorder));
  }
}

}  // namespace
}  // namespace Quarlo::Widget::Input
