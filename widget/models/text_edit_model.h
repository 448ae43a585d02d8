#pragma once
// The editing state of a text field without any drawing: UTF-8 text with caret and selection, grouped undo,
// an input-method composition held apart from the text until it is committed, a length limit, and the text
// as displayed (composition inserted, masked for passwords). Every index is a byte offset into the text at a
// code-point boundary. Every operation but the composition's own first commits an open composition.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "widget/models/text_boundary.h"
#include "widget/models/undo_history.h"

namespace Quarlo::Widget::Models {

// What an operation changed; the text box lays out, scrolls and repaints after any of it.
struct EditResult {
  bool textChanged = false;
  bool selectionChanged = false;
  bool compositionChanged = false;

  bool Any() const { return textChanged || selectionChanged || compositionChanged; }
  EditResult& operator|=(const EditResult& other);
};

// A stretch of the composition (byte offsets into it) with one input-method attribute: 1 and 3 are the
// clause being converted, 4 an input error.
struct CompositionRun {
  size_t start = 0;
  size_t end = 0;
  uint8_t attribute = 0;
  friend bool operator==(const CompositionRun&, const CompositionRun&) = default;
};

class TextEditModel {
 public:
  TextEditModel();
  explicit TextEditModel(std::unique_ptr<ITextBoundary> boundary);

  const ITextBoundary& Boundary() const { return *boundary_; }

  // Replaces the whole text: caret and anchor at its end, history cleared, a composition dropped. A text
  // longer than maxLength is cut at the last character stop that fits.
  void SetText(std::string_view text);
  const std::string& Text() const { return text_; }
  size_t Caret() const { return caret_; }
  size_t Anchor() const { return anchor_; }
  size_t SelectionStart() const { return std::min(caret_, anchor_); }
  size_t SelectionEnd() const { return std::max(caret_, anchor_); }
  bool HasSelection() const { return caret_ != anchor_; }
  std::string SelectedText() const;

  // Caret moves: positions are clamped to the text and moved back to a code-point boundary.
  EditResult Select(size_t anchor, size_t caret);
  EditResult MoveTo(size_t position, bool extend);
  EditResult SelectAll();

  // Replaces the selection with text (cut to fit maxLength), recorded as kind at nowMs. Refused when
  // read-only.
  EditResult Insert(std::string_view text, EditKind kind, double nowMs);
  // A typed character: controls (below U+0020, U+007F to U+009F) and surrogate code points are dropped.
  EditResult TypeCharacter(char32_t c, double nowMs);
  // Backspace and Delete: the selection, else one character stop (word with word) back or forward.
  EditResult DeleteBackward(bool word, double nowMs);
  EditResult DeleteForward(bool word, double nowMs);
  EditResult DeleteSelection(EditKind kind, double nowMs);
  EditResult Undo();
  EditResult Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }

  // Stops the caret keys use. Word moves skip the white space after a word (forward) or before it (back),
  // so they land on word starts; a masked text has no words, only its two ends.
  size_t NextCharacter(size_t from) const;
  size_t PreviousCharacter(size_t from) const;
  size_t NextWordMove(size_t from) const;
  size_t PreviousWordMove(size_t from) const;
  // The word around a position (a double click): [first, second).
  std::pair<size_t, size_t> WordAt(size_t position) const;

  // --- Input-method composition ---
  bool IsComposing() const { return composing_; }
  // Shows text as the composition (caret and runs as byte offsets into it) in place of the selection.
  EditResult UpdateComposition(std::string_view text, size_t caret, std::vector<CompositionRun> runs);
  // Inserts the composition as typed text.
  EditResult CommitComposition(double nowMs);
  // Drops the composition; the text stays as it was.
  EditResult CancelComposition();
  // The input method's result: replaces the composition (or the selection) as one edit.
  EditResult CommitResult(std::string_view text, double nowMs);
  const std::string& Composition() const { return composition_; }
  size_t CompositionStart() const { return compositionStart_; }
  size_t CompositionCaret() const { return compositionCaret_; }
  const std::vector<CompositionRun>& CompositionRuns() const { return compositionRuns_; }

  // --- What is displayed ---
  std::string DisplayText() const;
  // Text position to display position and back (a position inside the composition maps to its start).
  size_t ToDisplay(size_t position) const;
  size_t FromDisplay(size_t displayPosition) const;
  // Where the caret is drawn: inside the composition while composing.
  size_t DisplayCaret() const;

  UndoHistory& History() { return history_; }

  bool readOnly = false;
  bool masked = false;    // passwords: no words, no copying, shown masked unless revealed
  bool revealed = false;  // a masked text shown in clear
  std::string maskChar = "\u25CF";
  size_t maxLength = 0;  // UTF-16 code units the text may hold; 0: no limit

 private:
  EditResult Replace(size_t start, size_t end, std::string_view inserted, EditKind kind, double nowMs);
  EditResult CommitOpen();
  // Takes a record back (backwards) or applies it again.
  EditResult Restore(const std::optional<EditRecord>& record, bool backwards);
  // The part of text that fits beside the rest of the text when it replaces [start, end).
  std::string_view FitToLimit(std::string_view text, size_t start, size_t end) const;
  size_t ClampPosition(size_t position) const;
  size_t MaskedLength(std::string_view text) const;
  std::string Shown() const;  // text with the composition inserted

  std::unique_ptr<ITextBoundary> boundary_;
  std::string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;
  UndoHistory history_;
  bool mergeable_ = false;
  double lastEditTimeMs_ = 0;
  bool composing_ = false;
  size_t compositionStart_ = 0;
  std::string composition_;
  size_t compositionCaret_ = 0;
  std::vector<CompositionRun> compositionRuns_;
};

}  // namespace Quarlo::Widget::Models
