// The probe's menus and menu-like controls, and the trace lines they write.

#include "toolkit_probe_menus.h"

#include <fmt/format.h>

#include <string>
#include <vector>

#include "core/trace.h"
#include "widget/application.h"
#include "widget/border.h"
#include "widget/input/button.h"
#include "widget/input/combo_box.h"
#include "widget/input/label.h"
#include "widget/input/toolbar.h"
#include "widget/input/tooltip.h"
#include "widget/stack.h"
#include "widget/theme.h"

using namespace Quarlo::Widget;
using namespace Quarlo::Widget::Input;
using Quarlo::View::Trace;

namespace {

std::vector<MenuItem> ProbeMenu() {
  return {MenuItem::Command(1, "&Open", "Ctrl+O", 0xE8E5), MenuItem::Command(2, "&Save a copy", "Ctrl+S"),
          MenuItem::Separator(),
          MenuItem::Submenu(
              3, "&View", {}, 0,
              {MenuItem::Radio(31, "&Single page", {}, 0, 1, true),
               MenuItem::Radio(32, "&Two pages", {}, 0, 1, false), MenuItem::Command(33, "&Webtoon strip")}),
          MenuItem::Check(4, "&Full screen", "F11", 0, false)};
}

std::vector<ToolbarItem> ProbeToolbar() {
  const auto item = ToolbarItem::Make;
  ToolbarItem rotate = item(ToolbarItemKind::Split, 5, "&Rotate", 0xE7A6);
  rotate.menu = {MenuItem::Command(51, "Rotate &left"), MenuItem::Command(52, "Rotate &right")};
  ToolbarItem view = item(ToolbarItemKind::DropDown, 6, "&View", 0xE736);
  view.showLabel = true;
  view.menu = ProbeMenu()[3].children;
  return {item(ToolbarItemKind::Button, 1, "&Open", 0xE8E5),
          item(ToolbarItemKind::Button, 2, "&Delete", 0xE74D),
          item(ToolbarItemKind::Separator, 0, {}, 0),
          item(ToolbarItemKind::Toggle, 3, "&Full screen", 0xE740),
          rotate,
          view,
          item(ToolbarItemKind::Button, 7, "&Information", 0xE946)};
}

}  // namespace

MenuProbe::MenuProbe(Window& main) : main_(main) {
  menu_.items = ProbeMenu();
  menu_.onInvoked = [](const MenuItem& item) {
    Trace(fmt::format("menu invoked {} checked {}", item.id, item.checked ? 1 : 0));
  };
  menu_.onClosed = [] { Trace("menu closed"); };
}

bool MenuProbe::OnKey(uint32_t key) {
  const Rect client = main_.ClientScreenRect();
  switch (key) {
    case 'M':
      menu_.ShowAt(main_, static_cast<int>(client.x) + 40, static_cast<int>(client.y) + 40, true);
      Trace("menu open keyboard");
      return true;
    case 'E': {
      const Rect work = Window::WorkAreaFor(client);
      menu_.ShowAt(main_, static_cast<int>(work.Right()) - 40, static_cast<int>(client.y) + 40, true);
      Trace("menu open edge");
      return true;
    }
    case 'W':
      OpenControls();
      return true;
    case 'T':
      dark_ = !dark_;
      Application::Instance().SetThemeMode(dark_ ? ThemeMode::Dark : ThemeMode::Light);
      return true;
    default:
      return false;
  }
}

void MenuProbe::OnRightClick(Point screen) {
  menu_.ShowAt(main_, static_cast<int>(screen.x), static_cast<int>(screen.y), false);
  Trace("menu open pointer");
}

void MenuProbe::OpenControls() {
  if (!controls_) {
    controls_ = std::make_unique<Window>();
    WindowOptions& options = controls_->Options();
    options.title = "Probe Controls";
    options.size = Size{420, 220};
    options.hasPosition = true;
    options.position = Point{560, 100};
    auto page = std::make_unique<Border>();
    page->SetBackground(BackgroundKind::Window);
    page->SetPadding(12, 12, 12, 12);
    auto stack = std::make_unique<Stack>(true, 12);
    auto* toolbar = stack->AddChild(std::make_unique<Toolbar>());
    toolbar->SetItems(ProbeToolbar());
    toolbar->onCommand = [](int32_t id, bool checked) {
      Trace(fmt::format("toolbar command {} {}", id, checked ? 1 : 0));
    };
    auto* combo = stack->AddChild(std::make_unique<ComboBox>());
    combo->SetItems({"Apple", "Apricot", "Banana", "Blueberry", "Cherry", "Date", "Elderberry", "Fig",
                     "Grape", "Guava", "Kiwi"});
    combo->SetSelected(0);
    combo->SetHorizontalAlignment(Alignment::Start);
    combo->SetWidth(200);
    combo->SetOnSelectionChanged([combo](int index) {
      Trace(fmt::format("combo selected {} {}", index, combo->Items()[static_cast<size_t>(index)]));
    });
    auto tip = std::make_unique<Button>("Hover for a tooltip");
    tip->toolTip = "A tooltip shows after the pointer rests for half a second, and wraps when it is long.";
    tip->SetHorizontalAlignment(Alignment::Start);
    stack->AddChild(std::move(tip));
    page->AddChild(std::move(stack));
    controls_->SetRoot(std::move(page));
    InstallTooltips(*controls_, TooltipOptions{320, 4, 12, 20});
    if (!controls_->Create(options)) {
      Trace("controls failed");
      return;
    }
    combo->Focus(FocusReason::Keyboard);
  }
  controls_->Show(true);
  Trace("controls open");
}
