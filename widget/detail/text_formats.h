#pragma once
// Fonts for the toolkit's text: the desktop's UI family, the icon family, the process-wide cache of font
// descriptions keyed by family, size, weight, style and locale, and the Pango context layouts are made in.

#include <pango/pango.h>

#include <string>

#include "widget/canvas.h"

namespace Quarlo::Widget::Detail {

// The family names used when the style names none: the desktop's UI font first, then generic fallbacks
// (fontconfig fills in Hangul and other scripts the first family lacks).
const std::string& TextFamily();
// Family of the icon glyphs DrawIcon draws.
inline constexpr const char* kIconFamily = "Material Icons";

// "family|size|weight|italic|locale", the identity of one cached format.
std::string TextFormatKey(const TextStyle& style, const std::string& locale);
// The locale tag text follows: the toolkit language's, else the user's (from LC_ALL, LC_MESSAGES, LANG).
std::string TextLocale();

// A cached font description for the style (owned by the cache), or null for a size that is not a positive
// number up to 4096. Called when layouts are made.
const PangoFontDescription* TextFormat(const TextStyle& style);
// The icon font at a size (null like TextFormat).
const PangoFontDescription* IconFormat(float size);
// Number of distinct formats cached so far (tests check that equal styles share one).
size_t TextFormatCount();

// The context every layout of the user-interface thread is made in: DIP units, grayscale antialiasing,
// unhinted metrics so that layouts keep their size at every scale.
PangoContext* UiContext();

// Loads the font configuration and the UI and icon fonts on a short-lived background thread, at most once,
// so the first paint does not wait for fontconfig. Called by the application at start-up.
void PrewarmText();
// Waits for that thread (at once when none runs). Called before the process ends.
void FinishPrewarmText();

}  // namespace Quarlo::Widget::Detail
