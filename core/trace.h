#pragma once
// The trace facility: one plain UTF-8 line per event, appended to the file that QUARLO_VIEW_TRACE
// names. Automated tests read these lines, so their wording is part of the program's interface.

#include <string_view>

namespace Quarlo::View {

// Appends text and a line feed to the trace file; does nothing when tracing is off. Safe from any
// thread: whole lines are serialised. A file that cannot be opened is ignored.
void Trace(std::string_view text);

// Same, to an explicit file (empty: nothing). Trace() calls this with the switch's value.
void TraceTo(const std::string& file, std::string_view text);

}  // namespace Quarlo::View
