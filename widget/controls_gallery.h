#pragma once
// A page of every leaf control in its states (on, off, mixed, disabled, keyboard focus, access keys shown),
// with English and Korean texts. The screenshot run writes it in the light, dark and high-contrast themes at
// 100 % and 200 % for people to look at.

#include <memory>
#include <string>

#include "widget/geometry.h"

namespace Quarlo::Widget {
class Host;
class Widget;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Detail {

// The page's size in DIPs.
Size ControlsGallerySize();
// Builds the page.
std::unique_ptr<Widget> MakeControlsGallery();
// Shows the page in host with the keyboard focus on one of its buttons and access keys underlined.
void ShowControlsGallery(Host& host);
// Writes "controls-light-100.png", "controls-dark-200.png", "controls-contrast-100.png" and the other three
// into an existing folder; false when a file could not be written.
bool WriteControlsShots(const std::string& folder);

}  // namespace Quarlo::Widget::Detail
