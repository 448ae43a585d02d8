// The viewer window's lifecycle: construction, the native window and its callbacks, the placement it is
// shown with and records on close, full screen, the Esc rule and the mouse's side buttons.

#include "app/main_window.h"

#include <cmath>

#include "app/list_source.h"
#include "app/viewer_window.h"
#include "core/env_switches.h"
#include "core/settings.h"
#include "core/shared_thumbnail_load.h"
#include "core/strings.h"
#include "core/trace.h"
#include "widget/application.h"
#include "widget/input/tooltip.h"
#include "widget/kit/file_drop_target.h"
#include "widget/kit/kit_settings.h"
#include "widget/window_placement.h"

namespace App {

using namespace Quarlo::Widget;
using Quarlo::View::Env;
using Quarlo::View::Trace;

namespace {

// What the settings ask of every decode, with the viewer's frame memory cap for animations.
Quarlo::View::DecodeOptions DecodeOptionsOf(const Quarlo::View::Settings& settings) {
  Quarlo::View::DecodeOptions options;
  options.applyOrientation = settings.applyOrientation;
  options.colorManage = settings.colorManage;
  options.frameBytesCap = Quarlo::View::kViewerFrameBytesCap;
  return options;
}

// The viewer's tooltips, in its window and in every dialog it opens.
constexpr Input::TooltipOptions kTooltips{320, 4.0, 12, 20};

}  // namespace

MainWindow::MainWindow(Quarlo::View::Settings& settings, Hooks hooks)
    : settings_(settings), hooks_(std::move(hooks)) {
  keyMap_.LoadOverrides(settings_.keys);
  listSource_ = std::make_unique<ListSource>(list_, cache_);
  detachedFrame_ = BuildFrame();
  std::weak_ptr<const char> alive = alive_;
  cache_ = std::make_unique<Quarlo::View::PictureCache>(
      [this, alive] {
        Application::Instance().Post([this, alive] {
          if (!alive.expired()) OnPicturesFinished();
        });
      },
      Quarlo::View::DecodeWithSharedThumbnails(Quarlo::View::SharedThumbnailRootOfThisRun()));
  cache_->SetOptions(DecodeOptionsOf(settings_));
}

MainWindow::~MainWindow() {
  dropTarget_.reset();
  cache_.reset();
  alive_.reset();
}

bool MainWindow::Create() {
  window_ = std::make_unique<ViewerWindow>();
  window_->SetRoot(detachedFrame_ ? std::move(detachedFrame_) : BuildFrame());
  WindowOptions& options = window_->Options();
  options.title = Quarlo::View::Text(0);
  options.size = kDefaultWindowSize;
  options.allowBackdrop = false;
  options.topmost = settings_.alwaysOnTop;
  if (!window_->Create(options)) return false;
  Input::InstallTooltips(*window_, kTooltips);
  Kit::SettingsRecord().installToolTips = [](Quarlo::Widget::Window& dialog) {
    Input::InstallTooltips(dialog, kTooltips);
  };
  InstallWindowCallbacks();
  RegisterDropTarget();
  ApplyAppearance();
  RefreshChrome();
  ShowPosition();
  ArmHideTimer();
  return true;
}

void MainWindow::Rebuild() {
  if (!window_) return;
  window_->SetRoot(BuildFrame());
  window_->SetTitle(Quarlo::View::Text(0));
  // The slide show's timer died with the old frame.
  if (slideShow_) {
    slideTimer_ = 0;
    ArmSlideTimer();
  }
  ApplyAppearance();
  RefreshChrome();
  ShowPosition();
  ArmHideTimer();
}

void MainWindow::ShowPosition() {
  if (!HasList()) return;
  if (Webtoon()) {
    GoTo(current_);
  } else {
    ShowCurrent(true, pendingAtEnd_);
  }
}

void MainWindow::InstallWindowCallbacks() {
  window_->SetCloseQuery([this] { return OnClosed(); });
  window_->SetKeyDownPreview([this](const KeyEvent& event) { return OnKey(event); });
  window_->SetOnSideButton([this](bool forward) { OnSideButton(forward); });
  window_->SetOnPointerMove([this](int x, int y) { OnPointerMoved(x, y); });
  window_->SetOnDestroyed([this] {
    if (hooks_.quit) hooks_.quit();
  });
}

void MainWindow::Show() {
  if (!window_) return;
  if (Env().parkWindows) {
    window_->Show(false);
    return;
  }
  RestorePlacement();
  window_->Show(true);
}

void MainWindow::RestorePlacement() {
  if (!settings_.hasWindow) return;
  const Rect saved{static_cast<float>(settings_.windowX), static_cast<float>(settings_.windowY),
                   static_cast<float>(settings_.windowWidth), static_cast<float>(settings_.windowHeight)};
  if (saved.width < kMinRestoredWidth || saved.height < kMinRestoredHeight) return;
  // A placement no monitor shows any more (a monitor was removed) is dropped for the default place.
  if (OverlapArea(saved, Window::WorkAreaFor(saved)) <= 0) return;
  const float scale = window_->ScaleFactor();
  window_->MoveTo(Point{saved.x, saved.y});
  window_->ResizeClient(Size{saved.width / scale, saved.height / scale});
  window_->SetMaximized(settings_.windowMaximized);
}

void MainWindow::SetFullScreen(bool on) {
  if (!window_ || on == fullScreen_) return;
  if (on) {
    savedPlacement_ = Placement{window_->ClientScreenRect(), window_->IsMaximized()};
  }
  fullScreen_ = on;
  window_->SetFullScreen(on);
  ShowBars(!on);
  if (!on) ArmHideTimer();
  Trace(on ? "fullscreen on" : "fullscreen off");
  ApplyAppearance();
}

void MainWindow::EscRule() {
  if (endCardShown_) {
    HideEndCard();
  } else if (listShown_) {
    SetListShown(false);
  } else if (slideShow_) {
    StopSlideshow();
  } else if (fullScreen_) {
    SetFullScreen(false);
  } else if (settings_.escCloses && window_) {
    window_->RequestClose();
  }
}

void MainWindow::OnSideButton(bool forward) {
  if (HasList() && !listShown_) Navigate(forward ? +1 : -1, false);
}

bool MainWindow::OnClosed() {
  StopSlideshow();
  RecordPlacement();
  settings_.keys = keyMap_.ExportOverrides();
  // A failed save loses only this run's changes; the window closes either way.
  settings_.Save();
  Trace("closed");
  return true;
}

void MainWindow::RecordPlacement() {
  if (!window_) return;
  Placement placement = savedPlacement_;
  if (!fullScreen_) {
    // A parked window's place says nothing about where the user wants it.
    if (Env().parkWindows) return;
    placement = Placement{window_->ClientScreenRect(), window_->IsMaximized()};
    if (placement.bounds.width <= 0 || placement.bounds.height <= 0) return;
  }
  settings_.hasWindow = true;
  settings_.windowX = static_cast<int>(std::lround(placement.bounds.x));
  settings_.windowY = static_cast<int>(std::lround(placement.bounds.y));
  settings_.windowWidth = static_cast<int>(std::lround(placement.bounds.width));
  settings_.windowHeight = static_cast<int>(std::lround(placement.bounds.height));
  settings_.windowMaximized = placement.maximized;
}

}  // namespace App
