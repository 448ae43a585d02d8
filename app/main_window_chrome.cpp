// The chrome's behaviour: when the bars and the side arrows show and hide (auto-hide on a timer that
// re-arms while the pointer rests on them or a menu is open), what the bars' controls say and allow, the
// tool bar's commands, the slider, and the notice.

#include <string>

#include "app/bar.h"
#include "app/chrome_items.h"
#include "app/frame.h"
#include "app/main_window.h"
#include "app/notice_bubble.h"
#include "app/viewer_window.h"
#include "core/settings.h"
#include "core/trace.h"
#include "views/page_layout.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/application.h"
#include "widget/input/button.h"
#include "widget/input/label.h"
#include "widget/input/slider.h"
#include "widget/input/toolbar.h"

namespace App {

using namespace Quarlo::Widget;
using namespace Quarlo::Widget::Input;
using Quarlo::View::Trace;

namespace {

constexpr double kHideSeconds = 2.0;
constexpr size_t kArrowsMinPictures = 2;

}  // namespace

ChromeState MainWindow::CurrentChromeState() const {
  ChromeState state;
  state.listOpen = HasList();
  state.webtoon = Webtoon();
  state.listShown = listShown_;
  state.infoShown = infoShown_;
  state.slideShow = slideShow_;
  state.fullScreen = fullScreen_;
  state.folderPicture = HasList() && list_.kind == Quarlo::View::SourceKind::Folder;
  state.zoomManual = pictureView_->ZoomIsManual();
  state.fitMode = settings_.fitMode;
  state.pageMode = settings_.pageMode;
  state.rightToLeft = settings_.rightToLeft;
  state.zoomLock = settings_.zoomLock;
  state.alwaysOnTop = settings_.alwaysOnTop;
  state.pinBars = settings_.pinBars;
  state.albums = settings_.albums;
  state.sortMenu = SortMenuItems();
  return state;
}

bool MainWindow::AutoHide() const { return !settings_.pinBars || fullScreen_; }

void MainWindow::ShowBars(bool shown) {
  barsShown_ = shown;
  const ChromeState state = CurrentChromeState();
  chrome_.frame->SetBarsReserveSpace((settings_.pinBars && !fullScreen_) || state.listShown);
  const bool wasShown = chrome_.topBar->IsVisible();
  if (AutoHide() && !shown && state.listOpen && !state.listShown && !messageShown_) {
    chrome_.topBar->SetVisible(false);
    chrome_.bottomBar->SetVisible(false);
    chrome_.leftArrow->SetVisible(false);
    chrome_.rightArrow->SetVisible(false);
    if (wasShown) Trace("bars hidden");
    return;
  }
  chrome_.topBar->SetVisible(true);
  chrome_.bottomBar->SetVisible(state.listOpen);
  const bool arrows =
      settings_.sideArrows && list_.items.size() >= kArrowsMinPictures && !state.webtoon && !state.listShown;
  chrome_.leftArrow->SetVisible(arrows);
  chrome_.rightArrow->SetVisible(arrows);
  if (arrows) AssignArrows();
  if (!wasShown) Trace("bars shown");
}

void MainWindow::AssignArrows() {
  const bool swapped = settings_.pageMode == PageMode::TwoPages && settings_.rightToLeft;
  chrome_.leftCommand = swapped ? CommandId::Next : CommandId::Previous;
  chrome_.rightCommand = swapped ? CommandId::Previous : CommandId::Next;
  for (const auto& [arrow, id] : {std::pair{chrome_.leftArrow, chrome_.leftCommand},
                                  std::pair{chrome_.rightArrow, chrome_.rightCommand}}) {
    arrow->toolTip = ChordToolTip(keyMap_, id);
    arrow->SetAccessibleName(Label(id));
  }
}

void MainWindow::ArmHideTimer() {
  if (hideTimer_ != 0) chrome_.frame->CancelTimer(hideTimer_);
  hideTimer_ = 0;
  if (!AutoHide()) return;
  hideTimer_ = chrome_.frame->StartTimer(
      kHideSeconds, [this] { OnHideTimer(); }, false);
}

void MainWindow::OnHideTimer() {
  hideTimer_ = 0;
  if (PointerRestsOnChrome()) {
    ArmHideTimer();
  } else {
    ShowBars(false);
  }
}

bool MainWindow::PointerRestsOnChrome() const {
  if (chrome_.toolBar->IsMenuOpen()) return true;
  // Where the pointer was last seen, not what the tree last found under it: bars that came back under a
  // resting pointer were not there when it moved.
  const Host* host = chrome_.frame->GetHost();
  if (!host || !hasLastMouse_) return false;
  const float scale = host->ScaleFactor();
  const Point at{lastMouseX_ / scale, lastMouseY_ / scale};
  const Widget* const areas[] = {chrome_.topBar, chrome_.bottomBar, chrome_.leftArrow, chrome_.rightArrow,
                                 chrome_.infoPanel};
  for (const Widget* area : areas) {
    if (area && area->IsVisibleInTree() && area->VisibleBoundsInWindow().Contains(at)) return true;
  }
  return false;
}

void MainWindow::OnPointerMoved(int x, int y) {
  if (hasLastMouse_ && x == lastMouseX_ && y == lastMouseY_) return;
  hasLastMouse_ = true;
  lastMouseX_ = x;
  lastMouseY_ = y;
  if (!chrome_.topBar->IsVisible()) ShowBars(true);
  ArmHideTimer();
}

void MainWindow::UpdateBottomBar() {
  sliderGuard_ = true;
  const size_t count = list_.items.size();
  if (count == 0) {
    chrome_.position->SetText({});
    chrome_.zoom->SetText({});
    chrome_.slider->SetRange(1, 1);
    chrome_.slider->SetValue(1);
    chrome_.slider->SetEnabled(false);
  } else {
    const bool twoShown =
        settings_.pageMode == PageMode::TwoPages && SpreadOf(CurrentPagination(), current_).count == 2;
    chrome_.position->SetText(PositionText(current_, count, twoShown));
    const bool noPages = !Webtoon() && pictureView_->Pages().empty();
    chrome_.zoom->SetText(
        noPages ? std::string() : ZoomText(Webtoon() ? webtoonView_->EffectiveZoom() : pictureView_->Zoom()));
    chrome_.slider->SetRange(1, static_cast<double>(count));
    chrome_.slider->SetValue(static_cast<double>(current_ + 1));
    chrome_.slider->SetEnabled(count > 1);
  }
  chrome_.previous->SetEnabled(count > 0);
  chrome_.next->SetEnabled(count > 0);
  sliderGuard_ = false;
}

void MainWindow::OnSliderChanged(double value) {
  if (sliderGuard_ || !HasList()) return;
  const size_t target = SliderTarget(value);
  if (target != current_) GoTo(target);
}

void MainWindow::UpdateToolBar() {
  std::vector<ToolbarItem> items = ToolBarItems(CurrentChromeState(), keyMap_);
  if (SameItems(items, chrome_.toolBar->Items())) return;
  chrome_.toolBar->SetItems(std::move(items));
}

void MainWindow::OnToolBarCommand(int32_t id) {
  const std::optional<CommandId> command = CommandOfItem(id);
  // The command may rebuild the tool bar; the button that was pushed must outlive its own click.
  Application::Instance().Post([this, alive = std::weak_ptr<const char>(alive_), id, command] {
    if (alive.expired()) return;
    if (command) {
      RunCommand(*command);
    } else {
      RunSortMenuItem(id);
    }
  });
}

void MainWindow::Notice(const std::string& text) {
  Trace("notice " + text);
  chrome_.notice->Show(text);
  if (noticeTimer_ != 0) chrome_.frame->CancelTimer(noticeTimer_);
  noticeTimer_ = chrome_.frame->StartTimer(
      kNoticeSeconds - kNoticeFadeSeconds,
      [this] {
        chrome_.notice->FadeOut();
        noticeTimer_ = chrome_.frame->StartTimer(
            kNoticeFadeSeconds, [this] { HideNotice(); }, false);
      },
      false);
}

void MainWindow::HideNotice() {
  noticeTimer_ = 0;
  chrome_.notice->Hide();
}

}  // namespace App
