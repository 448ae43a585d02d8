#pragma once
// The "Go to number" dialog: asks for the number of a picture in the open list.

#include <cstdint>
#include <optional>

#include "widget/links.h"

namespace App {

// Shows the dialog modally over owner with a number box from 1 to count that starts at current. The number
// chosen with "Go" (within 1..count, whole), or nothing when the dialog was cancelled or closed.
std::optional<uint64_t> AskPictureNumber(Quarlo::Widget::NativeHandle owner, uint64_t count,
                                         uint64_t current);

}  // namespace App
