#pragma once
// The direction of sliders and separators.

#include <cstdint>

namespace Quarlo::Widget::Input {

enum class ControlOrientation : int32_t { Horizontal = 0, Vertical = 1 };

}  // namespace Quarlo::Widget::Input
