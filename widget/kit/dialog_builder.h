#pragma once
// The dialog every application dialog is built on: a content column above a right-aligned row of buttons,
// with helpers that make the usual controls, and the modal runner that creates its window and runs it.

#include <cstdint>
#include <memory>
#include <string>

#include "widget/input/button.h"
#include "widget/input/label.h"
#include "widget/window.h"

namespace Quarlo::Widget {
class Grid;
class Stack;
namespace Input {
class CheckBox;
}
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Kit {

// What RunDialog returns when the window could not be created or was closed without an answer.
inline constexpr int kDialogClosed = 2;

class DialogBuilder : public Dialog {
 public:
  // width: the dialog's client width in DIPs; its height follows the content.
  explicit DialogBuilder(float width);

  // The vertical stack that receives the dialog's controls.
  Stack* Content() const { return content_; }
  // The horizontal stack of buttons at the bottom right.
  Stack* Buttons() const { return buttons_; }
  float DialogWidth() const { return width_; }

  // Appends a button to the button row. A result other than 0 ends the dialog with it; isDefault gives it
  // the accent look and Enter, isCancel gives it Escape.
  Input::Button* AddButton(const std::string& text, int32_t result, bool isDefault, bool isCancel,
                           Input::ButtonStyle style = Input::ButtonStyle::Standard);

  // Creates the window over owner with this title and runs it modally; the result of the button that ended
  // it, or kDialogClosed when the window could not be created or was closed.
  int RunDialog(NativeHandle owner, const std::string& title);

 private:
  float width_;
  Stack* content_ = nullptr;
  Stack* buttons_ = nullptr;
};

// Adds a check box to parent (null when parent is null).
Input::CheckBox* AddCheckBox(Widget* parent, const std::string& text, bool checked);
// A label on one line, or wrapped at words to the width it is given.
std::unique_ptr<Input::Label> MakeLabel(const std::string& text, bool wrap,
                                        Input::LabelStyle style = Input::LabelStyle::Body);
// A wrapping caption in the secondary tone: notes under a control.
std::unique_ptr<Input::Label> MakeCaption(const std::string& text);
// A grid of equal columns with as many rows as itemCount items need (a columns value below 1 counts as 1).
std::unique_ptr<Grid> MakeGrid(int columns, int itemCount);

}  // namespace Quarlo::Widget::Kit
