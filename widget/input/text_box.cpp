// TextBox: its text and state, edits and their aftermath, the clipboard, the composition, focus and
// accessibility.

#include "widget/input/text_box.h"

#include "widget/animator.h"
#include "widget/host.h"
#include "widget/input/clipboard.h"
#include "widget/input/events.h"
#include "widget/input/ime_bridge.h"
#include "widget/input/ime_composition.h"
#include "widget/input/text_line_breaks.h"
#include "widget/text_input_state.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

// The composition's attributes (one per UTF-16 unit) as runs of byte offsets into its UTF-8 text.
std::vector<Models::CompositionRun> RunsOf(std::string_view text, const std::vector<uint8_t>& attributes) {
  std::vector<Models::CompositionRun> runs;
  size_t unit = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    const char32_t c = DecodeCodePoint(text, at);
    const uint8_t attribute = unit < attributes.size() ? attributes[unit] : 0;
    unit += c >= 0x10000 ? 2 : 1;
    if (!runs.empty() && runs.back().attribute == attribute && runs.back().end == start) {
      runs.back().end = at;
    } else {
      runs.push_back(Models::CompositionRun{start, at, attribute});
    }
  }
  return runs;
}

// The byte offset in UTF-8 text of a caret counted in UTF-16 units.
size_t ByteOffsetOfUnits(std::string_view text, int32_t units) {
  size_t at = 0;
  for (int32_t seen = 0; at < text.size() && seen < units;) {
    const char32_t c = DecodeCodePoint(text, at);
    seen += c >= 0x10000 ? 2 : 1;
  }
  return at;
}

}  // namespace

TextBox::TextBox(std::string_view text) {
  role = Role::Edit;
  capsLockState = &Detail::CapsLockOn;
  model_.SetText(text);
}

TextBox::~TextBox() = default;

const char* TextBox::ClassName() const { return "TextBox"; }
bool TextBox::IsFocusable() const { return true; }
CursorKind TextBox::Cursor() const { return CursorKind::IBeam; }
std::string TextBox::ToolTip() const { return errorText_.empty() ? toolTip : errorText_; }
bool TextBox::SupportsValue() const { return true; }
bool TextBox::IsReadOnly() const { return model_.readOnly; }
bool TextBox::IsPassword() const { return model_.masked; }

std::string TextBox::AccessibleName() const {
  const std::string name = Widget::AccessibleName();
  return name.empty() ? placeholder_ : name;
}

std::string TextBox::ValueText() const { return model_.masked ? std::string() : GetText(); }

bool TextBox::SetValueText(const std::string& text) {
  if (model_.readOnly || model_.masked || !IsEnabledInTree()) return false;
  SetText(text);
  if (auto callback = onTextChanged) callback();
  return true;
}

bool TextBox::AcceptsIme() const { return !model_.readOnly && !(model_.masked && imeOffForPassword); }

double TextBox::NowMs() const { return GetHost() ? GetHost()->GetAnimator().Now() * 1000 : 0; }

std::string TextBox::IncomingText(std::string_view text) const {
  return multiLine_ ? ToFieldLineBreaks(text) : std::string(text);
}

// --- Text and state ---

void TextBox::SetText(std::string_view text) {
  const std::string before = model_.Text();
  if (model_.IsComposing()) CommitComposition();
  model_.SetText(IncomingText(text));
  scrollX_ = 0;
  layoutDirty_ = true;
  ScrollToCaret();
  InvalidateVisual();
  if (model_.Text() == before) return;
  Validate();
  if (!model_.masked) RaiseAutomationEvent(AutomationEvent::ValueChanged);
}

std::string TextBox::GetText() const {
  return multiLine_ ? FromFieldLineBreaks(model_.Text(), "\n") : model_.Text();
}

void TextBox::SetPlaceholder(std::string text) {
  placeholder_ = std::move(text);
  InvalidateVisual();
}

void TextBox::SetError(const std::string& text) {
  if (text == errorText_) return;
  errorText_ = text;
  InvalidateVisual();
  if (auto callback = onErrorChanged) callback(errorText_);
}

void TextBox::Validate() {
  if (validator) SetError(validator(GetText()));
}

void TextBox::SetReadOnly(bool readOnly) {
  if (readOnly == model_.readOnly) return;
  model_.readOnly = readOnly;
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::ValueChanged);
}

void TextBox::SetInsets(float left, float right) {
  leftInset_ = left;
  rightInset_ = right;
  layoutDirty_ = true;
  InvalidateVisual();
}

void TextBox::SetPassword(bool password) {
  model_.masked = password;
  model_.revealed = false;
  layoutDirty_ = true;
  InvalidateVisual();
}

void TextBox::SetRevealed(bool revealed) {
  if (revealed == model_.revealed) return;
  model_.revealed = revealed;
  layoutDirty_ = true;
  ScrollToCaret();
  InvalidateVisual();
}

void TextBox::SetMultiLine(bool multiLine) {
  if (multiLine == multiLine_) return;
  const std::string text = GetText();
  multiLine_ = multiLine;
  model_.SetText(IncomingText(text));
  layoutDirty_ = true;
  InvalidateMeasure();
  InvalidateVisual();
}

void TextBox::SetMaxLength(size_t units) { model_.maxLength = units; }

void TextBox::Apply(const Models::EditResult& result, bool userEdit) {
  if (!result.Any()) return;
  layoutDirty_ = true;
  ScrollToCaret();
  RestartBlink();
  if (!verticalMove_) desiredX_ = -1;
  if (result.textChanged && userEdit) {
    if (!model_.masked) RaiseAutomationEvent(AutomationEvent::ValueChanged);
    Validate();
    if (auto callback = onTextChanged) callback();
  }
  InvalidateVisual();
}

// --- Commands ---

void TextBox::SelectAll() { Apply(model_.SelectAll()); }

void TextBox::Undo() {
  CommitComposition();
  if (!model_.readOnly) Apply(model_.Undo());
}

void TextBox::Redo() {
  CommitComposition();
  if (!model_.readOnly) Apply(model_.Redo());
}

void TextBox::Copy() {
  if (model_.masked || !model_.HasSelection()) return;
  const std::string selected = model_.SelectedText();
  auto* window = dynamic_cast<Window*>(GetHost());
  Clipboard().PutText(window ? window->Handle() : nullptr,
                      multiLine_ ? FromFieldLineBreaks(selected, "\r\n") : selected);
}

void TextBox::Cut() {
  if (model_.masked || model_.readOnly || !model_.HasSelection()) return;
  CommitComposition();
  const std::string selected = model_.SelectedText();
  auto* window = dynamic_cast<Window*>(GetHost());
  if (!Clipboard().PutText(window ? window->Handle() : nullptr,
                           multiLine_ ? FromFieldLineBreaks(selected, "\r\n") : selected))
    return;
  Apply(model_.DeleteSelection(Models::EditKind::Other, NowMs()));
}

void TextBox::Paste() {
  if (model_.readOnly) return;
  CommitComposition();
  std::string text;
  auto* window = dynamic_cast<Window*>(GetHost());
  if (!Clipboard().GetText(window ? window->Handle() : nullptr, text)) return;
  Apply(model_.Insert(IncomingText(text), Models::EditKind::Other, NowMs()));
}

// --- Composition ---

void TextBox::CommitComposition() {
  if (!model_.IsComposing()) return;
  Apply(model_.CommitComposition(NowMs()));
  ForgetImeComposition();
}

void TextBox::ForgetImeComposition() {
  if (auto* window = dynamic_cast<Window*>(GetHost())) ImeBridge().CancelComposition(*window);
}

bool TextBox::OnIme(const ImeEvent& event) {
  if (!AcceptsIme()) return false;
  switch (event.kind) {
    case ImeEventKind::Started:
      return true;
    case ImeEventKind::Updated:
      Apply(model_.UpdateComposition(event.text, ByteOffsetOfUnits(event.text, event.caret),
                                     RunsOf(event.text, event.attributes)));
      return true;
    case ImeEventKind::Committed:
      Apply(model_.CommitResult(event.text, NowMs()));
      return true;
    case ImeEventKind::Ended:
      Apply(model_.Composition().empty() ? model_.CancelComposition() : model_.CommitComposition(NowMs()));
      return true;
  }
  return false;
}

// --- Focus and caret blink ---

void TextBox::RestartBlink() {
  caretVisible_ = true;
  StopBlink();
  const double ms = Detail::CaretBlinkMs();
  if (!IsFocused() || ms <= 0) return;
  blinkTimer_ = StartTimer(
      ms / 1000,
      [this] {
        caretVisible_ = !caretVisible_;
        InvalidateVisual();
      },
      true);
}

void TextBox::StopBlink() {
  if (blinkTimer_ != 0) CancelTimer(blinkTimer_);
  blinkTimer_ = 0;
}

void TextBox::OnFocusChanged(bool focused) {
  if (focused) {
    if (IsFocusVisualShown() && !model_.Text().empty()) Apply(model_.SelectAll(), false);
    RestartBlink();
  } else {
    CommitComposition();
    StopBlink();
    caretVisible_ = false;
    selectingWithPointer_ = false;
    if (model_.revealed) SetRevealed(false);
    revealPressed_ = false;
    if (auto callback = onFocusLost) callback();
  }
  InvalidateVisual();
  InvalidateMeasure();
}

void TextBox::OnDetached() {
  blinkTimer_ = 0;
  if (editMenu_) editMenu_->Close();
}

void TextBox::OnVisualStateChanged() { InvalidateVisual(); }

void TextBox::OnThemeChanged() {
  layoutDirty_ = true;
  capsLockHintWidth_ = -1;
  InvalidateMeasure();
}

void TextBox::OnScaleChanged() {
  layoutDirty_ = true;
  capsLockHintWidth_ = -1;
}

bool TextBox::CapsLockIsOn() const { return capsLockState && capsLockState(); }

}  // namespace Quarlo::Widget::Input
