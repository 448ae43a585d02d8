#include "app/message_panel.h"

#include "app/text_block.h"

namespace App {

using namespace Quarlo::Widget;

namespace {

constexpr float kLineGap = 10;
constexpr float kMaxWidth = 560;
constexpr float kSideMargin = 24;
constexpr float kHeadlineSize = 20;
constexpr int32_t kHeadlineWeight = 600;
constexpr float kDetailSize = 14;

}  // namespace

MessagePanel::MessagePanel() : Stack(true, kLineGap) {
  SetHorizontalAlignment(Alignment::Center);
  SetVerticalAlignment(Alignment::Center);
  SetMaxSize(Size{kMaxWidth, kUnbounded});
  SetMargin(kSideMargin, kSideMargin, kSideMargin, kSideMargin);
  headline_ = AddTextBlock(*this, kHeadlineSize, TextTone::Primary, true, kHeadlineWeight);
  detail_ = AddTextBlock(*this, kDetailSize, TextTone::Secondary, true);
  role = Role::Group;
}

void MessagePanel::SetTexts(const std::string& headline, const std::string& detail) {
  headline_->SetText(headline);
  detail_->SetText(detail);
  detail_->SetVisible(!detail.empty());
  SetAccessibleName(headline);
}

const std::string& MessagePanel::Headline() const { return headline_->Text(); }
const std::string& MessagePanel::Detail() const { return detail_->Text(); }

}  // namespace App
