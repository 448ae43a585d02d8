#pragma once
// The toolkit's text field, single- or multi-line: caret, selection by keys and pointer, grouped undo,
// input-method composition drawn in place, the edit menu, a placeholder, validation with an error text,
// password masking with a press-and-hold reveal button and a Caps Lock hint. Text is UTF-8; in a
// multi-line field line breaks are U+2028 inside and LF outside (text_line_breaks.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "widget/canvas.h"
#include "widget/input/menu_item.h"
#include "widget/models/text_edit_model.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

// The edit menu's commands, in menu order.
enum class EditCommand : int32_t { Undo = 1, Cut = 2, Copy = 3, Paste = 4, Delete = 5, SelectAll = 6 };

class TextBox : public Widget {
 public:
  explicit TextBox(std::string_view text = {});
  ~TextBox() override;

  // Replaces the text (history cleared, caret at the end); validates, but onTextChanged is not called.
  void SetText(std::string_view text);
  // The text with LF line breaks.
  std::string GetText() const;
  void SetPlaceholder(std::string text);
  const std::string& Placeholder() const { return placeholder_; }
  // Sets the error text; repaints and tells onErrorChanged when it differs.
  void SetError(const std::string& text);
  const std::string& ErrorText() const { return errorText_; }
  void SetReadOnly(bool readOnly);
  bool ReadOnlyText() const { return model_.readOnly; }
  // Room kept free at either side for what an owner draws over the field (a number box's spin buttons).
  void SetInsets(float left, float right);
  void SetPassword(bool password);
  bool Password() const { return model_.masked; }
  void SetRevealed(bool revealed);
  bool Revealed() const { return model_.revealed; }
  void SetMultiLine(bool multiLine);
  bool MultiLine() const { return multiLine_; }
  // The most UTF-16 code units the text may hold (0: no limit); longer input is cut at a character stop.
  void SetMaxLength(size_t units);

  void SelectAll();
  void Undo();
  void Redo();
  void Cut();
  void Copy();
  void Paste();
  // Runs one of the edit menu's commands.
  void RunEditCommand(EditCommand command);
  // The edit menu as it would open now, with its enabled states.
  std::vector<MenuItem> EditMenuItems() const;
  // Opens the edit menu at a local point (fromKeyboard: the first item highlighted).
  void ShowContextMenu(Point local, bool fromKeyboard);
  bool IsEditMenuOpen() const;

  Models::TextEditModel& Model() { return model_; }
  const Models::TextEditModel& Model() const { return model_; }
  float ScrollX() const { return scrollX_; }
  float ScrollY() const { return scrollY_; }

  std::function<std::string(const std::string&)> validator;  // error text for a text, empty when valid
  std::function<void(const std::string&)> onErrorChanged;
  std::function<void()> onTextChanged;  // edits of the user only
  std::function<void()> onSubmit;       // Enter in a single-line field
  std::function<void()> onFocusLost;
  std::function<bool(char32_t)> charFilter;  // false rejects a typed character
  std::function<bool()> capsLockState;  // how the Caps Lock hint reads the key (the desktop's by default)
  bool revealButton = true;
  bool imeOffForPassword = false;
  bool capsLockWarning = false;
  bool contextMenuEnabled = true;
  bool acceptsReturn = true;  // multi-line: Enter inserts a line break
  int visibleLines = 3;
  std::optional<TextStyle> styleOverride;
  std::optional<Color> textColourOverride;

  // --- Widget ---
  bool IsFocusable() const override;
  CursorKind Cursor() const override;
  std::string ToolTip() const override;
  std::string AccessibleName() const override;
  std::string ValueText() const override;
  bool SupportsValue() const override;
  bool IsReadOnly() const override;
  bool IsPassword() const override;
  bool SetValueText(const std::string& text) override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  void OnCaptureLost() override;
  bool OnWheel(const WheelEvent& event) override;
  bool OnKeyDown(const KeyEvent& event) override;
  bool OnChar(const CharEvent& event) override;
  bool OnIme(const ImeEvent& event) override;
  void OnFocusChanged(bool focused) override;
  bool AcceptsIme() const override;
  Rect CaretRect() const override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  void Paint(Canvas& canvas) override;
  void OnVisualStateChanged() override;
  void OnThemeChanged() override;
  void OnScaleChanged() override;
  void OnDetached() override;

 private:
  // After every edit, undo, paste and composition step: lay out, scroll, blink, notify.
  void Apply(const Models::EditResult& result, bool userEdit = true);
  void Validate();
  double NowMs() const;
  // Commits an open composition as typed text and tells the input method to forget it.
  void CommitComposition();
  // The input method forgets its composition: the field took it over or dropped it.
  void ForgetImeComposition();
  void RestartBlink();
  void StopBlink();
  bool ShowsRevealButton() const;
  bool ShowsCapsLockHint() const;
  bool CapsLockIsOn() const;
  TextStyle Style() const;
  std::string IncomingText(std::string_view text) const;

  // Keys.
  bool NavigationKey(const KeyEvent& event);
  bool EditingKey(const KeyEvent& event);
  bool CtrlKey(const KeyEvent& event);
  void MoveCaret(size_t position, bool extend);
  size_t VerticalTarget(int lines);
  size_t LineEdge(bool end);
  int PageLines();

  // Layout and geometry (text_box_layout.cpp).
  const TextLayout& Layout();
  Rect ContentRect() const;
  float TextTop() const;
  float CapsLockHintWidth();
  Rect RevealButtonRect() const;
  TextLayout::CaretHit CaretHit();
  void ScrollToCaret();
  size_t HitPosition(Point local);

  // Painting (text_box_paint.cpp).
  void PaintSelection(Canvas& canvas, const Theme& theme, Point origin);
  void PaintComposition(Canvas& canvas, const Theme& theme, Point origin, Color textColour);
  void PaintCaret(Canvas& canvas, Point origin, Color textColour);
  void PaintScrollIndicator(Canvas& canvas, const Theme& theme);
  void PaintRevealButton(Canvas& canvas, const Theme& theme);
  void PaintCapsLockHint(Canvas& canvas, const Theme& theme);

  Models::TextEditModel model_;
  std::string placeholder_;
  std::string errorText_;
  bool multiLine_ = false;
  bool selectingWithPointer_ = false;
  bool revealPressed_ = false;
  bool rightPressed_ = false;
  bool caretVisible_ = true;
  uint64_t blinkTimer_ = 0;
  float leftInset_ = 0;
  float rightInset_ = 0;
  float scrollX_ = 0;
  float scrollY_ = 0;
  float desiredX_ = -1;
  bool verticalMove_ = false;
  float capsLockHintWidth_ = -1;
  TextLayout layout_;
  bool layoutDirty_ = true;
  std::unique_ptr<ContextMenu> editMenu_;
};

}  // namespace Quarlo::Widget::Input
