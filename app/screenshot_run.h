#pragma once
// The developer's screenshot run (QUARLO_VIEW_SHOTS): pictures of the toolkit's gallery and controls page
// and of the viewer window showing the first pictures of a path, in the light and the dark theme (the
// controls also in high contrast and at 200 %) and in both languages, written into a folder for people to
// look at.

#include <string>

namespace App {

class MainWindow;

// How many pictures of the path the run shows.
inline constexpr size_t kShotPictures = 3;
// How many pictures the image list's shot shows the start of.
inline constexpr size_t kShotListPictures = 500;

// Writes "gallery-light.png", "gallery-dark.png", the six "controls-<theme>-<scale>.png", and with a path
// "viewer-N-LANG-THEME.png" (N from 1, LANG "en" or "ko", THEME "light" or "dark") for the path's first
// pictures, "info-LANG-THEME-SCALE.png" (SCALE 100 or 200) with the info panel over the first of them that
// has camera data, "list-THEME.png" for the image list over a folder of kShotListPictures copies of the
// path's pictures (when they are files), and the chrome's, the dialogs' and the welcome panel's shots, into
// folder (created when missing). The toolkit is initialised and the viewer's window created. True when every
// picture was written.
bool RunScreenshots(const std::string& folder, const std::string& path, MainWindow& viewer);

}  // namespace App
