#pragma once
// What the desktop says about appearance: the UI font, the light/dark preference, high contrast and the
// accent colour. Read from GTK's settings when GTK runs, else from the desktop portal, GNOME's settings
// and GTK's settings.ini, so that tests without a display see the same answers as the program.

#include <functional>
#include <optional>
#include <string>

#include "widget/color.h"

namespace Quarlo::Widget::Detail {

// Family of the desktop's UI font (gtk-font-name without its size); empty when the desktop names none.
std::string DesktopFontFamily();
// True when the desktop asks applications for a dark appearance.
bool DesktopPrefersDark();
// True when the desktop's high-contrast accessibility setting is on.
bool DesktopHighContrast();
// The desktop's accent colour, when it has one.
std::optional<Color> DesktopAccentColor();

// Calls changed, on the thread that runs the default main context, whenever GNOME's colour scheme,
// high-contrast or accent setting changes, or the desktop portal announces an appearance change. GTK's own
// settings are watched by the application loop. Called once by the application; a later call replaces the
// callback.
void WatchDesktopAppearance(std::function<void()> changed);

// Reads a GTK setting from settings.ini in the given GTK configuration folder ("gtk-3.0" below the user's
// configuration home); empty when it is not set there.
std::string GtkIniSetting(const std::string& configHome, const char* key);

}  // namespace Quarlo::Widget::Detail
