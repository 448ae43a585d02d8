#include "app/notice_bubble.h"

#include "app/floating_panel.h"
#include "app/text_block.h"
#include "widget/animator.h"
#include "widget/host.h"

namespace App {

using namespace Quarlo::Widget;

namespace {

constexpr float kTopMargin = 16;
constexpr float kCornerRadius = 16;
constexpr float kTextSize = 14;

}  // namespace

NoticeBubble::NoticeBubble() {
  StyleAsFloatingPanel(*this, kCornerRadius);
  SetPadding(16, 8, 16, 8);
  SetHorizontalAlignment(Alignment::Center);
  SetVerticalAlignment(Alignment::Start);
  SetMargin(0, kTopMargin, 0, 0);
  label_ = AddTextBlock(*this, kTextSize, TextTone::Primary, false);
  role = Role::Text;
}

void NoticeBubble::Show(const std::string& text) {
  CancelFade();
  opacity = 1;
  label_->SetText(text);
  SetAccessibleName(text);
  SetVisible(true);
  InvalidateVisual();
}

void NoticeBubble::FadeOut() {
  CancelFade();
  Host* host = GetHost();
  if (!host) {
    opacity = 0;
    return;
  }
  // The entry may outlive the notice (a rebuilt frame): it reaches the notice only through its link.
  fade_ =
      host->GetAnimator().Start(opacity, 0, kNoticeFadeSeconds, Easing::Linear, [link = Link()](float value) {
        if (Widget* notice = link->widget) {
          notice->opacity = value;
          notice->InvalidateVisual();
        }
      });
}

void NoticeBubble::Hide() {
  CancelFade();
  SetVisible(false);
  opacity = 1;
}

void NoticeBubble::CancelFade() {
  if (fade_ != 0 && GetHost()) GetHost()->GetAnimator().Cancel(fade_);
  fade_ = 0;
}

const std::string& NoticeBubble::Text() const { return label_->Text(); }

}  // namespace App
