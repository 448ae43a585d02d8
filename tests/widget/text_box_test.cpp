// TextBox in a headless window: typing and keys, undo, selection by keys and pointer, the clipboard with
// line-break conversion, passwords, validation, submitting, the edit menu's states, the composition and
// what the box draws.

#include "widget/input/text_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/headless_text_services.h"
#include "support/headless_window.h"
#include "support/input_events.h"
#include "support/recording_canvas.h"
#include "widget/input/events.h"
#include "widget/input/ime_composition.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::AdvanceHeadlessClock;
using Testing::HeadlessWindow;
using Testing::Key;
using Testing::TestClipboard;
using Testing::TestImeBridge;

constexpr uint8_t kCtrl = Modifier::Ctrl;
constexpr uint8_t kShift = Modifier::Shift;

// A focused 300 × 32 box (or 300 × 120 multi-line) as the content of a headless window, in English.
struct Field {
  Window window;
  TextBox* box;
  int textChanges = 0;
  int submits = 0;

  explicit Field(bool multiLine = false, std::string_view text = {}) {
    SetToolkitLanguage(ToolkitLanguageId::English);
    WindowOptions options;
    options.size = Size{300, multiLine ? 120.0f : 32.0f};
    window.Create(options);
    box = window.SetRoot(std::make_unique<TextBox>(text));
    box->SetMultiLine(multiLine);
    box->onTextChanged = [this] { ++textChanges; };
    box->Focus(FocusReason::Pointer);
    window.UpdateLayout();
    TestClipboard() = Testing::HeadlessClipboard{};
    TestImeBridge().cancellations = 0;
  }
  ~Field() { SetToolkitLanguage(std::nullopt); }

  HeadlessWindow& Native() { return HeadlessWindow::Of(window); }
  void Type(std::string_view text) { Native().Commit(text); }
  bool Press(uint32_t vk, uint8_t modifiers = 0) { return Native().KeyDown(Key(vk, modifiers)); }
  const std::string& Text() const { return box->Model().Text(); }
};

TEST(TextBox, TypedTextAndKeysEditAtTheCaret) {
  Field f;
  f.Type("hello");
  EXPECT_EQ(f.box->GetText(), "hello");
  EXPECT_EQ(f.textChanges, 5);
  f.Press(Vk::Left);
  f.Press(Vk::Left);
  f.Press(Vk::Backspace);
  f.Type("L");
  EXPECT_EQ(f.Text(), "heLlo");
  f.Press(Vk::Home);
  f.Press(Vk::Delete);
  f.Press(Vk::End);
  f.Type("!");
  EXPECT_EQ(f.Text(), "eLlo!");
  f.Type("한글");
  EXPECT_EQ(f.Text(), "eLlo!한글");
}

TEST(TextBox, CtrlZUndoesAQuickRunAndCtrlYRedoesIt) {
  Field f;
  f.Type("ab");
  AdvanceHeadlessClock(0.5);
  f.Type("c");
  f.Press(Vk::Z, kCtrl);
  EXPECT_EQ(f.Text(), "");
  f.Press('Y', kCtrl);
  EXPECT_EQ(f.Text(), "abc");
  AdvanceHeadlessClock(1.5);
  f.Type("d");
  f.Press(Vk::Z, kCtrl);
  EXPECT_EQ(f.Text(), "abc");
  f.Press(Vk::Z, kCtrl | kShift);
  EXPECT_EQ(f.Text(), "abcd");
}

TEST(TextBox, ShiftExtendsTheSelectionAndPlainMovesCollapseIt) {
  Field f(false, "foo  bar baz");
  f.Press(Vk::Home);
  f.Press(Vk::Right, kCtrl | kShift);
  EXPECT_EQ(f.box->Model().SelectedText(), "foo  ");
  f.Press(Vk::Right, kCtrl | kShift);
  EXPECT_EQ(f.box->Model().SelectedText(), "foo  bar ");
  f.Press(Vk::Left, kShift);
  EXPECT_EQ(f.box->Model().SelectedText(), "foo  bar");
  f.Press(Vk::Right);
  EXPECT_FALSE(f.box->Model().HasSelection());
  EXPECT_EQ(f.box->Model().Caret(), 8u);
  f.Press(Vk::Backspace, kCtrl);
  EXPECT_EQ(f.Text(), "foo   baz");
}

TEST(TextBox, ClipboardConvertsLineBreaksOnlyInMultiLineBoxes) {
  {
    Field f(true);
    TestClipboard().PutText(nullptr, "one\r\ntwo\rthree\nfour");
    f.Press('V', kCtrl);
    EXPECT_EQ(f.box->GetText(), "one\ntwo\nthree\nfour");
    EXPECT_EQ(f.Text(), "one\u2028two\u2028three\u2028four");
    f.Press(Vk::A, kCtrl);
    f.Press('C', kCtrl);
    EXPECT_EQ(TestClipboard().text, "one\r\ntwo\r\nthree\r\nfour");
    f.box->Model().MoveTo(f.Text().size(), false);
    f.Press(Vk::Enter);
    f.Press(Vk::Enter, kShift);
    EXPECT_EQ(f.box->GetText(), "one\ntwo\nthree\nfour\n\n");
  }
  Field single;
  TestClipboard().PutText(nullptr, "a\r\nb");
  single.Press('V', kCtrl);
  EXPECT_EQ(single.box->GetText(), "a\r\nb");
}

TEST(TextBox, CutCopiesThenDeletesAndFailuresChangeNothing) {
  Field f(false, "cut me");
  f.Press(Vk::A, kCtrl);
  f.Press('X', kCtrl);
  EXPECT_EQ(TestClipboard().text, "cut me");
  EXPECT_EQ(f.Text(), "");
  f.Press(Vk::Z, kCtrl);
  EXPECT_EQ(f.Text(), "cut me");
  // A busy clipboard: nothing is cut and nothing is pasted.
  TestClipboard().failing = true;
  f.Press(Vk::A, kCtrl);
  f.Press('X', kCtrl);
  f.Press('V', kCtrl);
  EXPECT_EQ(f.Text(), "cut me");
  TestClipboard().failing = false;
  f.Press(Vk::Insert, kCtrl);
  f.Press(Vk::End);
  f.Press(Vk::Insert, kShift);
  EXPECT_EQ(f.Text(), "cut mecut me");
}

TEST(TextBox, ReadOnlyBoxesSwallowEditsButCopy) {
  Field f(false, "fixed");
  f.box->SetReadOnly(true);
  f.Type("x");
  EXPECT_TRUE(f.Press(Vk::Backspace));
  EXPECT_TRUE(f.Press(Vk::Delete));
  f.Press(Vk::A, kCtrl);
  f.Press('X', kCtrl);
  f.Press('V', kCtrl);
  EXPECT_EQ(f.Text(), "fixed");
  EXPECT_FALSE(f.box->SetValueText("other"));
  f.Press('C', kCtrl);
  EXPECT_EQ(TestClipboard().text, "fixed");
  EXPECT_FALSE(f.box->AcceptsIme());
}

TEST(TextBox, PasswordsNeverLeaveTheBox) {
  Field f;
  f.box->SetPassword(true);
  f.Type("secret");
  f.Press(Vk::A, kCtrl);
  f.Press('C', kCtrl);
  f.Press('X', kCtrl);
  EXPECT_FALSE(TestClipboard().hasText);
  EXPECT_EQ(f.Text(), "secret");
  EXPECT_EQ(f.box->ValueText(), "");
  EXPECT_TRUE(f.box->IsPassword());
  EXPECT_EQ(f.box->Model().DisplayText(), "\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF");
}

TEST(TextBox, CapsLockHintShowsOnlyWhileFocusedWithCapsLockOn) {
  Field f;
  bool capsLock = true;
  f.box->SetPassword(true);
  f.box->capsLockWarning = true;
  f.box->capsLockState = [&] { return capsLock; };
  f.Type("pw");
  auto hintDrawn = [&] {
    Testing::RecordingCanvas canvas(1);
    f.window.Paint(canvas);
    const Color caution = f.window.GetTheme().Get(ThemeColor::Caution);
    for (const Testing::CanvasCall& call : canvas.Calls("DrawText"))
      if (call.color == caution) return true;
    return false;
  };
  EXPECT_TRUE(hintDrawn());
  capsLock = false;
  EXPECT_FALSE(hintDrawn());
  capsLock = true;
  f.window.SetFocus(nullptr, FocusReason::Programmatic);
  EXPECT_FALSE(hintDrawn());
}

TEST(TextBox, ValidationRunsOnEveryChangeAndReportsOnlyChanges) {
  Field f;
  std::vector<std::string> reported;
  f.box->validator = [](const std::string& text) { return text.size() > 3 ? "too long" : ""; };
  f.box->onErrorChanged = [&](const std::string& error) { reported.push_back(error); };
  f.Type("abcde");
  f.Press(Vk::Backspace);
  f.Press(Vk::Backspace);
  EXPECT_EQ(reported, (std::vector<std::string>{"too long", ""}));
  f.box->SetText("abcdef");
  EXPECT_EQ(f.box->ErrorText(), "too long");
  EXPECT_EQ(f.box->ToolTip(), "too long");
}

TEST(TextBox, EnterSubmitsASingleLineBoxOrIsLeftToTheWindow) {
  Field f;
  EXPECT_FALSE(f.Press(Vk::Enter));
  int submits = 0;
  f.box->onSubmit = [&] { ++submits; };
  EXPECT_TRUE(f.Press(Vk::Enter));
  EXPECT_EQ(submits, 1);
  Field lines(true);
  lines.box->acceptsReturn = false;
  lines.box->onSubmit = [&] { ++submits; };
  lines.Press(Vk::Enter);
  lines.Press(Vk::Enter, kShift);
  EXPECT_EQ(submits, 2);
  EXPECT_EQ(lines.box->GetText(), "\n");
}

TEST(TextBox, UpAndDownKeepTheColumnAcrossShortLines) {
  Field f(true, "abcdefgh\nab\nabcdefgh");
  f.box->Model().MoveTo(0, false);
  for (int i = 0; i < 6; ++i) f.Press(Vk::Right);
  f.Press(Vk::Down);
  // Each break is the 3-byte U+2028: the lines start at 0, 11 and 16.
  EXPECT_EQ(f.box->Model().Caret(), 13u) << "end of the short line";
  f.Press(Vk::Down);
  EXPECT_EQ(f.box->Model().Caret(), 22u) << "back to column 6";
  f.Press(Vk::Up, kShift);
  f.Press(Vk::Up, kShift);
  EXPECT_EQ(f.box->Model().Caret(), 6u);
  EXPECT_EQ(f.box->Model().Anchor(), 22u);
  f.Press(Vk::End);
  EXPECT_EQ(f.box->Model().Caret(), 8u);
}

TEST(TextBox, EditMenuStatesFollowTheBox) {
  struct Case {
    const char* name;
    std::string text;
    bool select;
    bool readOnly;
    bool password;
    std::vector<bool> enabled;  // Undo, Cut, Copy, Paste, Delete, Select all
  };
  const std::vector<Case> cases = {
      {"empty", "", false, false, false, {false, false, false, true, false, false}},
      {"text", "abc", false, false, false, {false, false, false, true, false, true}},
      {"selection", "abc", true, false, false, {false, true, true, true, true, true}},
      {"read-only selection", "abc", true, true, false, {false, false, true, false, false, true}},
      {"password selection", "abc", true, false, true, {false, false, false, true, true, true}},
  };
  for (const Case& c : cases) {
    Field f(false, c.text);
    f.box->SetReadOnly(c.readOnly);
    f.box->SetPassword(c.password);
    if (c.select) f.box->SelectAll();
    std::vector<bool> enabled;
    for (const MenuItem& item : f.box->EditMenuItems())
      if (item.kind != MenuItemKind::Separator) enabled.push_back(item.enabled);
    EXPECT_EQ(enabled, c.enabled) << c.name;
  }
  Field typed;
  typed.Type("x");
  EXPECT_TRUE(typed.box->EditMenuItems().front().enabled);
  EXPECT_EQ(typed.box->EditMenuItems().front().text, "&Undo");
  EXPECT_EQ(typed.box->EditMenuItems().front().acceleratorText, "Ctrl+Z");
  typed.box->RunEditCommand(EditCommand::SelectAll);
  typed.box->RunEditCommand(EditCommand::Delete);
  EXPECT_EQ(typed.Text(), "");
}

TEST(TextBox, RightClickOpensTheEditMenuAndKeepsTheSelection) {
  Field f(false, "hello world");
  f.box->SelectAll();
  f.Native().Press(Point{30, 16}, PointerButton::Right);
  f.Native().Release(Point{30, 16}, PointerButton::Right);
  EXPECT_TRUE(f.box->IsEditMenuOpen());
  EXPECT_EQ(f.box->Model().SelectedText(), "hello world");
}

TEST(TextBox, PointerPlacesTheCaretAndDoubleClickSelectsAWord) {
  Field f(false, "hello world");
  f.Native().Press(Point{2, 16});
  f.Native().Release(Point{2, 16});
  EXPECT_EQ(f.box->Model().Caret(), 0u);
  f.Native().Press(Point{280, 16});
  f.Native().Move(Point{2, 16});
  EXPECT_EQ(f.box->Model().SelectedText(), "hello world");
  f.Native().Release(Point{2, 16});
  f.Native().Press(Point{12, 16}, PointerButton::Left, 2);
  f.Native().Release(Point{12, 16});
  EXPECT_EQ(f.box->Model().SelectedText(), "hello");
}

TEST(TextBox, CompositionShowsInPlaceAndAClickCommitsItOnce) {
  Field f(false, "ab");
  f.box->Model().MoveTo(1, false);
  f.Native().Compose(ImeEvent{ImeEventKind::Started, "", 0, {}});
  f.Native().Compose(CompositionUpdate("한", 1, {ImeAttribute::TargetConverted}));
  EXPECT_EQ(f.box->Model().DisplayText(), "a한b");
  EXPECT_EQ(f.Text(), "ab");
  EXPECT_EQ(f.textChanges, 0);
  // The candidate window goes to the caret after the syllable.
  EXPECT_GT(f.box->CaretRect().x, 10.0f);
  f.Native().Press(Point{2, 16});
  EXPECT_EQ(f.Text(), "a한b");
  EXPECT_FALSE(f.box->Model().IsComposing());
  EXPECT_EQ(TestImeBridge().cancellations, 1);
}

TEST(TextBox, EscapeCancelsACompositionAndAnEmptyEndDropsIt) {
  Field f;
  f.Native().Compose(CompositionUpdate("ㅎ", 1, {}));
  EXPECT_TRUE(f.Press(Vk::Escape));
  EXPECT_EQ(f.Text(), "");
  EXPECT_EQ(TestImeBridge().cancellations, 1);
  EXPECT_FALSE(f.Press(Vk::Escape));
  // How GTK's input methods finish a syllable: the composition empties and ends, then the text arrives.
  f.Native().Compose(CompositionUpdate("한", 1, {}));
  f.Native().Compose(CompositionUpdate("", 0, {}));
  f.Native().Compose(ImeEvent{ImeEventKind::Ended, "", 0, {}});
  f.Type("한");
  EXPECT_EQ(f.Text(), "한");
}

TEST(TextBox, FocusFromTheKeyboardSelectsAllAndLosingItCommits) {
  Field f(false, "abc");
  int lost = 0;
  f.box->onFocusLost = [&] { ++lost; };
  f.window.SetFocus(nullptr, FocusReason::Programmatic);
  EXPECT_EQ(lost, 1);
  f.window.SetFocus(f.box, FocusReason::Keyboard);
  EXPECT_EQ(f.box->Model().SelectedText(), "abc");
  f.Native().Compose(CompositionUpdate("글", 1, {}));
  f.window.SetFocus(nullptr, FocusReason::Programmatic);
  EXPECT_EQ(f.Text(), "글");
}

TEST(TextBox, DrawsSelectionCaretAndPlaceholderInThemeColours) {
  Field f;
  f.box->SetPlaceholder("Search");
  const Theme& theme = f.window.GetTheme();
  Testing::RecordingCanvas empty(1);
  f.window.Paint(empty);
  bool placeholder = false;
  for (const Testing::CanvasCall& call : empty.Calls("DrawText"))
    placeholder = placeholder || call.color == theme.Get(ThemeColor::TextSecondary);
  EXPECT_TRUE(placeholder);
  EXPECT_EQ(f.box->AccessibleName(), "Search");

  f.Type("word");
  f.Press(Vk::Left, kShift);
  Testing::RecordingCanvas selected(1);
  f.window.Paint(selected);
  Color selection = theme.Get(ThemeColor::Accent);
  selection.a *= 0.4f;
  bool highlighted = false;
  for (const Testing::CanvasCall& call : selected.Calls("FillRect"))
    highlighted = highlighted || call.color == selection;
  EXPECT_TRUE(highlighted);
}

TEST(TextBox, LongTextScrollsToKeepTheCaretVisible) {
  Field f;
  for (int i = 0; i < 10; ++i) f.Type("scrolling ");
  EXPECT_GT(f.box->ScrollX(), 0.0f);
  const Rect caret = f.box->CaretRect();
  EXPECT_LE(caret.x, 300.0f - 8);
  f.Press(Vk::Home);
  EXPECT_EQ(f.box->ScrollX(), 0.0f);
}

}  // namespace
}  // namespace Quarlo::Widget::Input
