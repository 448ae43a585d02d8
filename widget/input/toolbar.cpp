// The tool bar: entries made from its items, the overflow rule that hides what does not fit, and the
// overflow menu that stands in for the hidden entries.

#include "widget/input/toolbar.h"

#include <algorithm>
#include <memory>

#include "widget/input/button.h"
#include "widget/input/control_text.h"
#include "widget/input/separator.h"
#include "widget/input/split_button.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr char32_t kMoreGlyph = 0xE712;
// An entry that measures nothing still takes this much room.
constexpr float kEmptyEntryWidth = 32;
constexpr size_t kButtonPaddingMetric = 2;
constexpr size_t kButtonIconMetric = 6;

std::string PlainText(const std::string& text) { return ParseAccessKey(text).display; }

}  // namespace

ToolbarItem ToolbarItem::Make(ToolbarItemKind kind, int32_t id, std::string text, char32_t icon) {
  ToolbarItem item;
  item.kind = kind;
  item.id = id;
  item.text = std::move(text);
  item.icon = icon;
  return item;
}

Toolbar::Toolbar() {
  role = Role::ToolBar;
  arrowKeyGroup = true;
  SetItems({});
}

const char* Toolbar::ClassName() const { return "Toolbar"; }

void Toolbar::SetItems(std::vector<ToolbarItem> items) {
  overflowMenu_.Close();
  ClearChildren();
  entries_.clear();
  items_ = std::move(items);
  for (size_t i = 0; i < items_.size(); ++i) entries_.push_back(Entry{AddChild(MakeEntry(i)), 0});
  auto overflow = std::make_unique<Button>(std::string(), ButtonStyle::Subtle);
  overflow->SetIcon(kMoreGlyph);
  const std::string more = PlainText(ToolkitString(ToolkitText::MoreOptions));
  overflow->SetAccessibleName(more);
  overflow->toolTip = more;
  overflow->SetVisible(false);
  overflow->onClick = [this] { OpenOverflowMenu(false); };
  overflow_ = AddChild(std::move(overflow));
  firstHidden_ = items_.size();
  InvalidateMeasure();
}

std::unique_ptr<Widget> Toolbar::MakeEntry(size_t index) {
  const ToolbarItem& item = items_[index];
  if (item.kind == ToolbarItemKind::Separator) {
    auto separator = std::make_unique<Separator>(ControlOrientation::Vertical);
    separator->SetMargin(4, 6, 4, 6);
    return separator;
  }
  const std::string label = item.showLabel ? item.text : std::string();
  const int32_t id = item.id;
  std::unique_ptr<Widget> entry;
  switch (item.kind) {
    case ToolbarItemKind::Toggle: {
      auto toggle = std::make_unique<ToggleButton>(label, ButtonStyle::Subtle);
      toggle->SetIcon(item.icon);
      toggle->SetChecked(item.checked);
      toggle->onToggled = [this, index](bool on) {
        items_[index].checked = on;
        if (!guard_) Command(items_[index].id, on);
      };
      entry = std::move(toggle);
      break;
    }
    case ToolbarItemKind::Split: {
      auto split = std::make_unique<SplitButton>(label, item.icon, ButtonStyle::Subtle);
      split->SetMenuItems(item.menu);
      split->onClick = [this, id] { Command(id, false); };
      split->onMenuInvoked = [this](const MenuItem& chosen) { Command(chosen.id, chosen.checked); };
      entry = std::move(split);
      break;
    }
    case ToolbarItemKind::DropDown: {
      auto dropDown = std::make_unique<DropDownButton>(label, item.icon, ButtonStyle::Subtle);
      dropDown->SetMenuItems(item.menu);
      dropDown->onMenuInvoked = [this](const MenuItem& chosen) { Command(chosen.id, chosen.checked); };
      entry = std::move(dropDown);
      break;
    }
    default: {
      auto button = std::make_unique<Button>(label, ButtonStyle::Subtle);
      button->SetIcon(item.icon);
      button->onClick = [this, id] { Command(id, false); };
      entry = std::move(button);
      break;
    }
  }
  const std::string name = PlainText(item.text);
  entry->SetAccessibleName(name);
  entry->toolTip = item.toolTip.empty() ? name : item.toolTip;
  entry->SetEnabled(item.enabled);
  return entry;
}

void Toolbar::Command(int32_t id, bool checked) {
  if (std::function<void(int32_t, bool)> callback = onCommand) callback(id, checked);
}

// --- Layout ---

float Toolbar::OverflowReserve() const {
  const Theme& theme = GetTheme();
  return std::max(theme.controlHeight,
                  2 * theme.metrics[kButtonPaddingMetric] + theme.metrics[kButtonIconMetric]) +
         spacing_;
}

Size Toolbar::MeasureOverride(Size available) {
  float total = 0;
  float height = 0;
  for (Entry& entry : entries_) {
    // A hidden entry keeps the width it measured while shown: it is what it would take back.
    if (entry.widget->IsVisible()) {
      const Size size = entry.widget->Measure(Size{kUnbounded, available.height});
      entry.width = size.width > 0 ? size.width : kEmptyEntryWidth;
      height = std::max(height, size.height);
    }
    total += entry.width;
  }
  if (!entries_.empty()) total += spacing_ * static_cast<float>(entries_.size() - 1);
  height = std::max(height, overflow_->Measure(Size{kUnbounded, available.height}).height);
  return Size{total, height};
}

void Toolbar::ArrangeOverride(Size final) {
  const size_t count = entries_.size();
  float total = 0;
  for (const Entry& entry : entries_) total += entry.width;
  if (count > 0) total += spacing_ * static_cast<float>(count - 1);
  size_t keep = count;
  if (total > final.width) {
    const float room = final.width - OverflowReserve();
    float x = 0;
    keep = 0;
    while (keep < count) {
      const float next = entries_[keep].width + (keep > 0 ? spacing_ : 0);
      if (x + next > room) break;
      x += next;
      ++keep;
    }
    while (keep > 0 && items_[keep - 1].kind == ToolbarItemKind::Separator) --keep;
  }
  firstHidden_ = keep;
  float x = 0;
  for (size_t i = 0; i < count; ++i) {
    Widget* widget = entries_[i].widget;
    widget->SetVisible(i < keep);
    if (i >= keep) continue;
    widget->Arrange(Rect{x, 0, entries_[i].width, final.height});
    x += entries_[i].width + spacing_;
  }
  overflow_->SetVisible(keep < count);
  if (keep < count) {
    const float width = OverflowReserve() - spacing_;
    overflow_->Arrange(Rect{final.width - width, 0, width, final.height});
  }
}

bool Toolbar::IsMenuOpen() const {
  if (overflowMenu_.IsOpen()) return true;
  return std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) {
    if (const auto* split = dynamic_cast<const SplitButton*>(entry.widget)) return split->IsMenuOpen();
    const auto* dropDown = dynamic_cast<const DropDownButton*>(entry.widget);
    return dropDown && dropDown->ExpandState() == kExpandStateExpanded;
  });
}

// --- Overflow menu ---

MenuItem Toolbar::OverflowItem(size_t index) const {
  const ToolbarItem& item = items_[index];
  MenuItem out;
  switch (item.kind) {
    case ToolbarItemKind::Separator:
      return MenuItem::Separator();
    case ToolbarItemKind::Toggle:
      out = MenuItem::Check(item.id, item.text, {}, item.icon, item.checked);
      break;
    case ToolbarItemKind::Split: {
      std::vector<MenuItem> children{MenuItem::Command(item.id, item.text, {}, item.icon)};
      if (!item.menu.empty()) {
        children.push_back(MenuItem::Separator());
        children.insert(children.end(), item.menu.begin(), item.menu.end());
      }
      out = MenuItem::Submenu(item.id, item.text, {}, item.icon, std::move(children));
      break;
    }
    case ToolbarItemKind::DropDown:
      out = MenuItem::Submenu(item.id, item.text, {}, item.icon, item.menu);
      break;
    case ToolbarItemKind::Button:
      out = MenuItem::Command(item.id, item.text, {}, item.icon);
      break;
  }
  out.enabled = item.enabled;
  return out;
}

void Toolbar::OpenOverflowMenu(bool selectFirst) {
  if (firstHidden_ >= items_.size()) return;
  overflowMenu_.items.clear();
  for (size_t i = firstHidden_; i < items_.size(); ++i) overflowMenu_.items.push_back(OverflowItem(i));
  overflowMenu_.onInvoked = [this](const MenuItem& chosen) { OverflowChosen(chosen); };
  overflowMenu_.ShowBelowWidget(*overflow_, selectFirst);
}

void Toolbar::OverflowChosen(const MenuItem& chosen) {
  if (chosen.kind == MenuItemKind::Check) {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].kind != ToolbarItemKind::Toggle || items_[i].id != chosen.id) continue;
      guard_ = true;
      static_cast<ToggleButton*>(entries_[i].widget)->SetChecked(chosen.checked);
      guard_ = false;
      break;
    }
  }
  Command(chosen.id, chosen.checked);
}

}  // namespace Quarlo::Widget::Input
