#include "app/notice_bubble.h"

#include <memory>

#include "app/text_block.h"

namespace App {

using namespace Quarlo::Widget;

namespace {

constexpr float kTopMargin = 16;
constexpr float kCornerRadius = 16;
constexpr float kTextSize = 14;

}  // namespace

NoticeBubble::NoticeBubble() {
  SetBackground(BackgroundKind::Popup);
  SetBorder(BorderKind::Subtle, 1);
  SetCornerRadius(kCornerRadius);
  SetPadding(16, 8, 16, 8);
  SetHorizontalAlignment(Alignment::Center);
  SetVerticalAlignment(Alignment::Start);
  SetMargin(0, kTopMargin, 0, 0);
  label_ = AddChild(std::make_unique<TextBlock>(TextStyle{{}, kTextSize}, TextTone::Primary, false));
  role = Role::Text;
}

void NoticeBubble::SetText(const std::string& text) {
  label_->SetText(text);
  SetAccessibleName(text);
}

const std::string& NoticeBubble::Text() const { return label_->Text(); }

}  // namespace App
