// Widget: the default answers of the virtual operations (accessibility, input and notifications).
// Subclasses override what they support; the defaults describe a structural, inert widget.

#include <utility>

#include "widget/input/events.h"
#include "widget/widget.h"

namespace Quarlo::Widget {

bool Widget::IsFocusable() const { return false; }
bool Widget::IsTabStop() const { return tabStop; }
char16_t Widget::AccessKey() const { return 0; }
CursorKind Widget::Cursor() const { return CursorKind::Arrow; }
std::string Widget::ToolTip() const { return toolTip; }

Quarlo::Widget::Role Widget::Role() const { return role; }
std::string Widget::AccessibleName() const { return accessibleName; }
std::string Widget::HelpText() const { return helpText.empty() ? toolTip : helpText; }
std::string Widget::ValueText() const { return {}; }
int32_t Widget::ToggleState() const { return 0; }
int32_t Widget::ExpandState() const { return 0; }
bool Widget::IsSelected() const { return false; }
RangeInfo Widget::Range() const { return {}; }
bool Widget::Invoke() { return false; }
bool Widget::IsAccessibilityElement() const { return Role() != Role::Pane; }
std::string Widget::AutomationId() const { return automationId; }
std::string Widget::AcceleratorKey() const { return acceleratorKey; }
std::string Widget::ItemStatus() const { return itemStatus; }
int32_t Widget::Orientation() const { return 0; }

bool Widget::SupportsValue() const {
  auto r = Role();
  return r == Role::Edit || r == Role::ComboBox;
}

bool Widget::IsReadOnly() const { return false; }
bool Widget::IsPassword() const { return false; }
bool Widget::SetValueText(const std::string&) { return false; }
bool Widget::SetRangeValue(double) { return false; }

bool Widget::SupportsInvoke() const {
  auto r = Role();
  return r == Role::Button || r == Role::MenuItem;
}

bool Widget::Toggle() { return Invoke(); }
bool Widget::SetExpanded(bool) { return false; }
bool Widget::Select(SelectAction action) {
  return action == SelectAction::Select && Role() == Role::RadioButton ? Invoke() : false;
}

bool Widget::IsSelectionContainer() const {
  switch (Role()) {
    case Role::ComboBox:
    case Role::List:
    case Role::Tree:
    case Role::DataGrid:
      return true;
    case Role::Group:
      return HasRadioDescendant();
    default:
      return false;
  }
}

bool Widget::HasRadioDescendant() const {
  for (const auto& child : children) {
    if (child->Role() == Role::RadioButton) {
      return true;
    }
    // Another accessibility element (a nested group, a list) owns its own radio buttons.
    if (!child->IsAccessibilityElement() && child->HasRadioDescendant()) {
      return true;
    }
  }
  return false;
}

bool Widget::CanSelectMultiple() const { return false; }
bool Widget::IsSelectionRequired() const { return false; }

std::vector<ItemId> Widget::Selection() const {
  // Depth-first over the virtual items, descending only into expanded ones.
  std::vector<ItemId> selected;
  std::vector<ItemId> pending{0};
  while (!pending.empty()) {
    ItemId id = pending.back();
    pending.pop_back();
    int32_t count = ItemChildCount(id);
    for (int32_t k = 0; k < count; ++k) {
      ItemId child = ItemChildAt(id, k);
      ItemInfo info;
      if (child == 0 || !ItemInformation(child, info)) {
        continue;
      }
      if (info.selected) {
        selected.push_back(child);
      }
      if (info.expandState == kExpandStateExpanded) {
        pending.push_back(child);
      }
    }
  }
  return selected;
}

ScrollInfo Widget::Scroll() const { return {}; }
bool Widget::ScrollBy(ScrollAmount, ScrollAmount) { return false; }
bool Widget::SetScrollPercent(double, double) { return false; }
GridInfo Widget::Grid() const { return {}; }
ItemId Widget::GridItemAt(int32_t, int32_t) const { return 0; }
int32_t Widget::ItemChildCount(ItemId) const { return 0; }
ItemId Widget::ItemChildAt(ItemId, int32_t) const { return 0; }
ItemId Widget::ItemParent(ItemId) const { return 0; }
int32_t Widget::ItemIndex(ItemId) const { return -1; }
bool Widget::ItemInformation(ItemId, ItemInfo&) const { return false; }
ItemId Widget::FocusedItem() const { return 0; }
ItemId Widget::ItemAtPoint(Point) const { return 0; }
bool Widget::InvokeItem(ItemId) { return false; }
bool Widget::ToggleItem(ItemId) { return false; }
bool Widget::SetItemExpanded(ItemId, bool) { return false; }
bool Widget::SelectItem(ItemId, SelectAction) { return false; }
bool Widget::SetItemValue(ItemId, const std::string&) { return false; }
bool Widget::FocusItem(ItemId) { return false; }
bool Widget::RealizeItem(ItemId) { return false; }
bool Widget::HasVirtualItems() const { return false; }
ItemId Widget::FindItem(ItemId, FindItemProperty, const std::string&) const { return 0; }
std::vector<NativeHandle> Widget::EmbeddedWindows() const { return {}; }

const char* Widget::ClassName() const { return "Widget"; }

bool Widget::OnPointerDown(const PointerEvent&) { return false; }
bool Widget::OnPointerUp(const PointerEvent&) { return false; }
bool Widget::OnPointerMove(const PointerEvent&) { return false; }
void Widget::OnPointerEnter() {}
void Widget::OnPointerLeave() {}
void Widget::OnCaptureLost() {}
bool Widget::OnWheel(const WheelEvent&) { return false; }
bool Widget::OnKeyDown(const KeyEvent&) { return false; }
bool Widget::OnKeyUp(const KeyEvent&) { return false; }
bool Widget::OnChar(const CharEvent&) { return false; }
bool Widget::OnIme(const ImeEvent&) { return false; }
void Widget::OnFocusChanged(bool) {}
void Widget::OnAccessKey() {}
bool Widget::AcceptsIme() const { return false; }
bool Widget::WantsSystemKeys() const { return false; }
Rect Widget::CaretRect() const { return {}; }

void Widget::Paint(Canvas&) {}
void Widget::PaintOverlay(Canvas&) {}
void Widget::OnVisualStateChanged() {}
void Widget::OnThemeChanged() {}
void Widget::OnScaleChanged() {}
void Widget::OnAttached() {}
void Widget::OnDetached() {}
void Widget::OnDescendantFocused(Widget*) {}
bool Widget::IsHitTestVisible() const { return hitTestVisible; }

}  // namespace Quarlo::Widget
