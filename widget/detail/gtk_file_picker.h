#pragma once
// What the GTK chooser's answers mean to the toolkit, and the type-list patterns it is given; exposed so that
// the mapping is tested without showing a chooser.

#include <string>
#include <string_view>

#include "widget/file_picker.h"

namespace Quarlo::Widget::Detail {

// GTK_RESPONSE_ACCEPT is the only answer that chose something; every other one (cancel, Escape, the
// window's close button) is a cancel.
PickerOutcome OutcomeOfResponse(int response);

// A pattern that matches names whatever the case of their ASCII letters ("*.jpg" also matches
// "PHOTO.JPG"), as the desktop's own type lists do; GTK 3's patterns are case-sensitive.
std::string CaseInsensitivePattern(std::string_view pattern);

}  // namespace Quarlo::Widget::Detail
