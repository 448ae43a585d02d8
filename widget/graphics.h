#pragma once
// Process-wide drawing set-up. Drawing is done in software (Cairo image surfaces), so there is no graphics
// device to create, lose or release; QUARLO_WIDGET_FORCE_WARP is accepted and changes nothing. What is worth
// doing ahead of the first paint is loading the fonts.

namespace Quarlo::Widget {

// Loads the font configuration and the UI and icon fonts on a short-lived background thread (at most once per
// process). Called by the application during initialisation when prewarming is requested.
void PrewarmGraphics();
// Waits for that thread to end; a no-op when none was started. Called by Application::Finish.
void FinishPrewarmGraphics();

}  // namespace Quarlo::Widget
