#pragma once
// The process-wide settings of the dialog helpers, set once by the application at start-up: hooks that see
// every dialog the helpers make, before its window exists and once it exists.

#include <functional>
#include <string>

namespace Quarlo::Widget {
class Window;
struct WindowOptions;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Kit {

struct KitSettings {
  // RunDialog calls this with each dialog's options just before its window is created (the screenshot run
  // places dialogs off screen).
  std::function<void(WindowOptions&)> adjustDialogOptions;
  // RunDialog calls this once a dialog's window exists and before it runs modally (the screenshot run
  // captures it).
  std::function<void(Window&, const std::string& title)> onDialogShown;
  // RunDialog calls this on each new dialog window to give it the application's tooltip presenter.
  std::function<void(Window&)> installToolTips;
};

// The one record; the application fills it on the user-interface thread before it shows any dialog.
KitSettings& SettingsRecord();

}  // namespace Quarlo::Widget::Kit
