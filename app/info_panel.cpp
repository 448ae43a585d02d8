#include "app/info_panel.h"

#include <memory>
#include <string>

#include "app/floating_panel.h"
#include "core/strings.h"
#include "widget/grid.h"
#include "widget/input/button.h"
#include "widget/input/label.h"
#include "widget/scroll_viewer.h"
#include "widget/stack.h"

namespace App {

using namespace Quarlo::Widget;
using Input::Label;
using Input::LabelStyle;
using Quarlo::View::Text;

namespace {

constexpr float kWidth = 320;
constexpr float kOuterMargin = 8;
constexpr float kCornerRadius = 8;
constexpr float kRowGap = 12;
constexpr float kCaptionGap = 2;
constexpr char32_t kCloseGlyph = 0xE711;
constexpr int kTitleText = 65;        // "Image info"
constexpr int kCloseText = 64;        // "Close"
constexpr int kNothingOpenText = 88;  // "Open an image to see its details here."

std::unique_ptr<Label> WrappedLabel(const std::string& text, LabelStyle style, TextTone tone) {
  auto label = std::make_unique<Label>(text, style);
  label->SetTone(tone);
  label->SetWrap(true);
  return label;
}

// A caption in the secondary tone above its value; long values (paths, lens names) wrap at words.
std::unique_ptr<Stack> RowOf(const InfoRow& row) {
  auto stack = std::make_unique<Stack>(true, kCaptionGap);
  const std::string& caption = Text(static_cast<int>(row.caption));
  stack->AddChild(WrappedLabel(caption, LabelStyle::Caption, TextTone::Secondary));
  stack->AddChild(WrappedLabel(row.value, LabelStyle::Body, TextTone::Primary));
  stack->role = Role::Group;
  stack->SetAccessibleName(caption);
  return stack;
}

}  // namespace

InfoPanel::InfoPanel() {
  StyleAsFloatingPanel(*this, kCornerRadius);
  SetWidth(kWidth);
  SetHorizontalAlignment(Alignment::End);
  SetVerticalAlignment(Alignment::Stretch);
  SetMargin(kOuterMargin, kOuterMargin, kOuterMargin, kOuterMargin);
  SetVisible(false);
  role = Role::Group;
  SetAccessibleName(Text(kTitleText));

  auto body = std::make_unique<Quarlo::Widget::Grid>();
  body->AddColumn(TrackDefinition::Star());
  body->AddRow(TrackDefinition::Auto());
  body->AddRow(TrackDefinition::Star());

  auto header = std::make_unique<Quarlo::Widget::Grid>();
  header->AddRow(TrackDefinition::Auto());
  header->AddColumn(TrackDefinition::Star());
  header->AddColumn(TrackDefinition::Auto());
  header->SetMargin(16, 8, 8, 4);
  auto* title = header->AddChildAt(std::make_unique<Label>(Text(kTitleText), LabelStyle::Subtitle), 0, 0);
  title->SetVerticalAlignment(Alignment::Center);
  close_ =
      header->AddChildAt(std::make_unique<Input::Button>(std::string(), Input::ButtonStyle::Subtle), 0, 1);
  close_->SetIcon(kCloseGlyph);
  close_->toolTip = Text(kCloseText);
  close_->SetAccessibleName(Text(kCloseText));
  close_->onClick = [this] {
    if (onClose) onClose();
  };
  body->AddChildAt(std::move(header), 0, 0);

  auto scroller = std::make_unique<ScrollViewer>();
  auto rows = std::make_unique<Stack>(true, kRowGap);
  rows->SetMargin(16, 4, 16, 16);
  rows_ = scroller->AddChild(std::move(rows));
  body->AddChildAt(std::move(scroller), 1, 0);
  AddChild(std::move(body));
}

void InfoPanel::SetRows(const std::vector<InfoRow>& rows) {
  rows_->ClearChildren();
  for (const InfoRow& row : rows) rows_->AddChild(RowOf(row));
  shown_ = rows;
}

void InfoPanel::ShowNothingOpen() {
  rows_->ClearChildren();
  shown_.clear();
  rows_->AddChild(WrappedLabel(Text(kNothingOpenText), LabelStyle::Body, TextTone::Secondary));
}

}  // namespace App
