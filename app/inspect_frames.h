#pragma once
// The frame lines of quarloview-inspect's --frames option.

#include <string>

namespace Quarlo::View {
struct LoadedPicture;
}

namespace App {

// Called by quarloview-inspect after each item line when --frames is given: one line per decoded
// frame, "\t<index>\t<delay ms>\t<1 when the frame memory cap cut the animation short, else 0>\n".
// A picture that failed to decode has no frames and so no lines.
std::string FrameLines(const Quarlo::View::LoadedPicture& picture);

}  // namespace App
