#pragma once
// The About dialog: the program's name and version, what it is, and the open-source components it uses.

#include <memory>

#include "widget/links.h"

namespace Quarlo::Widget::Kit {
class DialogBuilder;
}

namespace App {

// The version the About dialog shows.
inline constexpr const char* kProgramVersion = "0.1.0";

std::unique_ptr<Quarlo::Widget::Kit::DialogBuilder> BuildAboutDialog();
// Shows the dialog over owner until it is closed.
void ShowAboutDialog(Quarlo::Widget::NativeHandle owner);

}  // namespace App
