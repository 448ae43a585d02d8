#pragma once
// Tooltips: the host decides when one shows (Host::SetToolTipHandler); the presenter installed here shows
// its text in a small popup near the pointer and hides it again after a time that grows with its length.

#include <cstdint>
#include <string_view>

#include "widget/window.h"

namespace Quarlo::Widget::Input {

struct TooltipOptions {
  float maxWidth = 320;    // DIPs; longer texts wrap
  double baseSeconds = 4;  // a tooltip stays this long plus 0.05 s per character, at most 30 s
  int32_t offsetX = 12;    // screen pixels from the pointer
  int32_t offsetY = 20;
};

// The window a tooltip's text shows in: never activated, and the pointer passes through it.
class TipPopup : public Popup {
 public:
  TipPopup();
};

// Gives the window's tooltip handler a presenter; its popup is made on the first tooltip and reused.
void InstallTooltips(Window& window, const TooltipOptions& options);

// How long a tooltip with this text stays: min(baseSeconds + 0.05 × characters, 30) seconds.
double TooltipSeconds(std::string_view text, double baseSeconds);

}  // namespace Quarlo::Widget::Input
