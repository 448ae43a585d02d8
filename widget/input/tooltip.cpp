// The tooltip presenter: a padded, wrapping text in a popup below the pointer, inside the work area.

#include "widget/input/tooltip.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "widget/border.h"
#include "widget/input/ime_composition.h"
#include "widget/input/label.h"
#include "widget/popup_placement.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kPaddingX = 10;
constexpr float kPaddingY = 6;
constexpr double kSecondsPerCharacter = 0.05;
constexpr double kLongestSeconds = 30;

class Presenter {
 public:
  Presenter(Window& owner, const TooltipOptions& options) : owner_(owner.Link()), options_(options) {}

  void Show(const std::string& text, Point at) {
    Window* owner = Owner();
    if (!owner || text.empty()) return;
    if (!popup_ && !MakePopup(*owner)) return;
    popup_->SetTheme(owner->GetTheme());
    text_->SetText(text);
    Widget* root = popup_->Root();
    root->Measure(Size{options_.maxWidth, kUnbounded});
    const Size content = root->DesiredSize();
    const float scale = popup_->ScaleFactor();
    const Point pointer = owner->WindowToScreen(at);
    const Rect anchor{pointer.x + static_cast<float>(options_.offsetX),
                      pointer.y + static_cast<float>(options_.offsetY), 0, 0};
    const Point place =
        PlacePopup(anchor, Size{std::ceil(content.width * scale), std::ceil(content.height * scale)},
                   PopupSide::Below, WorkAreaAtCentre(anchor));
    CancelHide();
    popup_->ShowAt(static_cast<int>(std::lround(place.x)), static_cast<int>(std::lround(place.y)),
                   options_.maxWidth);
    popup_->RequestRepaint();
    // The host hides it, so that it also knows the tooltip has gone.
    std::shared_ptr<Detail::HostLink> link = owner_;
    hideTimer_ = popup_->AddTimer(
        nullptr, TooltipSeconds(text, options_.baseSeconds),
        [link] {
          if (link->host) link->host->HideToolTip();
        },
        false);
  }

  void Hide() {
    CancelHide();
    if (popup_) popup_->Close();
  }

 private:
  Window* Owner() const { return static_cast<Window*>(owner_->window); }

  bool MakePopup(Window& owner) {
    auto popup = std::make_unique<TipPopup>();
    popup->Options().owner = owner.Handle();
    auto border = std::make_unique<Border>();
    border->SetPadding(kPaddingX, kPaddingY, kPaddingX, kPaddingY);
    border->SetBorder(BorderKind::Control);
    auto label = std::make_unique<Label>(std::string(), LabelStyle::Caption);
    label->SetWrap(true);
    text_ = border->AddChild(std::move(label));
    popup->SetRoot(std::move(border));
    popup->SetTheme(owner.GetTheme());
    if (!popup->Create(popup->Options())) return false;
    popup_ = std::move(popup);
    return true;
  }

  void CancelHide() {
    if (popup_ && hideTimer_ != 0) popup_->CancelTimer(hideTimer_);
    hideTimer_ = 0;
  }

  std::shared_ptr<Detail::HostLink> owner_;
  TooltipOptions options_;
  std::unique_ptr<TipPopup> popup_;
  Label* text_ = nullptr;
  uint64_t hideTimer_ = 0;
};

}  // namespace

TipPopup::TipPopup() {
  SetLightDismiss(false);
  Options().title = "Tooltip";
  Options().activatable = false;
  Options().inputTransparent = true;
  Options().followSystemTheme = false;
}

void InstallTooltips(Window& window, const TooltipOptions& options) {
  auto presenter = std::make_shared<Presenter>(window, options);
  window.SetToolTipHandler([presenter](Widget* widget, const std::string& text, Point at) {
    if (widget) {
      presenter->Show(text, at);
    } else {
      presenter->Hide();
    }
  });
}

double TooltipSeconds(std::string_view text, double baseSeconds) {
  const double characters = static_cast<double>(Utf16Length(text));
  return std::min(baseSeconds + kSecondsPerCharacter * characters, kLongestSeconds);
}

}  // namespace Quarlo::Widget::Input
