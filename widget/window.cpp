// The portable part of Window: its default virtual operations, the requests it passes to its native
// window, theme refresh, painting and the close sequence. The native window is behind INativeWindow.

#include "widget/window.h"

#include <algorithm>
#include <vector>

#include "widget/canvas.h"
#include "widget/input/events.h"
#include "widget/input/ime_composition.h"
#include "widget/loop_backend.h"
#include "widget/native_window.h"
#include "widget/theme.h"

namespace Quarlo::Widget {
namespace {

// Never destroyed: a window that outlives the static objects (one held by a task still queued when the
// process ends) still takes itself off the list on its way out.
std::vector<Window*>& AllWindows() {
  static auto* windows = new std::vector<Window*>;
  return *windows;
}

// The first window makes the application-wide theme choice reach every window.
void InstallThemeRefresh() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  SetThemeRefreshHandler([] { Detail::RefreshWindowThemes(); });
}

}  // namespace

namespace Detail {

void RefreshWindowThemes() {
  // Copy: a theme change may open or close windows.
  const std::vector<Window*> windows = AllWindows();
  for (Window* w : windows) {
    if (std::find(AllWindows().begin(), AllWindows().end(), w) != AllWindows().end()) w->RefreshTheme();
  }
}

}  // namespace Detail

Window::Window() : native_(CreateNativeWindow(*this)) {
  InstallThemeRefresh();
  AllWindows().push_back(this);
}

Window::~Window() {
  std::erase(AllWindows(), this);
  if (auto link = Link()) {
    link->window = nullptr;
    link->handle = nullptr;
  }
  closeQuery_ = nullptr;
  onDestroyed_ = nullptr;
  native_->DestroySilently();
  native_.reset();
}

bool Window::PreTranslateInput(const WindowInput&) { return false; }
void Window::AdjustOptions(WindowOptions&) {}
bool Window::IsPopup() const { return false; }
void Window::OnCreated() {}
void Window::OnClose() {}

// --- Host overrides ---

void Window::SetTheme(const Theme& theme) {
  Host::SetTheme(theme);
  native_->SetFrameDark(theme.mode != ThemeKind::Light);
}

Point Window::WindowToScreen(Point window) const { return native_->WindowToScreen(window); }
void Window::RequestRepaint() { native_->Invalidate(); }
void Window::SetNativeCapture(bool capture) { native_->SetCapture(capture); }
void Window::SetTimerDelay(double seconds) { native_->ArmTimer(seconds); }

void Window::OnFocusChanged() {
  const Widget* focused = Focused();
  native_->SetImeTarget(focused && focused->AcceptsIme(), ImeCaretRect());
}

// --- Operations ---

bool Window::Create(const WindowOptions& options) {
  if (Handle()) return true;
  options_ = options;
  AdjustOptions(options_);
  if (!native_->Create()) return false;
  auto link = Link();
  link->window = this;
  link->handle = native_->Handle();
  if (options_.followSystemTheme) {
    RefreshTheme();
  } else {
    native_->SetFrameDark(GetTheme().mode != ThemeKind::Light);
  }
  OnFocusChanged();
  OnCreated();
  return true;
}

void Window::Show(bool activate) { native_->Show(activate); }
void Window::Hide() { native_->Hide(); }
bool Window::IsShown() const { return native_->IsVisible(); }

void Window::RequestClose() {
  if (Handle()) HandleCloseRequest();
}

void Window::Destroy() {
  if (Handle()) native_->Destroy();
}

void Window::NativeDestroyed() {
  if (auto link = Link()) link->handle = nullptr;
  // The callback may destroy this window; it runs from a copy.
  std::function<void()> callback = onDestroyed_;
  if (callback) callback();
}

void Window::SetTitle(const std::string& title) {
  options_.title = title;
  native_->SetTitle(title);
}

void Window::SizeToContent(float width) {
  if (!Root()) return;
  Root()->Measure(Size{width, kUnbounded});
  ResizeClient(Root()->DesiredSize());
}

NativeHandle Window::Handle() const { return native_->Handle(); }
void Window::MoveTo(Point screen) { native_->MoveTo(screen); }
void Window::ResizeClient(Size size) { native_->ResizeClient(size); }
Rect Window::ClientScreenRect() const { return native_->ClientScreenRect(); }
Point Window::ScreenToWindow(Point screen) const { return native_->ScreenToWindow(screen); }

void Window::SetFullScreen(bool fullScreen) {
  if (fullScreen == fullScreen_) return;
  fullScreen_ = fullScreen;
  native_->SetFullScreen(fullScreen);
}

void Window::SetMaximized(bool maximized) { native_->SetMaximized(maximized); }

bool Window::IsMaximized() const { return native_->IsMaximized(); }

void Window::SetTopmost(bool topmost) {
  options_.topmost = topmost;
  native_->SetTopmost(topmost);
}

void Window::SetInputEnabled(bool enabled) {
  inputEnabled_ = enabled;
  if (!enabled && Captured()) ReleasePointerCapture(Captured());
}

Rect Window::WorkAreaFor(Rect rect) { return NativeWorkAreaFor(rect); }
Rect Window::ScreenRectOf(NativeHandle handle) { return NativeScreenRectOf(handle); }

Window* Window::FromHandle(NativeHandle handle) {
  // Searched in the list of live windows rather than read from the handle, which may already be gone.
  if (!handle) return nullptr;
  for (Window* w : AllWindows()) {
    if (w->Handle() == handle) return w;
  }
  return nullptr;
}

// --- What the native window calls ---

void Window::Paint(Canvas& canvas) {
  UpdateLayout();
  const bool clear = options_.chrome == WindowChrome::Borderless && options_.transparent;
  canvas.Clear(clear
                   ? Color{0, 0, 0, 0}
                   : GetTheme().Get(IsPopup() ? ThemeColor::PopupBackground : ThemeColor::WindowBackground));
  RenderTree(canvas);
}

CursorKind Window::CurrentCursor() const {
  const Widget* over = Captured() ? Captured() : Hovered();
  return over && over->IsEnabledInTree() ? over->Cursor() : CursorKind::Arrow;
}

bool Window::Composition(const ImeEvent& event) {
  const Widget* focused = Focused();
  return focused && focused->AcceptsIme() && Ime(event);
}

bool Window::CommitText(std::string_view text) {
  std::weak_ptr<const char> alive = AliveToken();
  bool handled = false;
  for (char32_t c : Input::CodePointsOf(text)) {
    CharEvent e;
    e.codePoint = c;
    handled = Char(e) || handled;
    // A character that closed the window ends the text.
    if (alive.expired()) return true;
  }
  return handled;
}

Rect Window::ImeCaretRect() const {
  const Widget* focused = Focused();
  if (!focused || !focused->AcceptsIme()) return {};
  const Rect caret = focused->CaretRect();
  const Point origin = focused->LocalToWindow(Point{caret.x, caret.y});
  return Rect{origin.x, origin.y, caret.width, caret.height};
}

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
