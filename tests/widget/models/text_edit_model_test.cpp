// The edit model: grouped undo, deletion and word moves, selection extension, the length limit, masking
// and the composition.

#include "widget/models/text_edit_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "widget/models/simple_text_boundary.h"

namespace Quarlo::Widget::Models {
namespace {

void Type(TextEditModel& m, std::string_view letters, double& now, double gapMs = 100) {
  for (char c : letters) {
    m.TypeCharacter(static_cast<unsigned char>(c), now);
    now += gapMs;
  }
}

TEST(TextEditModel, TypingWithinASecondIsUndoneAtOnce) {
  struct Case {
    double pauseBeforeC;
    std::string afterUndo;
  };
  for (const Case& c : {Case{500, ""}, Case{1500, "ab"}}) {
    TextEditModel m;
    double now = 0;
    Type(m, "ab", now);
    now += c.pauseBeforeC;
    Type(m, "c", now);
    ASSERT_EQ(m.Text(), "abc");
    m.Undo();
    EXPECT_EQ(m.Text(), c.afterUndo) << "pause " << c.pauseBeforeC;
    m.Redo();
    EXPECT_EQ(m.Text(), "abc");
    EXPECT_EQ(m.Caret(), 3u);
  }
}

TEST(TextEditModel, BackspaceAndDeleteRunsMergeAndCaretMovesSplitThem) {
  TextEditModel m;
  m.SetText("abcd");
  double now = 0;
  for (int i = 0; i < 3; ++i) m.DeleteBackward(false, now += 100);
  EXPECT_EQ(m.Text(), "a");
  m.Undo();
  EXPECT_EQ(m.Text(), "abcd");
  EXPECT_EQ(m.Caret(), 4u);

  m.MoveTo(0, false);
  m.DeleteForward(false, now += 100);
  m.DeleteForward(false, now += 100);
  EXPECT_EQ(m.Text(), "cd");
  m.Undo();
  EXPECT_EQ(m.Text(), "abcd");

  // A caret move between two typed letters makes them two records.
  m.MoveTo(4, false);
  m.TypeCharacter('x', now += 100);
  m.MoveTo(0, false);
  m.TypeCharacter('y', now += 100);
  m.Undo();
  EXPECT_EQ(m.Text(), "abcdx");
  EXPECT_TRUE(m.CanRedo());
}

TEST(TextEditModel, HistoryKeepsAtMostItsLimit) {
  TextEditModel m;
  m.History().limit = 3;
  double now = 0;
  Type(m, "abcde", now, 2000);
  int undone = 0;
  while (m.CanUndo()) {
    m.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 3);
  EXPECT_EQ(m.Text(), "ab");
}

TEST(TextEditModel, WordMovesLandOnWordStartsAndDeleteWholeWords) {
  TextEditModel m;
  m.SetText("foo  bar");
  EXPECT_EQ(m.NextWordMove(0), 5u);
  EXPECT_EQ(m.PreviousWordMove(5), 0u);
  EXPECT_EQ(m.PreviousWordMove(8), 5u);
  m.MoveTo(5, false);
  m.DeleteBackward(true, 0);
  EXPECT_EQ(m.Text(), "bar");
  m.MoveTo(0, false);
  m.DeleteForward(true, 0);
  EXPECT_EQ(m.Text(), "");
}

TEST(TextEditModel, MaskedTextHasNoWords) {
  TextEditModel m;
  m.SetText("pass word");
  m.masked = true;
  EXPECT_EQ(m.NextWordMove(0), 9u);
  EXPECT_EQ(m.PreviousWordMove(6), 0u);
  EXPECT_EQ(m.WordAt(2), (std::pair<size_t, size_t>{0, 9}));
}

TEST(TextEditModel, SupplementaryCharactersAndClustersGoInAndOutWhole) {
  for (bool simple : {false, true}) {
    TextEditModel m = simple ? TextEditModel(std::make_unique<SimpleTextBoundary>()) : TextEditModel();
    m.TypeCharacter(U'\U0001F600', 0);
    EXPECT_EQ(m.Text(), "\U0001F600");
    m.DeleteBackward(false, 10);
    EXPECT_EQ(m.Text(), "") << m.Boundary().Name();
    m.SetText("a\U0001F1F0\U0001F1F7b");
    m.MoveTo(1, false);
    m.DeleteForward(false, 0);
    EXPECT_EQ(m.Text(), "ab") << m.Boundary().Name();
    // Conjoining jamo of one syllable go with one Backspace.
    m.SetText("\u1112\u1161\u11AB");
    m.DeleteBackward(false, 0);
    EXPECT_EQ(m.Text(), "") << m.Boundary().Name();
  }
}

TEST(TextEditModel, ControlsAndSurrogatesAreNotTyped) {
  TextEditModel m;
  for (char32_t c : {char32_t{0x08}, char32_t{0x7F}, char32_t{0x85}, char32_t{0xD800}, char32_t{0x110000}})
    m.TypeCharacter(c, 0);
  EXPECT_EQ(m.Text(), "");
  EXPECT_FALSE(m.CanUndo());
}

TEST(TextEditModel, SelectionExtendsFromTheAnchorAndInsertReplacesIt) {
  TextEditModel m;
  m.SetText("hello world");
  m.MoveTo(6, false);
  m.MoveTo(11, true);
  EXPECT_EQ(m.SelectedText(), "world");
  m.MoveTo(2, true);
  EXPECT_EQ(m.Anchor(), 6u);
  EXPECT_EQ(m.SelectedText(), "llo ");
  m.Insert("y, ", EditKind::Other, 0);
  EXPECT_EQ(m.Text(), "hey, world");
  // Positions inside a character move back to its start.
  m.SetText("한");
  m.MoveTo(1, false);
  EXPECT_EQ(m.Caret(), 0u);
}

TEST(TextEditModel, ReadOnlyRefusesEveryEdit) {
  TextEditModel m;
  m.SetText("keep");
  m.readOnly = true;
  m.SelectAll();
  m.Insert("x", EditKind::Other, 0);
  m.TypeCharacter('y', 0);
  m.DeleteBackward(false, 0);
  m.DeleteForward(true, 0);
  m.DeleteSelection(EditKind::Delete, 0);
  m.CommitResult("z", 0);
  EXPECT_EQ(m.Text(), "keep");
  EXPECT_FALSE(m.CanUndo());
}

TEST(TextEditModel, MaxLengthCountsUtf16UnitsAndNeverSplitsACluster) {
  TextEditModel m;
  m.maxLength = 5;
  m.Insert("abc\U0001F1F0\U0001F1F7", EditKind::Other, 0);  // the flag needs 4 units, 2 are left
  EXPECT_EQ(m.Text(), "abc");
  m.Insert("한x", EditKind::Other, 0);
  EXPECT_EQ(m.Text(), "abc한x");
  m.TypeCharacter('z', 0);
  EXPECT_EQ(m.Text(), "abc한x");
  // Replacing a selection frees its room.
  m.Select(0, 3);
  m.Insert("\U0001F600", EditKind::Other, 0);
  EXPECT_EQ(m.Text(), "\U0001F600한x");
  m.SetText("123456789");
  EXPECT_EQ(m.Text(), "12345");
}

TEST(TextEditModel, MaskedDisplayMapsCodePointsBothWays) {
  TextEditModel m;
  m.SetText("a한\U0001F600");
  m.masked = true;
  const std::string dot = "\u25CF";
  EXPECT_EQ(m.DisplayText(), dot + dot + dot);
  EXPECT_EQ(m.ToDisplay(4), 2 * dot.size());
  EXPECT_EQ(m.FromDisplay(2 * dot.size()), 4u);
  EXPECT_EQ(m.DisplayCaret(), 3 * dot.size());
  m.revealed = true;
  EXPECT_EQ(m.DisplayText(), "a한\U0001F600");
}

TEST(TextEditModel, CompositionIsShownInPlaceAndCommittedAsTyping) {
  TextEditModel m;
  m.SetText("ab");
  m.MoveTo(1, false);
  m.UpdateComposition("한", 3, {{0, 3, 1}});
  EXPECT_TRUE(m.IsComposing());
  EXPECT_EQ(m.Text(), "ab");
  EXPECT_EQ(m.DisplayText(), "a한b");
  EXPECT_EQ(m.DisplayCaret(), 4u);
  EXPECT_EQ(m.ToDisplay(2), 5u);
  EXPECT_EQ(m.FromDisplay(2), 1u);
  // Any other operation commits it first.
  m.MoveTo(0, false);
  EXPECT_FALSE(m.IsComposing());
  EXPECT_EQ(m.Text(), "a한b");
  m.Undo();
  EXPECT_EQ(m.Text(), "ab");
}

TEST(TextEditModel, CompositionCancelsOrIsReplacedByTheResult) {
  TextEditModel m;
  m.SetText("xy");
  m.SelectAll();
  m.UpdateComposition("ㅎ", 3, {});
  // The composition took the selection's place.
  EXPECT_EQ(m.Text(), "");
  m.CancelComposition();
  EXPECT_EQ(m.DisplayText(), "");
  m.UpdateComposition("하", 3, {});
  m.CommitResult("韓", 0);
  EXPECT_FALSE(m.IsComposing());
  EXPECT_EQ(m.Text(), "韓");
}

}  // namespace
}  // namespace Quarlo::Widget::Models
