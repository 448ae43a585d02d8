// The combo box: its face, its keys while closed and open, type-ahead, and its drop-down popup.

#include "widget/input/combo_box.h"

#include <algorithm>
#include <cmath>

#include "widget/animator.h"
#include "widget/canvas.h"
#include "widget/control_paint.h"
#include "widget/host.h"
#include "widget/input/combo_popup.h"
#include "widget/input/events.h"
#include "widget/input/key_route.h"
#include "widget/input/text_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/popup_placement.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kArrowArea = 30;         // the editable combo box opens only from this strip at the right
constexpr float kEditRightGap = 8;       // the text box keeps this gap at its right edge itself
constexpr float kChevronFromRight = 30;  // the chevron is centred in (w - 30, 0, 26, h)
constexpr float kChevronWidth = 26;
constexpr float kChevronSize = 10;
constexpr float kTextLeft = 12;
constexpr float kTextRoom = 42;
constexpr float kMinWidth = 64;
constexpr char32_t kChevronGlyph = 0xE70D;
constexpr uint32_t kF4 = Vk::F1 + 3;
constexpr int32_t kExpandStateCollapsed = 1;

bool HasCtrlOrAlt(const KeyEvent& event) { return (event.modifiers & (Modifier::Ctrl | Modifier::Alt)) != 0; }
bool HasAlt(const KeyEvent& event) { return (event.modifiers & Modifier::Alt) != 0; }

}  // namespace

ComboBox::ComboBox() { role = Role::ComboBox; }

ComboBox::~ComboBox() {
  keyRoute_.reset();
  if (popup_) popup_->SetOnClosed(nullptr);
}

const char* ComboBox::ClassName() const { return "ComboBox"; }
// The inner text box takes the focus of an editable combo box.
bool ComboBox::IsFocusable() const { return !editable_; }

Widget* ComboBox::HitTest(Point local) {
  // The arrow strip of an editable combo box opens the list; the rest belongs to its text box.
  if (editable_ && IsVisible() && local.x >= ActualSize().width - kArrowArea &&
      local.x < ActualSize().width && local.y >= 0 && local.y < ActualSize().height)
    return this;
  return Widget::HitTest(local);
}

std::string ComboBox::ValueText() const {
  if (editable_ && editBox_) return editBox_->GetText();
  return selected_ >= 0 ? items_[static_cast<size_t>(selected_)] : std::string();
}

int32_t ComboBox::ExpandState() const { return IsOpen() ? kExpandStateExpanded : kExpandStateCollapsed; }

bool ComboBox::SetExpanded(bool expanded) {
  if (expanded) {
    Open();
  } else {
    Close(false);
  }
  return IsOpen() == expanded;
}

void ComboBox::SetItems(std::vector<std::string> items) {
  Close(false);
  items_ = std::move(items);
  if (selected_ >= static_cast<int>(items_.size())) selected_ = -1;
  typeAhead_.Reset();
  InvalidateMeasure();
  InvalidateVisual();
}

void ComboBox::SetSelected(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == selected_) return;
  selected_ = index;
  text_.Drop();
  if (editBox_ && index >= 0) editBox_->SetText(items_[static_cast<size_t>(index)]);
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::ValueChanged);
}

void ComboBox::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size()) || index == selected_) return;
  SetSelected(index);
  if (std::function<void(int)> callback = onSelectionChanged_) callback(index);
}

void ComboBox::SetEditable(bool editable) {
  editable_ = editable;
  if (editable && !editBox_) {
    editBox_ = AddChild(std::make_unique<TextBox>());
    editBox_->SetInsets(0, kArrowArea - kEditRightGap);
    editBox_->SetPlaceholder(placeholder_);
    editBox_->onFocusLost = [this] { Close(false); };
    if (selected_ >= 0) editBox_->SetText(items_[static_cast<size_t>(selected_)]);
  }
  if (editBox_) editBox_->SetVisible(editable);
  InvalidateMeasure();
  InvalidateVisual();
}

void ComboBox::SetPlaceholder(const std::string& text) {
  placeholder_ = text;
  if (editBox_) editBox_->SetPlaceholder(text);
  text_.Drop();
  InvalidateVisual();
}

double ComboBox::NowMs() const { return GetHost() ? GetHost()->GetAnimator().Now() * 1000 : 0; }

// --- The drop-down ---

bool ComboBox::IsOpen() const { return popup_ && popup_->IsOpen(); }

void ComboBox::Open() {
  auto* window = dynamic_cast<Window*>(GetHost());
  if (IsOpen() || !window || items_.empty()) return;
  if (!popup_) {
    popup_ = std::make_unique<ComboPopup>();
    popup_->Options().owner = window->Handle();
    popup_->List().onChosen = [this](int row) {
      Close(false);
      Choose(row);
    };
    popup_->SetOnClosed([this] { PopupClosed(); });
  }
  popup_->SetTheme(window->GetTheme());
  if (!popup_->Handle() && !popup_->Create(popup_->Options())) return;
  ComboList& list = popup_->List();
  list.SetItems(items_, selected_, std::min(maxVisibleRows, static_cast<int>(items_.size())));
  const float width = ActualSize().width;
  list.Measure(Size{width, kUnbounded});
  const Size content{width, list.DesiredSize().height};
  const float scale = popup_->ScaleFactor();
  const Rect anchor = ScreenBounds();
  const Point at =
      PlacePopup(anchor, Size{std::ceil(content.width * scale), std::ceil(content.height * scale)},
                 PopupSide::Below, WorkAreaAtCentre(anchor));
  RouteHandlers handlers;
  handlers.keyDown = [this](const KeyEvent& event) { return KeyWhileOpen(event); };
  handlers.character = [this](const CharEvent& event) { return TypeWhileOpen(event); };
  keyRoute_ = std::make_unique<KeyRoute>(*window, std::move(handlers), true);
  popup_->ShowAt(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)), width);
  RaiseAutomationEvent(AutomationEvent::ExpandCollapseChanged);
  InvalidateVisual();
}

void ComboBox::Close(bool choose) {
  if (!IsOpen()) return;
  const int highlighted = popup_->List().Highlighted();
  popup_->Close();
  if (choose) Choose(highlighted);
}

void ComboBox::PopupClosed() {
  keyRoute_.reset();
  RaiseAutomationEvent(AutomationEvent::ExpandCollapseChanged);
  InvalidateVisual();
}

void ComboBox::OnDetached() { Close(false); }

void ComboBox::OnFocusChanged(bool focused) {
  if (!focused) Close(false);
  InvalidateVisual();
}

// --- Keys ---

bool ComboBox::OnKeyDown(const KeyEvent& event) {
  if (OpenKey(event)) {
    Open();
    return true;
  }
  if (HasCtrlOrAlt(event)) return false;
  const int last = static_cast<int>(items_.size()) - 1;
  const bool all = !editable_;
  switch (event.key) {
    case Vk::Up:
      Choose(std::max(selected_ - 1, 0));
      return true;
    case Vk::Down:
      Choose(std::min(selected_ + 1, last));
      return true;
    case Vk::Left:
      if (all) Choose(std::max(selected_ - 1, 0));
      return all;
    case Vk::Right:
      if (all) Choose(std::min(selected_ + 1, last));
      return all;
    case Vk::Home:
      if (all) Choose(0);
      return all;
    case Vk::End:
      if (all) Choose(last);
      return all;
    default:
      return false;
  }
}

bool ComboBox::OpenKey(const KeyEvent& event) {
  if ((event.key == Vk::Down && HasAlt(event)) || event.key == kF4) return true;
  return !editable_ && !HasCtrlOrAlt(event) && (event.key == Vk::Space || event.key == Vk::Enter);
}

bool ComboBox::KeyWhileOpen(const KeyEvent& event) {
  ComboList& list = popup_->List();
  const int count = static_cast<int>(items_.size());
  const int hot = list.Highlighted();
  const int page = std::min(maxVisibleRows, count);
  switch (event.key) {
    case Vk::Tab:
      Close(false);
      return false;
    case Vk::Escape:
      Close(false);
      return true;
    case Vk::Enter:
    case kF4:
      Close(true);
      return true;
    case Vk::Up:
    case Vk::Down:
      if (HasAlt(event)) {
        Close(true);
      } else {
        list.SetHighlighted(std::clamp(hot + (event.key == Vk::Down ? 1 : -1), 0, count - 1));
      }
      return true;
    case Vk::Space:
      if (editable_) return false;
      Close(true);
      return true;
    case Vk::Home:
      list.SetHighlighted(0);
      return true;
    case Vk::End:
      list.SetHighlighted(count - 1);
      return true;
    case Vk::PageUp:
      list.SetHighlighted(std::max(hot - page, 0));
      return true;
    case Vk::PageDown:
      list.SetHighlighted(std::min(hot + page, count - 1));
      return true;
    default:
      return false;
  }
}

bool ComboBox::TypeWhileOpen(const CharEvent& event) {
  if (editable_ || event.system) return false;
  const TypeAhead::Result result =
      typeAhead_.Type(event.codePoint, NowMs(), popup_->List().Highlighted(), items_);
  if (result.found) popup_->List().SetHighlighted(*result.found);
  return result.handled;
}

bool ComboBox::OnChar(const CharEvent& event) {
  if (editable_ || event.system) return false;
  const TypeAhead::Result result = typeAhead_.Type(event.codePoint, NowMs(), selected_, items_);
  if (result.found) Choose(*result.found);
  return result.handled;
}

// --- Pointer ---

bool ComboBox::OnPointerDown(const PointerEvent& event) {
  if (event.button != PointerButton::Left) return false;
  if (editable_ && event.position.x < ActualSize().width - kArrowArea) return false;
  if (IsOpen()) {
    Close(false);
  } else {
    Open();
  }
  return true;
}

// --- Looks ---

void ComboBox::OnVisualStateChanged() { InvalidateVisual(); }
void ComboBox::OnScaleChanged() { text_.Drop(); }

void ComboBox::OnThemeChanged() {
  text_.Drop();
  InvalidateMeasure();
}

Size ComboBox::MeasureOverride(Size available) {
  if (editBox_) editBox_->Measure(available);
  TextStyle style = BodyTextStyle(GetTheme());
  float widest = TextLayout::Measure(placeholder_, style, kUnbounded, TextOptions{}).width;
  for (const std::string& item : items_) {
    widest = std::max(widest, TextLayout::Measure(item, style, kUnbounded, TextOptions{}).width);
  }
  return Size{std::max(kMinWidth, std::ceil(widest) + kTextRoom), GetTheme().controlHeight};
}

void ComboBox::ArrangeOverride(Size final) {
  if (editBox_) editBox_->Arrange(Rect{0, 0, final.width, final.height});
}

void ComboBox::PaintOverlay(Canvas& canvas) {
  if (editable_) PaintChevron(canvas);
}

void ComboBox::PaintChevron(Canvas& canvas) {
  const Size size = ActualSize();
  const bool enabled = IsEnabledInTree();
  canvas.DrawIcon(kChevronGlyph, Rect{size.width - kChevronFromRight, 0, kChevronWidth, size.height},
                  kChevronSize,
                  GetTheme().Get(enabled ? ThemeColor::TextSecondary : ThemeColor::TextDisabled));
}

void ComboBox::Paint(Canvas& canvas) {
  if (editable_) return;
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const Rect face{0, 0, size.width, size.height};
  const bool enabled = IsEnabledInTree();
  ThemeColor fill = ThemeColor::ControlFill;
  if (!enabled) {
    fill = ThemeColor::ControlFillDisabled;
  } else if (IsPressed() || IsOpen()) {
    fill = ThemeColor::ControlFillPressed;
  } else if (IsHovered()) {
    fill = ThemeColor::ControlFillHover;
  }
  const float hairline = HairlineWidth(canvas.Scale());
  canvas.FillRoundedRect(face, theme.cornerRadius, theme.Get(fill));
  canvas.StrokeRoundedRect(face, theme.cornerRadius,
                           theme.Get(enabled ? ThemeColor::ControlBorder : ThemeColor::Divider), hairline);
  if (enabled) {
    canvas.PushRoundedClip(face, theme.cornerRadius);
    canvas.FillRect(Rect{0, size.height - hairline, size.width, hairline},
                    theme.Get(ThemeColor::StrongBorder));
    canvas.PopClip();
  }
  const bool showsItem = selected_ >= 0;
  TextStyle style = BodyTextStyle(theme);
  TextOptions options;
  options.trimming = TextTrimming::CharacterEllipsis;
  text_.SetText(showsItem ? items_[static_cast<size_t>(selected_)] : placeholder_, false);
  text_.SetFormat(style, options);
  const TextLayout& layout = text_.LayoutFor(Size{std::max(0.0f, size.width - kTextRoom), kUnbounded});
  ThemeColor tone = showsItem ? ThemeColor::TextPrimary : ThemeColor::TextSecondary;
  if (!enabled) tone = ThemeColor::TextDisabled;
  if (layout) {
    canvas.DrawText(layout, Point{kTextLeft, std::round((size.height - layout.Metrics().height) / 2)},
                    theme.Get(tone));
  }
  PaintChevron(canvas);
}

}  // namespace Quarlo::Widget::Input
