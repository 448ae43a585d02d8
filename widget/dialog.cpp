// Modal dialogs: centred over the owner inside the work area, the owner disabled while the nested loop
// runs, Enter and Escape mapped to the default and cancel widgets.

#include <cmath>

#include "widget/application.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/window.h"
#include "widget/window_placement.h"

namespace Quarlo::Widget {
namespace {

// The result of a dialog that was closed rather than answered.
constexpr int kClosedResult = 2;

Widget* Target(const std::shared_ptr<Detail::WidgetLink>& link) { return link ? link->widget : nullptr; }

}  // namespace

Dialog::Dialog() = default;

Dialog::~Dialog() {
  // A dialog destroyed while its loop runs must not leave the owner disabled.
  if (modal_) {
    if (Window* owner = Window::FromHandle(owner_)) owner->SetInputEnabled(true);
  }
}

void Dialog::AdjustOptions(WindowOptions& options) {
  options.resizable = false;
  options.minimizable = false;
  options.maximizable = false;
}

bool Dialog::PreTranslateInput(const WindowInput& input) {
  if (input.kind == WindowInput::Kind::CloseRequest && modal_) {
    EndModal(kClosedResult);
    return true;
  }
  return false;
}

void Dialog::SetDefaultButton(Widget* button) {
  Widget* old = Target(defaultButton_);
  defaultButton_ = button ? button->Link() : nullptr;
  if (old) old->InvalidateVisual();
  if (button) button->InvalidateVisual();
}

void Dialog::SetCancelButton(Widget* button) { cancelButton_ = button ? button->Link() : nullptr; }

bool Dialog::OnUnhandledKey(const KeyEvent& event) {
  if (event.modifiers != 0) return false;
  if (event.key == Vk::Enter) {
    Widget* button = Target(defaultButton_);
    if (!button || !button->IsEnabledInTree()) return false;
    button->Invoke();
    return true;
  }
  if (event.key == Vk::Escape) {
    Widget* button = Target(cancelButton_);
    if (button && button->IsEnabledInTree()) {
      button->Invoke();
    } else {
      EndModal(kClosedResult);
    }
    return true;
  }
  return false;
}

void Dialog::EndModal(int result) {
  if (!modal_ || closing_) return;
  result_ = result;
  closing_ = true;
  // Application::RunUntil re-checks its condition when woken; a posted no-op wakes it.
  Application::Instance().Post([] {});
}

int Dialog::ShowModal(NativeHandle owner) {
  owner_ = owner;
  Options().owner = owner;
  if (!Handle() && !Create(Options())) return kClosedResult;
  if (Root()) SizeToContent(Options().size.width);
  // A parked dialog stays where creation put it, off screen with its owner.
  if (!Options().hasPosition && !Application::Instance().Options().parkWindows) {
    const Rect client = ClientScreenRect();
    const Rect anchor = owner ? ScreenRectOf(owner) : WorkAreaFor(client);
    const Point at = CentreInWorkArea(anchor, Size{client.width, client.height}, WorkAreaFor(anchor));
    MoveTo(at);
  }
  modal_ = true;
  closing_ = false;
  result_ = kClosedResult;
  Window* ownerWindow = Window::FromHandle(owner);
  if (ownerWindow) ownerWindow->SetInputEnabled(false);
  if (!Focused()) {
    Widget* button = Target(defaultButton_);
    if (!button || !SetFocus(button, FocusReason::Programmatic)) MoveFocus(true);
  }
  Show(Options().activateOnShow);
  std::weak_ptr<const char> alive = AliveToken();
  Application::Instance().RunUntil([&] { return alive.expired() || closing_; });
  if (alive.expired()) return kClosedResult;
  // The owner may have been destroyed while the dialog ran.
  Window* stillThere = Window::FromHandle(owner);
  if (stillThere) stillThere->SetInputEnabled(true);
  modal_ = false;
  const bool wasActive = IsActive();
  Hide();
  // The keyboard goes back to the owner, which window managers do for their own and a bare X server not.
  if (stillThere && wasActive && stillThere->IsShown()) stillThere->Show(true);
  return result_;
}

}  // namespace Quarlo::Widget
