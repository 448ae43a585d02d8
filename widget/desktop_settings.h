#pragma once
// What the desktop says about appearance: the UI font, the light/dark preference, high contrast and the
// accent colour. The theme asks these; the backend the build compiles answers them (widget/detail/), and no
// platform type appears here.

#include <optional>
#include <string>

#include "widget/color.h"

namespace Quarlo::Widget::Detail {

// Family of the desktop's UI font (without its size); empty when the desktop names none.
std::string DesktopFontFamily();
// True when the desktop asks applications for a dark appearance.
bool DesktopPrefersDark();
// True when the desktop's high-contrast accessibility setting is on.
bool DesktopHighContrast();
// The desktop's accent colour, when it has one.
std::optional<Color> DesktopAccentColor();

}  // namespace Quarlo::Widget::Detail
