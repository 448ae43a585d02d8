// Question and message dialogs on the standard dialog layout.

#include "widget/kit/message_dialogs.h"

#include <memory>

#include "widget/grid.h"
#include "widget/input/icon.h"
#include "widget/input/label.h"
#include "widget/kit/dialog_builder.h"
#include "widget/stack.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::Kit {
namespace {

constexpr float kQuestionWidth = 460;
constexpr float kMessageWidth = 420;
constexpr float kGlyphSize = 32;
constexpr float kGlyphGap = 16;
// Button i of a question ends the dialog with kFirstAnswer + i, clear of the closed result.
constexpr int kFirstAnswer = 1000;
constexpr int kOkResult = 1;

}  // namespace

MessageLook LookOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return {0xE946, TextTone::Accent};
    case MessageKind::Warning:
      return {0xE7BA, TextTone::Caution};
    case MessageKind::Error:
      return {0xEA39, TextTone::Critical};
    case MessageKind::Question:
      return {0xE897, TextTone::Accent};
    default:
      return {};
  }
}

void AddMessageRow(DialogBuilder& dialog, const std::string& message, MessageKind kind) {
  Grid* row = dialog.Content()->AddChild(std::make_unique<Grid>());
  row->AddColumn(TrackDefinition::Auto());
  row->AddColumn(TrackDefinition::Star(1));
  row->SetSpacing(0, kGlyphGap);
  const MessageLook look = LookOf(kind);
  if (look.glyph != 0) {
    Input::Icon* icon = row->AddChildAt(std::make_unique<Input::Icon>(look.glyph, kGlyphSize), 0, 0);
    icon->SetTone(look.tone);
    icon->SetVerticalAlignment(Alignment::Start);
  }
  Input::Label* text = row->AddChildAt(MakeLabel(message, true), 0, 1);
  text->SetVerticalAlignment(Alignment::Center);
}

int AskChoice(NativeHandle owner, const std::string& title, const std::string& message,
              const std::vector<std::string>& buttons, int defaultIndex, MessageKind kind) {
  DialogBuilder dialog(kQuestionWidth);
  AddMessageRow(dialog, message, kind);
  const int count = static_cast<int>(buttons.size());
  for (int i = 0; i < count; ++i) {
    dialog.AddButton(buttons[static_cast<size_t>(i)], kFirstAnswer + i, i == defaultIndex, i == count - 1);
  }
  const int index = dialog.RunDialog(owner, title) - kFirstAnswer;
  return index >= 0 && index < count ? index : -1;
}

void ShowMessage(NativeHandle owner, const std::string& title, const std::string& message) {
  DialogBuilder dialog(kMessageWidth);
  AddMessageRow(dialog, message, MessageKind::Error);
  dialog.AddButton(ToolkitString(ToolkitText::Ok), kOkResult, true, true);
  dialog.RunDialog(owner, title);
}

}  // namespace Quarlo::Widget::Kit
