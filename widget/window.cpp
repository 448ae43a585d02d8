// The portable part of Window: its default virtual operations, theme refresh and the close sequence. The
// native window itself is in widget/detail/native_window.cpp.

#include "widget/window.h"

#include "widget/theme.h"

namespace Quarlo::Widget {

bool Window::PreTranslateInput(const WindowInput&) { return false; }
void Window::AdjustOptions(WindowOptions&) {}
bool Window::IsPopup() const { return false; }
void Window::OnCreated() {}
void Window::OnClose() {}

void Window::SetThemeProvider(std::function<Theme()> provider) {
  themeProvider_ = std::move(provider);
  SetTheme(themeProvider_ ? themeProvider_() : ThemeForCurrentMode());
}

void Window::RefreshTheme() {
  if (!options_.followSystemTheme) return;
  SetTheme(themeProvider_ ? themeProvider_() : ThemeForCurrentMode());
}

void Window::HandleCloseRequest() {
  std::weak_ptr<const char> alive = AliveToken();
  OnClose();
  if (alive.expired()) return;
  if (closeQuery_ && !closeQuery_()) return;
  if (alive.expired()) return;
  Destroy();
}

}  // namespace Quarlo::Widget
