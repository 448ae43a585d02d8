#include "app/end_card.h"

#include <memory>

#include "app/floating_panel.h"
#include "widget/input/button.h"
#include "widget/input/label.h"
#include "widget/stack.h"

namespace App {

using namespace Quarlo::Widget;
using Input::Button;
using Input::ButtonStyle;

namespace {

constexpr float kCornerRadius = 8;
constexpr float kRowSpacing = 16;
constexpr float kButtonSpacing = 8;

}  // namespace

EndCard::EndCard() {
  StyleAsFloatingPanel(*this, kCornerRadius);
  SetPadding(24, 20, 24, 20);
  SetHorizontalAlignment(Alignment::Center);
  SetVerticalAlignment(Alignment::Center);
  role = Role::Group;

  auto* column = AddChild(std::make_unique<Stack>(true, kRowSpacing));
  title_ = column->AddChild(std::make_unique<Input::Label>(std::string(), Input::LabelStyle::Body));
  title_->SetBold(true);
  title_->SetHorizontalAlignment(Alignment::Center);
  auto* row = column->AddChild(std::make_unique<Stack>(false, kButtonSpacing));
  row->SetHorizontalAlignment(Alignment::Center);
  otherEnd_ = row->AddChild(std::make_unique<Button>(std::string(), ButtonStyle::Accent));
  folder_ = row->AddChild(std::make_unique<Button>(std::string(), ButtonStyle::Standard));
  close_ = row->AddChild(std::make_unique<Button>(std::string(), ButtonStyle::Standard));
  // The callbacks are looked up at each push, so the controller may install or replace them at any time.
  otherEnd_->onClick = [this] {
    if (onOtherEnd) onOtherEnd();
  };
  folder_->onClick = [this] {
    if (onFolder) onFolder();
  };
  close_->onClick = [this] {
    if (onClose) onClose();
  };
}

void EndCard::SetTexts(const std::string& title, const std::string& otherEnd, const std::string& folder,
                       const std::string& close) {
  title_->SetText(title);
  otherEnd_->SetText(otherEnd);
  folder_->SetText(folder);
  close_->SetText(close);
  SetAccessibleName(title);
}

void EndCard::SetFolderEnabled(bool enabled) { folder_->SetEnabled(enabled); }

const std::string& EndCard::Title() const { return title_->Text(); }

}  // namespace App
