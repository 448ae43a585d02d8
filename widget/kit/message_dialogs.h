#pragma once
// The two ready-made dialogs: a question with a row of answers, and an error message with one OK button.
// Both show the message beside a glyph of their kind.

#include <cstdint>
#include <string>
#include <vector>

#include "widget/links.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Kit {

class DialogBuilder;

enum class MessageKind : int32_t { None = 0, Information = 1, Warning = 2, Error = 3, Question = 4 };

// The glyph and tone a kind shows its message with (glyph 0 for None).
struct MessageLook {
  char32_t glyph = 0;
  TextTone tone = TextTone::Primary;
};
MessageLook LookOf(MessageKind kind);

// Adds the glyph of kind and the wrapping message beside it to the dialog's content.
void AddMessageRow(DialogBuilder& dialog, const std::string& message, MessageKind kind);

// Asks a question with one button per text (in order; "&" marks access keys). The button at defaultIndex
// is the default (none when it lies outside the list) and the last one answers Escape. Returns the index of
// the button chosen, or -1 when the dialog was closed without one or could not be shown.
int AskChoice(NativeHandle owner, const std::string& title, const std::string& message,
              const std::vector<std::string>& buttons, int defaultIndex, MessageKind kind);

// Shows an error message with the toolkit's OK button.
void ShowMessage(NativeHandle owner, const std::string& title, const std::string& message);

}  // namespace Quarlo::Widget::Kit
