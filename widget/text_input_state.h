#pragma once
// What text fields ask the desktop while they run: how fast the caret blinks and whether Caps Lock is on.
// The backend the build compiles answers (widget/detail/); without a display the caret blinks at the
// usual rate and Caps Lock reads off.

namespace Quarlo::Widget::Detail {

// Milliseconds between two blink phases of the caret; 0 when the desktop asks for a steady caret.
double CaretBlinkMs();
// Whether Caps Lock is on now.
bool CapsLockOn();

}  // namespace Quarlo::Widget::Detail
