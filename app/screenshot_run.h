#pragma once
// The developer's screenshot run (QUARLO_VIEW_SHOTS): opens a gallery window of the toolkit's drawing and
// writes pictures of it in the light and the dark theme into a folder, then pictures of the controls page in the
// light, dark and high-contrast themes at 100 % and 200 %, for people to look at.

#include <string>

namespace App {

// Initialises the toolkit, shows the gallery window and writes "gallery-light.png" and "gallery-dark.png"
// and the six "controls-<theme>-<scale>.png" into folder (created when missing). Returns the process exit
// code: 0 when every picture was written.
int RunScreenshots(const std::string& folder);

}  // namespace App
