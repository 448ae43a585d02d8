// CheckBox: the state cycle and the box with its check mark or indeterminate bar.

#include "widget/input/check_box.h"

#include "widget/canvas.h"
#include "widget/control_paint.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr char32_t kCheckMarkGlyph = 0xE73E;
constexpr float kCheckMarkSize = 12;
// The indeterminate bar inside the box.
constexpr Rect kIndeterminateBar{6, 9, 8, 2};
constexpr float kIndeterminateRadius = 1;

}  // namespace

CheckBox::CheckBox(const std::string& text) : ChoiceButton(text, Role::CheckBox) {}

void CheckBox::SetState(CheckState state) {
  if (state == state_) return;
  state_ = state;
  ShowToggleState();
  if (onStateChanged) {
    auto callback = onStateChanged;
    callback(state);
  }
}

void CheckBox::Click() {
  if (!IsEnabledInTree()) return;
  switch (state_) {
    case CheckState::Unchecked:
      SetState(CheckState::Checked);
      break;
    case CheckState::Checked:
      SetState(threeState ? CheckState::Indeterminate : CheckState::Unchecked);
      break;
    default:
      SetState(CheckState::Unchecked);
      break;
  }
}

int32_t CheckBox::ToggleState() const {
  switch (state_) {
    case CheckState::Checked:
      return kToggleStateOn;
    case CheckState::Indeterminate:
      return kToggleStateIndeterminate;
    default:
      return kToggleStateOff;
  }
}

const char* CheckBox::ClassName() const { return "CheckBox"; }
bool CheckBox::IsOn() const { return state_ != CheckState::Unchecked; }

void CheckBox::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const ControlColors colors = CurrentColors();
  const Rect box = BoxRect();
  canvas.FillRoundedRect(box, theme.cornerRadius, colors.background);
  if (IsVisibleBorder(colors.border)) {
    canvas.StrokeRoundedRect(box, theme.cornerRadius, colors.border, HairlineWidth(canvas.Scale()));
  }
  if (state_ == CheckState::Checked) {
    canvas.DrawIcon(kCheckMarkGlyph, box, kCheckMarkSize, colors.foreground);
  } else if (state_ == CheckState::Indeterminate) {
    const Rect bar{box.x + kIndeterminateBar.x, box.y + kIndeterminateBar.y, kIndeterminateBar.width,
                   kIndeterminateBar.height};
    canvas.FillRoundedRect(bar, kIndeterminateRadius, colors.foreground);
  }
  PaintText(canvas);
}

}  // namespace Quarlo::Widget::Input
