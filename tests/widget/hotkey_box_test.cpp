// HotkeyBox: taking and clearing chords from keys, what it shows, the clear strip, accessibility, size
// and look.

#include "widget/input/hotkey_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "support/fake_host.h"
#include "support/input_events.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/stack.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::FakeHost;
using Testing::Key;

constexpr uint32_t kF5 = Vk::F1 + 4;

PointerEvent Press(float x, float y, PointerButton button = PointerButton::Left) {
  PointerEvent e;
  e.position = Point{x, y};
  e.button = button;
  e.clicks = 1;
  return e;
}

// A 200 × 32 box as the whole window, in English, with every change it reports recorded.
struct Boxed {
  FakeHost host;
  HotkeyBox* box;
  std::vector<HotkeyChord> changes;
  std::vector<bool> focusChanges;

  Boxed() {
    SetToolkitLanguage(ToolkitLanguageId::English);
    host.SetClientSize({200, 32});
    box = static_cast<HotkeyBox*>(host.SetRoot(std::make_unique<HotkeyBox>()));
    box->SetOnChanged([this](const HotkeyChord& chord) { changes.push_back(chord); });
    box->SetOnFocusChanged([this](bool focused) { focusChanges.push_back(focused); });
    host.Paint();
  }
  ~Boxed() { SetToolkitLanguage(std::nullopt); }

  bool Down(uint32_t vk, uint8_t modifiers = 0, bool repeat = false) {
    return box->OnKeyDown(Key(vk, modifiers, repeat));
  }
  bool Up(uint32_t vk, uint8_t modifiers = 0) { return box->OnKeyUp(Key(vk, modifiers)); }
  int ValueChanges() { return host.CountEvents(AutomationEvent::ValueChanged, box); }
};

TEST(HotkeyBox, WithoutCtrlAltOrWinOnlyFunctionAndLockKeysAreTaken) {
  Boxed b;
  // A alone changes nothing and is swallowed, so it types nothing either.
  EXPECT_TRUE(b.Down('A'));
  EXPECT_TRUE(b.Down('A', Modifier::Shift));
  EXPECT_TRUE(b.Down(Vk::Oem1));
  EXPECT_TRUE(b.box->Chord().IsEmpty());
  EXPECT_TRUE(b.changes.empty());

  const std::vector<uint32_t> taken = {kF5, Vk::F1, Vk::F24, Vk::Pause, Vk::ScrollLock, Vk::PrintScreen};
  for (uint32_t vk : taken) {
    EXPECT_TRUE(b.Down(vk)) << vk;
    EXPECT_EQ(b.box->Chord(), (HotkeyChord{0, vk})) << vk;
  }
  EXPECT_TRUE(b.Down(kF5, Modifier::Shift));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{Modifier::Shift, kF5}));
  EXPECT_EQ(b.changes.size(), taken.size() + 1);
}

TEST(HotkeyBox, KeysThatAreNotTakenKeepTheirMeaning) {
  Boxed b;
  // Tab moves focus, arrows and navigation keys reach the dialog, and so do Enter, Escape and Space
  // without Ctrl, Alt or Win.
  for (uint32_t vk : {Vk::Tab, Vk::Left, Vk::Home, Vk::Insert, Vk::Enter, Vk::Escape, Vk::Space}) {
    EXPECT_FALSE(b.Down(vk)) << vk;
  }
  EXPECT_FALSE(b.Down(Vk::Enter, Modifier::Shift));
  EXPECT_FALSE(b.Down(Vk::Delete, Modifier::Shift));
  EXPECT_TRUE(b.changes.empty());
  // With Ctrl they are chords like any other key.
  EXPECT_TRUE(b.Down(Vk::Space, Modifier::Ctrl));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{Modifier::Ctrl, Vk::Space}));
  EXPECT_TRUE(b.Down(Vk::Tab, Modifier::Alt));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{Modifier::Alt, Vk::Tab}));
}

TEST(HotkeyBox, ModifierChordsTakeAnyKey) {
  Boxed b;
  struct Case {
    uint8_t modifiers;
    uint32_t vk;
  };
  const Case cases[] = {
      {Modifier::Ctrl, 'O'},        {Modifier::Ctrl | Modifier::Shift, 'O'},
      {Modifier::Alt, 'X'},         {Modifier::Win, 'A'},
      {Modifier::Ctrl, Vk::Delete}, {Modifier::Ctrl, Vk::Left},
      {Modifier::Ctrl, 0xE8},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(b.Down(c.vk, c.modifiers));
    EXPECT_EQ(b.box->Chord(), (HotkeyChord{c.modifiers, c.vk}));
  }
  ASSERT_EQ(b.changes.size(), std::size(cases));
  EXPECT_EQ(b.changes.back(), (HotkeyChord{Modifier::Ctrl, 0xE8}));
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + 0xE8");
  // Alt chords reach the box instead of access-key handling.
  EXPECT_TRUE(b.box->WantsSystemKeys());
}

TEST(HotkeyBox, WithoutTheModifierRuleEveryKeyIsTaken) {
  Boxed b;
  b.box->SetRequireModifier(false);
  EXPECT_TRUE(b.Down('A'));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{0, 'A'}));
  EXPECT_TRUE(b.Down(Vk::Left));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{0, Vk::Left}));
  // Enter, Escape and Space still belong to the dialog.
  EXPECT_FALSE(b.Down(Vk::Enter));
}

TEST(HotkeyBox, BackspaceAndDeleteClear) {
  for (uint32_t clearKey : {Vk::Backspace, Vk::Delete}) {
    Boxed b;
    b.Down(kF5);
    b.changes.clear();
    EXPECT_TRUE(b.Down(clearKey));
    EXPECT_TRUE(b.box->Chord().IsEmpty());
    ASSERT_EQ(b.changes.size(), 1u);
    EXPECT_TRUE(b.changes[0].IsEmpty());
    // Clearing an empty box reports nothing.
    EXPECT_TRUE(b.Down(clearKey));
    EXPECT_EQ(b.changes.size(), 1u);
  }
}

TEST(HotkeyBox, RepeatsAreSwallowed) {
  Boxed b;
  EXPECT_TRUE(b.Down(kF5, 0, true));
  EXPECT_TRUE(b.Down('K', Modifier::Ctrl, true));
  EXPECT_TRUE(b.box->Chord().IsEmpty());
  EXPECT_TRUE(b.changes.empty());
}

TEST(HotkeyBox, HeldModifiersShowUntilAChordIsTaken) {
  Boxed b;
  // The native layer may or may not count a modifier key as held on its own press and release.
  EXPECT_TRUE(b.Down(Vk::Ctrl));
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + ...");
  EXPECT_TRUE(b.Down(Vk::Shift, Modifier::Ctrl));
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + Shift + ...");
  EXPECT_TRUE(b.Down(kF5, Modifier::Ctrl | Modifier::Shift));
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + Shift + F5");
  // Releasing Shift while Ctrl stays down shows Ctrl again; releasing Ctrl shows the chord.
  EXPECT_TRUE(b.Up(Vk::Shift, Modifier::Ctrl | Modifier::Shift));
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + ...");
  EXPECT_TRUE(b.Up(Vk::LeftCtrl, Modifier::Ctrl));
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + Shift + F5");
  // Windows keys and the left and right forms count too; a key that is not taken keeps the display.
  EXPECT_TRUE(b.Down(Vk::RightWin));
  EXPECT_TRUE(b.Down(Vk::RightAlt, Modifier::Win));
  EXPECT_EQ(b.box->DisplayText(), "Alt + Win + ...");
  EXPECT_EQ(b.changes.size(), 1u);
}

TEST(HotkeyBox, PrintScreenIsTakenOnReleaseWhenItsPressNeverCame) {
  Boxed b;
  EXPECT_TRUE(b.Up(Vk::PrintScreen, Modifier::Ctrl));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{Modifier::Ctrl, Vk::PrintScreen}));
  ASSERT_EQ(b.changes.size(), 1u);

  // Where the press arrives it takes the chord, and the release after it changes nothing, even once the
  // modifier is gone.
  EXPECT_TRUE(b.Down(Vk::PrintScreen, Modifier::Alt));
  EXPECT_TRUE(b.Up(Vk::Alt, Modifier::Alt));
  EXPECT_TRUE(b.Up(Vk::PrintScreen, 0));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{Modifier::Alt, Vk::PrintScreen}));
  EXPECT_EQ(b.changes.size(), 2u);
  EXPECT_FALSE(b.Up('A'));
}

TEST(HotkeyBox, SetChordRepaintsAndTellsAccessibilityButNotTheListener) {
  Boxed b;
  const int repaints = b.host.repaintRequests;
  b.box->SetChord(HotkeyChord{Modifier::Ctrl, 'O'});
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{Modifier::Ctrl, 'O'}));
  EXPECT_EQ(b.ValueChanges(), 1);
  EXPECT_TRUE(b.changes.empty());
  EXPECT_GT(b.host.repaintRequests, repaints);
  b.box->SetChord(HotkeyChord{Modifier::Ctrl, 'O'});
  EXPECT_EQ(b.ValueChanges(), 1);
  // A chord without a key is no chord.
  b.box->SetChord(HotkeyChord{Modifier::Ctrl, 0});
  EXPECT_EQ(b.box->Chord(), HotkeyChord{});
  EXPECT_EQ(b.ValueChanges(), 2);
  // The user's changes raise the event too.
  b.Down(kF5);
  EXPECT_EQ(b.ValueChanges(), 3);
  b.box->Clear();
  EXPECT_EQ(b.ValueChanges(), 4);
  EXPECT_EQ(b.changes.size(), 2u);
}

TEST(HotkeyBox, EmptyBoxShowsPlaceholderOrTheToolkitText) {
  Boxed b;
  EXPECT_EQ(b.box->DisplayText(), "None");
  ASSERT_TRUE(b.host.SetFocus(b.box, FocusReason::Keyboard));
  EXPECT_EQ(b.box->DisplayText(), "Press a shortcut");
  SetToolkitLanguage(ToolkitLanguageId::Korean);
  EXPECT_EQ(b.box->DisplayText(), "단축키를 누르세요");
  b.host.SetFocus(nullptr, FocusReason::Programmatic);
  EXPECT_EQ(b.box->DisplayText(), "없음");
  b.box->SetPlaceholder("Nothing yet");
  EXPECT_EQ(b.box->DisplayText(), "Nothing yet");
  b.box->SetChord(HotkeyChord{0, kF5});
  EXPECT_EQ(b.box->DisplayText(), "F5");
}

TEST(HotkeyBox, FocusChangesResetTheHeldModifiers) {
  Boxed b;
  ASSERT_TRUE(b.host.SetFocus(b.box, FocusReason::Keyboard));
  b.Down(Vk::Ctrl, Modifier::Ctrl);
  EXPECT_EQ(b.box->DisplayText(), "Ctrl + ...");
  b.host.SetFocus(nullptr, FocusReason::Programmatic);
  EXPECT_EQ(b.box->DisplayText(), "None");
  EXPECT_EQ(b.focusChanges, (std::vector<bool>{true, false}));
}

TEST(HotkeyBox, AccessibilityReadsTheChordAndTheShownText) {
  Boxed b;
  EXPECT_EQ(b.box->Role(), Role::Edit);
  EXPECT_TRUE(b.box->SupportsValue());
  EXPECT_TRUE(b.box->IsReadOnly());
  EXPECT_TRUE(b.box->IsFocusable());
  EXPECT_EQ(b.box->ValueText(), "None");
  EXPECT_EQ(b.box->AcceleratorKey(), "");
  b.Down('S', Modifier::Ctrl | Modifier::Shift);
  EXPECT_EQ(b.box->AcceleratorKey(), "Ctrl + Shift + S");
  EXPECT_EQ(b.box->ValueText(), "Ctrl + Shift + S");
  b.Down(Vk::Alt, Modifier::Alt);
  EXPECT_EQ(b.box->ValueText(), "Alt + ...");
  EXPECT_EQ(b.box->AcceleratorKey(), "Ctrl + Shift + S");
}

TEST(HotkeyBox, ClearStripClearsOnAReleaseInsideIt) {
  Boxed b;
  // Nothing to clear: the strip is not offered.
  EXPECT_FALSE(b.box->OnPointerDown(Press(190, 16)));
  b.box->SetChord(HotkeyChord{0, kF5});
  EXPECT_EQ(b.box->ClearButtonRect(), (Rect{172, 0, 28, 32}));
  // A press outside the strip or with another button is not the clear button's.
  EXPECT_FALSE(b.box->OnPointerDown(Press(100, 16)));
  EXPECT_FALSE(b.box->OnPointerDown(Press(190, 16, PointerButton::Right)));
  EXPECT_FALSE(b.box->OnPointerUp(Press(190, 16)));

  // Press inside, release outside: armed, so the release is handled, but nothing is cleared.
  EXPECT_TRUE(b.box->OnPointerDown(Press(190, 16)));
  EXPECT_TRUE(b.box->OnPointerUp(Press(100, 16)));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{0, kF5}));
  // A lost capture disarms it.
  EXPECT_TRUE(b.box->OnPointerDown(Press(190, 16)));
  b.box->OnCaptureLost();
  EXPECT_FALSE(b.box->OnPointerUp(Press(190, 16)));
  EXPECT_EQ(b.box->Chord(), (HotkeyChord{0, kF5}));

  EXPECT_TRUE(b.box->OnPointerDown(Press(173, 2)));
  EXPECT_TRUE(b.box->OnPointerUp(Press(199, 30)));
  EXPECT_TRUE(b.box->Chord().IsEmpty());
  ASSERT_EQ(b.changes.size(), 1u);
  EXPECT_TRUE(b.changes[0].IsEmpty());
}

TEST(HotkeyBox, DisabledBoxOffersNoClearStrip) {
  Boxed b;
  b.box->SetChord(HotkeyChord{0, kF5});
  b.box->SetEnabled(false);
  EXPECT_EQ(b.box->ClearButtonRect(), Rect{});
  EXPECT_FALSE(b.box->OnPointerDown(Press(190, 16)));
}

TEST(HotkeyBox, TakesTheGivenWidthOr200AndTheControlHeight) {
  FakeHost host;
  host.SetClientSize({600, 100});
  auto* row = static_cast<Stack*>(host.SetRoot(std::make_unique<Stack>(false, 0)));
  auto* box = static_cast<HotkeyBox*>(row->AddChild(std::make_unique<HotkeyBox>()));
  auto* narrow = static_cast<HotkeyBox*>(row->AddChild(std::make_unique<HotkeyBox>()));
  narrow->SetWidth(120);
  host.Paint();
  EXPECT_EQ(box->DesiredSize(), (Size{200, 32}));
  EXPECT_EQ(narrow->DesiredSize(), (Size{120, 32}));
  Theme tall = Theme::Light(kDefaultAccent);
  tall.controlHeight = 40;
  host.SetTheme(tall);
  host.Paint();
  EXPECT_EQ(box->DesiredSize(), (Size{200, 40}));
}

TEST(HotkeyBox, DrawsTheClearGlyphOnlyWhileAChordCanBeCleared) {
  Boxed b;
  auto icons = [&b] { return b.host.Paint().Calls("DrawIcon"); };
  EXPECT_TRUE(icons().empty());
  b.box->SetChord(HotkeyChord{Modifier::Ctrl, 'O'});
  const auto shown = icons();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].windowRect, (Rect{172, 0, 28, 32}));
  b.box->SetEnabled(false);
  EXPECT_TRUE(icons().empty());
}

TEST(HotkeyBox, KeyboardFocusDrawsTheRingAndTheAccentEdge) {
  Boxed b;
  const Theme& theme = b.host.GetTheme();
  auto accentStrips = [&](const Testing::RecordingCanvas& canvas) {
    int count = 0;
    for (const auto& call : canvas.Calls("FillRect")) {
      if (call.color == theme.Get(ThemeColor::Accent) && call.rect == Rect{0, 30, 200, 2}) ++count;
    }
    return count;
  };
  Testing::RecordingCanvas idle = b.host.Paint();
  EXPECT_EQ(accentStrips(idle), 0);
  EXPECT_EQ(idle.Calls("StrokeRoundedRect").size(), 1u);  // the outline only

  b.host.SetFocus(b.box, FocusReason::Keyboard);
  Testing::RecordingCanvas focused = b.host.Paint();
  EXPECT_TRUE(focused.Balanced());
  EXPECT_EQ(accentStrips(focused), 1);
  const auto strokes = focused.Calls("StrokeRoundedRect");
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_EQ(strokes[1].rect, (Rect{-3, -3, 206, 38}));
  EXPECT_EQ(strokes[1].color, theme.Get(ThemeColor::StrongForeground));
  EXPECT_EQ(strokes[2].rect, (Rect{-1, -1, 202, 34}));

  // Focus from a click shows no ring.
  b.host.SetFocus(nullptr, FocusReason::Programmatic);
  b.host.SetFocus(b.box, FocusReason::Pointer);
  EXPECT_EQ(b.host.Paint().Calls("StrokeRoundedRect").size(), 1u);
}

}  // namespace
}  // namespace Quarlo::Widget::Input
