// The text field's edit model: selection, edits with their undo records, and the composition.

#include "widget/models/text_edit_model.h"

#include <algorithm>

#include "widget/input/ime_composition.h"

namespace Quarlo::Widget::Models {
namespace {

bool IsContinuationByte(char c) { return (static_cast<uint8_t>(c) & 0xC0) == 0x80; }

bool IsWhiteSpaceOnly(std::string_view text) {
  if (text.empty()) return false;
  for (size_t at = 0; at < text.size();) {
    const char32_t c = Input::DecodeCodePoint(text, at);
    const bool space = (c >= 0x09 && c <= 0x0D) || c == ' ' || c == 0x85 || c == 0xA0 || c == 0x1680 ||
                       (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
                       c == 0x205F || c == 0x3000;
    if (!space) return false;
  }
  return true;
}

std::string EncodeUtf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

EditResult& EditResult::operator|=(const EditResult& other) {
  textChanged = textChanged || other.textChanged;
  selectionChanged = selectionChanged || other.selectionChanged;
  compositionChanged = compositionChanged || other.compositionChanged;
  return *this;
}

TextEditModel::TextEditModel() : TextEditModel(CreateTextBoundary()) {}

TextEditModel::TextEditModel(std::unique_ptr<ITextBoundary> boundary) : boundary_(std::move(boundary)) {}

void TextEditModel::SetText(std::string_view text) {
  text_.clear();
  text_ = std::string(FitToLimit(text, 0, 0));
  caret_ = anchor_ = text_.size();
  history_.Clear();
  mergeable_ = false;
  composing_ = false;
  composition_.clear();
  compositionRuns_.clear();
}

std::string TextEditModel::SelectedText() const {
  return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

size_t TextEditModel::ClampPosition(size_t position) const {
  position = std::min(position, text_.size());
  while (position > 0 && position < text_.size() && IsContinuationByte(text_[position])) --position;
  return position;
}

EditResult TextEditModel::Select(size_t anchor, size_t caret) {
  EditResult result = CommitOpen();
  anchor = ClampPosition(anchor);
  caret = ClampPosition(caret);
  mergeable_ = false;
  if (anchor == anchor_ && caret == caret_) return result;
  anchor_ = anchor;
  caret_ = caret;
  result.selectionChanged = true;
  return result;
}

EditResult TextEditModel::MoveTo(size_t position, bool extend) {
  return Select(extend ? anchor_ : position, position);
}

EditResult TextEditModel::SelectAll() { return Select(0, text_.size()); }

std::string_view TextEditModel::FitToLimit(std::string_view text, size_t start, size_t end) const {
  if (maxLength == 0) return text;
  const size_t kept = Input::Utf16Length(text_) - Input::Utf16Length(text_.substr(start, end - start));
  if (kept >= maxLength) return text.substr(0, 0);
  const size_t room = maxLength - kept;
  if (Input::Utf16Length(text) <= room) return text;
  // Whole characters only: a flag or a syllable is never cut in half.
  size_t fits = 0;
  for (size_t next = boundary_->NextCharacterStop(text, 0); next > fits && next <= text.size();
       next = boundary_->NextCharacterStop(text, next)) {
    if (Input::Utf16Length(text.substr(0, next)) > room) break;
    fits = next;
  }
  return text.substr(0, fits);
}

EditResult TextEditModel::Replace(size_t start, size_t end, std::string_view inserted, EditKind kind,
                                  double nowMs) {
  const std::string_view fitted = FitToLimit(inserted, start, end);
  if (start == end && fitted.empty()) return {};
  EditRecord record;
  record.position = start;
  record.removed = text_.substr(start, end - start);
  record.inserted = std::string(fitted);
  record.caretBefore = caret_;
  record.anchorBefore = anchor_;
  record.kind = kind;
  record.time = nowMs;
  text_.replace(start, end - start, fitted);
  caret_ = anchor_ = start + fitted.size();
  record.caretAfter = record.anchorAfter = caret_;
  history_.Record(std::move(record), mergeable_);
  lastEditTimeMs_ = nowMs;
  EditResult result;
  result.textChanged = true;
  result.selectionChanged = true;
  return result;
}

EditResult TextEditModel::CommitOpen() {
  return composing_ ? CommitComposition(lastEditTimeMs_) : EditResult{};
}

EditResult TextEditModel::Insert(std::string_view text, EditKind kind, double nowMs) {
  EditResult result = CommitOpen();
  if (readOnly) return result;
  result |= Replace(SelectionStart(), SelectionEnd(), text, kind, nowMs);
  return result;
}

EditResult TextEditModel::TypeCharacter(char32_t c, double nowMs) {
  const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  if (control || surrogate || c > 0x10FFFF) return CommitOpen();
  return Insert(EncodeUtf8(c), EditKind::Typing, nowMs);
}

EditResult TextEditModel::DeleteSelection(EditKind kind, double nowMs) {
  EditResult result = CommitOpen();
  if (readOnly || !HasSelection()) return result;
  result |= Replace(SelectionStart(), SelectionEnd(), {}, kind, nowMs);
  return result;
}

EditResult TextEditModel::DeleteBackward(bool word, double nowMs) {
  EditResult result = CommitOpen();
  if (readOnly) return result;
  if (HasSelection()) return result |= DeleteSelection(EditKind::Backspace, nowMs);
  const size_t from = word ? PreviousWordMove(caret_) : PreviousCharacter(caret_);
  if (from < caret_) result |= Replace(from, caret_, {}, EditKind::Backspace, nowMs);
  return result;
}

EditResult TextEditModel::DeleteForward(bool word, double nowMs) {
  EditResult result = CommitOpen();
  if (readOnly) return result;
  if (HasSelection()) return result |= DeleteSelection(EditKind::Delete, nowMs);
  const size_t to = word ? NextWordMove(caret_) : NextCharacter(caret_);
  if (to > caret_) result |= Replace(caret_, to, {}, EditKind::Delete, nowMs);
  return result;
}

EditResult TextEditModel::Restore(const std::optional<EditRecord>& record, bool backwards) {
  if (!record) return {};
  const std::string& present = backwards ? record->inserted : record->removed;
  const std::string& restored = backwards ? record->removed : record->inserted;
  text_.replace(record->position, present.size(), restored);
  caret_ = backwards ? record->caretBefore : record->caretAfter;
  anchor_ = backwards ? record->anchorBefore : record->anchorAfter;
  mergeable_ = false;
  EditResult result;
  result.textChanged = result.selectionChanged = true;
  return result;
}

EditResult TextEditModel::Undo() {
  EditResult result = CommitOpen();
  return result |= Restore(history_.PopUndo(), true);
}

EditResult TextEditModel::Redo() {
  EditResult result = CommitOpen();
  return result |= Restore(history_.PopRedo(), false);
}

size_t TextEditModel::NextCharacter(size_t from) const { return boundary_->NextCharacterStop(text_, from); }

size_t TextEditModel::PreviousCharacter(size_t from) const {
  return boundary_->PreviousCharacterStop(text_, from);
}

size_t TextEditModel::NextWordMove(size_t from) const {
  if (masked) return text_.size();
  size_t at = boundary_->NextWordStop(text_, from);
  while (at < text_.size()) {
    const size_t next = boundary_->NextWordStop(text_, at);
    if (next <= at || !IsWhiteSpaceOnly(std::string_view(text_).substr(at, next - at))) break;
    at = next;
  }
  return at;
}

size_t TextEditModel::PreviousWordMove(size_t from) const {
  if (masked) return 0;
  size_t at = from;
  while (at > 0) {
    const size_t previous = boundary_->PreviousWordStop(text_, at);
    if (previous >= at) break;
    const bool space = IsWhiteSpaceOnly(std::string_view(text_).substr(previous, at - previous));
    at = previous;
    if (!space) break;
  }
  return at;
}

std::pair<size_t, size_t> TextEditModel::WordAt(size_t position) const {
  if (masked) return {0, text_.size()};
  position = ClampPosition(position);
  if (position >= text_.size()) return {boundary_->PreviousWordStop(text_, position), text_.size()};
  const size_t end = boundary_->NextWordStop(text_, position);
  return {boundary_->PreviousWordStop(text_, end), end};
}

// --- Composition ---

EditResult TextEditModel::UpdateComposition(std::string_view text, size_t caret,
                                            std::vector<CompositionRun> runs) {
  EditResult result;
  if (!composing_) {
    // The composition takes the place of the selection.
    if (HasSelection() && !readOnly) result |= DeleteSelection(EditKind::Other, lastEditTimeMs_);
    composing_ = true;
    compositionStart_ = caret_;
  }
  composition_ = std::string(text);
  compositionCaret_ = std::min(caret, composition_.size());
  compositionRuns_ = std::move(runs);
  mergeable_ = false;
  result.compositionChanged = true;
  return result;
}

EditResult TextEditModel::CommitComposition(double nowMs) {
  if (!composing_) return {};
  const std::string text = std::move(composition_);
  composing_ = false;
  composition_.clear();
  compositionRuns_.clear();
  EditResult result;
  result.compositionChanged = true;
  if (!readOnly) result |= Replace(SelectionStart(), SelectionEnd(), text, EditKind::Typing, nowMs);
  return result;
}

EditResult TextEditModel::CancelComposition() {
  if (!composing_) return {};
  composing_ = false;
  composition_.clear();
  compositionRuns_.clear();
  EditResult result;
  result.compositionChanged = true;
  return result;
}

EditResult TextEditModel::CommitResult(std::string_view text, double nowMs) {
  const bool wasComposing = composing_;
  EditResult result = CancelComposition();
  if (readOnly) return result;
  result |= Replace(SelectionStart(), SelectionEnd(), text, wasComposing ? EditKind::Other : EditKind::Typing,
                    nowMs);
  return result;
}

// --- Display ---

std::string TextEditModel::Shown() const {
  if (!composing_) return text_;
  std::string shown = text_;
  shown.insert(compositionStart_, composition_);
  return shown;
}

size_t TextEditModel::MaskedLength(std::string_view text) const {
  size_t codePoints = 0;
  for (size_t at = 0; at < text.size(); ++codePoints) Input::DecodeCodePoint(text, at);
  return codePoints * maskChar.size();
}

std::string TextEditModel::DisplayText() const {
  const std::string shown = Shown();
  if (!masked || revealed) return shown;
  std::string out;
  for (size_t at = 0, n = MaskedLength(shown) / std::max<size_t>(maskChar.size(), 1); at < n; ++at)
    out += maskChar;
  return out;
}

size_t TextEditModel::ToDisplay(size_t position) const {
  position = ClampPosition(position);
  if (composing_ && position > compositionStart_) position += composition_.size();
  if (!masked || revealed) return position;
  return MaskedLength(std::string_view(Shown()).substr(0, position));
}

size_t TextEditModel::FromDisplay(size_t displayPosition) const {
  const std::string shown = Shown();
  size_t position = std::min(displayPosition, shown.size());
  if (masked && !revealed && !maskChar.empty()) {
    // Back from mask characters to the code point they stand for.
    const size_t wanted = displayPosition / maskChar.size();
    position = 0;
    for (size_t n = 0; n < wanted && position < shown.size(); ++n) Input::DecodeCodePoint(shown, position);
  }
  if (composing_ && position > compositionStart_) {
    position = position <= compositionStart_ + composition_.size() ? compositionStart_
                                                                   : position - composition_.size();
  }
  return ClampPosition(position);
}

size_t TextEditModel::DisplayCaret() const {
  if (!composing_) return ToDisplay(caret_);
  const size_t start = ToDisplay(compositionStart_);
  if (!masked || revealed) return start + compositionCaret_;
  return start + MaskedLength(std::string_view(composition_).substr(0, compositionCaret_));
}

}  // namespace Quarlo::Widget::Models
