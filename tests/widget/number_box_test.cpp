// NumberBox: what may be typed, reading and formatting numbers, the range, stepping by keys, wheel and
// the spin buttons with their repeat, and their look at the limits.

#include "widget/input/number_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/input_events.h"
#include "widget/input/events.h"
#include "widget/input/number_text.h"
#include "widget/input/text_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::FakeHost;
using Testing::Key;

TEST(NumberText, ParsingCutsTheSuffixReadsCommasAndIgnoresDigitGroups) {
  struct Case {
    std::string text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"12", 12}, {"12,5", 12.5}, {"12.5 %", 12.5}, {"-3", -3}, {"+4", 4},   {"1 000", 1000}, {"7abc", 7},
      {"", {}},   {"abc", {}},    {"%", {}},        {"-", {}},  {"inf", {}}, {" 42 ", 42},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text, "%"), c.value) << "'" << c.text << "'";
}

TEST(NumberText, FormattingUsesAFullStopAndTheDecimals) {
  EXPECT_EQ(FormatNumber(12.345, 2), "12.35");
  EXPECT_EQ(FormatNumber(7, 0), "7");
  EXPECT_EQ(FormatNumber(-0.0, 0), "0");
  EXPECT_EQ(FormatNumber(3, -2), "3");
}

TEST(NumberText, OnlyNumberCharactersAreTyped) {
  EXPECT_TRUE(IsNumberCharacter('5', false, false));
  EXPECT_TRUE(IsNumberCharacter(' ', false, false));
  EXPECT_FALSE(IsNumberCharacter('-', false, true));
  EXPECT_TRUE(IsNumberCharacter('-', true, false));
  EXPECT_FALSE(IsNumberCharacter('.', true, false));
  EXPECT_TRUE(IsNumberCharacter(',', false, true));
  EXPECT_FALSE(IsNumberCharacter('e', true, true));
}

// A 160 × 32 number box from 0 to 100 as the whole window, its inner box focused.
struct Numbered {
  FakeHost host;
  NumberBox* box;
  std::vector<double> changes;

  Numbered() {
    host.SetClientSize({160, 32});
    box = host.SetRoot(std::make_unique<NumberBox>());
    box->onValueChanged = [this](double v) { changes.push_back(v); };
    host.Paint();
    box->Box().Focus(FocusReason::Pointer);
  }
  void Type(std::string_view text) {
    for (char c : text) {
      CharEvent e;
      e.codePoint = static_cast<unsigned char>(c);
      host.Char(e);
    }
  }
  void Press(uint32_t vk) { host.KeyDown(Key(vk)); }
  std::string Text() const { return box->Box().GetText(); }
};

TEST(NumberBox, FilterRejectsPointsWithoutDecimalsAndMinusWithoutNegatives) {
  Numbered n;
  n.box->Box().SelectAll();
  n.Type("-1.5x");
  EXPECT_EQ(n.Text(), "15");
  n.box->SetRange(-10, 10);
  n.box->SetDecimals(1);
  n.box->Box().SelectAll();
  n.Type("-1,5");
  EXPECT_EQ(n.Text(), "-1,5");
  n.Press(Vk::Enter);
  EXPECT_EQ(n.box->Value(), -1.5);
  EXPECT_EQ(n.Text(), "-1.5");
}

TEST(NumberBox, OutOfRangeShowsTheMessageWhileTypingAndEnterClamps) {
  Numbered n;
  n.box->Box().SelectAll();
  n.Type("150");
  EXPECT_EQ(n.box->Box().ErrorText(), "Value out of range");
  n.Press(Vk::Enter);
  EXPECT_EQ(n.box->Value(), 100);
  EXPECT_EQ(n.Text(), "100");
  EXPECT_EQ(n.box->Box().ErrorText(), "");
  EXPECT_EQ(n.changes, std::vector<double>{100});
}

TEST(NumberBox, AnUnreadableTextRevertsOnCommit) {
  Numbered n;
  n.box->SetValue(42, false);
  n.box->Box().SetText(" ");
  EXPECT_FALSE(n.box->Commit());
  EXPECT_EQ(n.Text(), "42");
  n.box->Box().SetText("");
  n.host.SetFocus(nullptr, FocusReason::Programmatic);
  EXPECT_EQ(n.Text(), "42");
  EXPECT_TRUE(n.changes.empty());
}

TEST(NumberBox, KeysAndWheelStepWithinTheRange) {
  Numbered n;
  n.box->SetValue(50, false);
  n.Press(Vk::Up);
  EXPECT_EQ(n.box->Value(), 51);
  n.Press(Vk::PageDown);
  EXPECT_EQ(n.box->Value(), 41);
  n.box->Box().SelectAll();
  n.Type("95");
  n.Press(Vk::PageUp);
  EXPECT_EQ(n.box->Value(), 100);
  EXPECT_EQ(n.box->Box().Model().SelectedText(), "100");
  n.host.Wheel(Testing::Notches(Point{20, 16}, -2));
  EXPECT_EQ(n.box->Value(), 99);
  n.box->SetRange(200, 100);
  EXPECT_EQ(n.box->Minimum(), 200);
  EXPECT_EQ(n.box->Maximum(), 200);
  EXPECT_EQ(n.Text(), "200");
  EXPECT_EQ(n.box->Range().value, 200);
}

TEST(NumberBox, HoldingASpinButtonStepsOnceThenRepeats) {
  Numbered n;
  const Point up{150, 8};
  ASSERT_EQ(n.host.Root()->HitTest(up), n.box);
  n.host.PointerDown(Testing::Pointer(up));
  EXPECT_EQ(n.box->Value(), 1);
  n.host.Advance(0.44);
  EXPECT_EQ(n.box->Value(), 1);
  n.host.Advance(0.02);
  EXPECT_EQ(n.box->Value(), 2);
  n.host.Advance(0.071 * 3);
  EXPECT_EQ(n.box->Value(), 5);
  n.host.PointerUp(Testing::Pointer(up));
  n.host.Advance(1);
  EXPECT_EQ(n.box->Value(), 5);
  EXPECT_TRUE(n.box->Box().IsFocused());
}

TEST(NumberBox, TheUpGlyphTurnsGreyAtTheMaximum) {
  Numbered n;
  auto upColour = [&] {
    for (const Testing::CanvasCall& call : n.host.Paint().Calls("DrawIcon"))
      if (call.codePoint == 0xE70E) return call.color;
    return Color{};
  };
  const Theme& theme = n.host.GetTheme();
  EXPECT_EQ(upColour(), theme.Get(ThemeColor::TextSecondary));
  n.box->SetValue(100, false);
  EXPECT_EQ(upColour(), theme.Get(ThemeColor::TextDisabled));
}

TEST(NumberBox, SuffixAndSpinButtonsKeepTheTextClearOfThem) {
  Numbered n;
  n.box->SetSuffix("%");
  n.host.Paint();
  EXPECT_LT(n.box->Box().CaretRect().x, 160.0f - 26 - 8);
  n.box->Box().SetText("50 %");
  EXPECT_TRUE(n.box->Commit());
  EXPECT_EQ(n.box->Value(), 50);
}

}  // namespace
}  // namespace Quarlo::Widget::Input
