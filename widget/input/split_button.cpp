// Split and drop-down buttons: their parts, and their menus opened below them.

#include "widget/input/split_button.h"

#include <algorithm>
#include <memory>

#include "widget/toolkit_language.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kArrowWidth = 24;
constexpr float kArrowGlyphSize = 10;
constexpr char32_t kChevronDown = 0xE70D;
constexpr int32_t kExpandStateCollapsed = 1;

// The "More options" text without its access-key marker: a name, not a label.
std::string MoreOptionsName() { return ParseAccessKey(ToolkitString(ToolkitText::MoreOptions)).display; }

}  // namespace

// --- SplitButton ---

SplitButton::SplitButton(const std::string& text, char32_t icon, ButtonStyle style) {
  role = Role::Group;
  auto primary = std::make_unique<Button>(text, style);
  primary->SetIcon(icon);
  primary->onClick = [this] {
    if (std::function<void()> callback = onClick) callback();
  };
  primary_ = AddChild(std::move(primary));
  auto arrow = std::make_unique<Button>(std::string(), style);
  arrow->SetIcon(kChevronDown);
  arrow->SetIconSize(kArrowGlyphSize);
  arrow->SetWidth(kArrowWidth);
  arrow->SetAccessibleName(MoreOptionsName());
  arrow->toolTip = MoreOptionsName();
  arrow->onClick = [this] { OpenMenu(false); };
  arrow_ = AddChild(std::move(arrow));
  menu_.onInvoked = [this](const MenuItem& item) {
    if (std::function<void(const MenuItem&)> callback = onMenuInvoked) callback(item);
  };
}

const char* SplitButton::ClassName() const { return "SplitButton"; }
bool SplitButton::IsHitTestVisible() const { return false; }

void SplitButton::OpenMenu(bool selectFirst) { menu_.ShowBelowWidget(*this, selectFirst); }

Size SplitButton::MeasureOverride(Size available) {
  const Size arrow = arrow_->Measure(Size{kArrowWidth, available.height});
  const Size primary =
      primary_->Measure(Size{std::max(0.0f, available.width - arrow.width), available.height});
  return Size{primary.width + arrow.width, std::max(primary.height, arrow.height)};
}

void SplitButton::ArrangeOverride(Size final) {
  const float arrow = std::min(kArrowWidth, final.width);
  primary_->Arrange(Rect{0, 0, final.width - arrow, final.height});
  arrow_->Arrange(Rect{final.width - arrow, 0, arrow, final.height});
}

// --- DropDownButton ---

DropDownButton::DropDownButton(const std::string& text, char32_t icon, ButtonStyle style)
    : Button(text, style) {
  SetIcon(icon);
  SetTrailingGlyph(kChevronDown);
  menu_.onInvoked = [this](const MenuItem& item) {
    if (std::function<void(const MenuItem&)> callback = onMenuInvoked) callback(item);
  };
  menu_.onClosed = [this] {
    RaiseAutomationEvent(AutomationEvent::ExpandCollapseChanged);
    InvalidateVisual();
  };
}

const char* DropDownButton::ClassName() const { return "DropDownButton"; }

void DropDownButton::Click() {
  Button::Click();
  SetExpanded(true);
}

int32_t DropDownButton::ExpandState() const {
  return menu_.IsOpen() ? kExpandStateExpanded : kExpandStateCollapsed;
}

bool DropDownButton::SetExpanded(bool expanded) {
  if (expanded == menu_.IsOpen()) return true;
  if (!expanded) {
    menu_.Close();
    return true;
  }
  menu_.ShowBelowWidget(*this, true);
  if (!menu_.IsOpen()) return false;
  RaiseAutomationEvent(AutomationEvent::ExpandCollapseChanged);
  return true;
}

}  // namespace Quarlo::Widget::Input
