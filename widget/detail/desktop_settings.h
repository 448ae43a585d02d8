#pragma once
// The GTK backend of the desktop settings (widget/desktop_settings.h): read from GTK's settings when GTK
// runs, else from the desktop portal, GNOME's settings and GTK's settings.ini, so that tests without a
// display see the same answers as the program. Also how the backend learns that they changed.

#include <functional>
#include <string>

#include "widget/desktop_settings.h"

namespace Quarlo::Widget::Detail {

// Calls changed, on the thread that runs the default main context, whenever GNOME's colour scheme,
// high-contrast or accent setting changes, or the desktop portal announces an appearance change. GTK's own
// settings are watched by the application loop. Called once by the application; a later call replaces the
// callback.
void WatchDesktopAppearance(std::function<void()> changed);

// Reads a GTK setting from settings.ini in the given GTK configuration folder ("gtk-3.0" below the user's
// configuration home); empty when it is not set there.
std::string GtkIniSetting(const std::string& configHome, const char* key);

}  // namespace Quarlo::Widget::Detail
