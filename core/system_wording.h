#pragma once
// The one place that says how texts written for Windows name this system's facilities instead:
// Windows itself, File Explorer, the Recycle Bin, the Microsoft Store and the Default apps page.

#include <span>
#include <string>
#include <string_view>

namespace Quarlo::View {

struct WordingChange {
  std::string_view from;  // the Windows wording, matched exactly
  std::string_view to;    // this system's wording
};

// The changes for one language in the order they apply: whole phrases before the words inside them.
std::span<const WordingChange> SystemWording(bool korean);

// The text with every change of SystemWording(korean) applied to every occurrence. In English a
// replacement that starts a text or a sentence gets a capital letter ("Windows lets" -> "The system
// lets"). The string table calls it once per text when it is built.
std::string ApplySystemWording(std::string_view text, bool korean);

}  // namespace Quarlo::View
