// Running commands and turning keys into them. Every command writes its trace line; the commands whose
// dialogs, panels or file operations are not part of the program yet stop there.

#include <string>

#include "app/key_dispatch.h"
#include "app/main_window.h"
#include "app/picture_number_dialog.h"
#include "app/viewer_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/input/events.h"

namespace App {

using namespace Quarlo::Widget;
using Quarlo::View::FormatText;

namespace {

constexpr int kZoomPercent = 30;
constexpr int kSettingOn = 41;
constexpr int kSettingOff = 42;
constexpr long kJump = 10;

// The fit mode each fit command chooses.
FitMode FitModeOf(CommandId id) {
  switch (id) {
    case CommandId::ZoomOriginal:
      return FitMode::ActualSize;
    case CommandId::FitWidth:
      return FitMode::FitWidth;
    case CommandId::FitHeight:
      return FitMode::FitHeight;
    case CommandId::FitFill:
      return FitMode::Fill;
    default:
      return FitMode::Fit;
  }
}

// The command whose label names a fit mode in its notice.
CommandId CommandOfFitMode(FitMode mode) {
  switch (mode) {
    case FitMode::Fill:
      return CommandId::FitFill;
    case FitMode::FitWidth:
      return CommandId::FitWidth;
    case FitMode::FitHeight:
      return CommandId::FitHeight;
    case FitMode::ActualSize:
      return CommandId::ZoomOriginal;
    default:
      return CommandId::ZoomFit;
  }
}

PageMode PageModeOf(CommandId id) {
  switch (id) {
    case CommandId::TwoPages:
      return PageMode::TwoPages;
    case CommandId::Webtoon:
      return PageMode::Webtoon;
    default:
      return PageMode::SinglePage;
  }
}

}  // namespace

void MainWindow::RunCommand(CommandId id) {
  Quarlo::View::Trace("command " + std::string(Command(id).name));
  switch (id) {
    case CommandId::Reload:
      Reload();
      break;
    case CommandId::CloseFile:
      CloseSource();
      break;
    case CommandId::Exit:
      if (window_) window_->RequestClose();
      return;
    case CommandId::Next:
      Navigate(+1, false);
      break;
    case CommandId::Previous:
      Navigate(-1, false);
      break;
    case CommandId::First:
      GoToFirst();
      break;
    case CommandId::Last:
      GoToLast();
      break;
    case CommandId::Forward10:
      JumpBy(kJump);
      break;
    case CommandId::Back10:
      JumpBy(-kJump);
      break;
    case CommandId::GoTo:
      if (HasList()) {
        const std::optional<uint64_t> number =
            AskPictureNumber(window_->Handle(), list_.items.size(), current_ + 1);
        if (number) GoTo(static_cast<size_t>(*number - 1), false);
      }
      break;
    case CommandId::NextFolder:
      OpenSiblingFolder(+1);
      break;
    case CommandId::PreviousFolder:
      OpenSiblingFolder(-1);
      break;
    case CommandId::Fullscreen:
      SetFullScreen(!fullScreen_);
      break;
    case CommandId::Slideshow:
      if (slideShow_) {
        StopSlideshow();
      } else {
        StartSlideshow();
      }
      break;
    case CommandId::AlwaysOnTop:
      ToggleSetting(settings_.alwaysOnTop, id);
      if (window_) window_->SetTopmost(settings_.alwaysOnTop);
      break;
    case CommandId::ShowList:
      SetListShown(!listShown_);
      break;
    case CommandId::PinBars:
      ToggleSetting(settings_.pinBars, id);
      ShowBars(true);
      ArmHideTimer();
      break;
    case CommandId::Open:
      ChooseFile();
      break;
    case CommandId::OpenFolder:
      ChooseFolder();
      break;
    case CommandId::ShortcutList:
      ShowShortcutList();
      break;
    case CommandId::About:
      ShowAbout();
      break;
    case CommandId::ShowInfo:
      ToggleInfo();
      break;
    default:
      if (!RunViewCommand(id)) return;
  }
  ApplyAppearance();
}

bool MainWindow::RunViewCommand(CommandId id) {
  const bool open = HasList();
  switch (id) {
    case CommandId::ZoomFit:
    case CommandId::ZoomOriginal:
    case CommandId::FitWidth:
    case CommandId::FitHeight:
    case CommandId::FitFill:
      SetFit(id);
      return true;
    case CommandId::ZoomIn:
    case CommandId::ZoomOut:
      if (open) Zoom(id == CommandId::ZoomIn ? +1 : -1);
      return true;
    case CommandId::ZoomLock:
      ToggleSetting(settings_.zoomLock, id);
      return true;
    case CommandId::SinglePage:
    case CommandId::TwoPages:
    case CommandId::Webtoon:
      SetPageMode(id);
      return true;
    case CommandId::RightToLeft:
      ToggleSetting(settings_.rightToLeft, id);
      if (open && settings_.pageMode == PageMode::TwoPages) ShowCurrent(false, false);
      return true;
    case CommandId::RotateRight:
    case CommandId::RotateLeft:
      if (open && !Webtoon()) pictureView_->Rotate(id == CommandId::RotateRight ? +1 : -1);
      return true;
    case CommandId::FlipHorizontal:
    case CommandId::FlipVertical:
      if (open && !Webtoon()) {
        pictureView_->Flip(id == CommandId::FlipHorizontal ? FlipAxis::Horizontal : FlipAxis::Vertical);
      }
      return true;
    case CommandId::PlayPause:
      if (pictureView_->HasAnimation()) {
        pictureView_->SetAnimationPaused(!pictureView_->IsAnimationPaused());
        Quarlo::View::Trace(pictureView_->IsAnimationPaused() ? "animation paused" : "animation playing");
      }
      return true;
    default:
      return false;
  }
}

void MainWindow::SetFit(CommandId id) {
  settings_.fitMode = FitModeOf(id);
  if (Webtoon()) {
    webtoonView_->SetWidthMode(settings_.fitMode);
  } else {
    pictureView_->SetFitMode(settings_.fitMode);
  }
  if (settings_.notices && HasList()) Notice(Label(CommandOfFitMode(settings_.fitMode)));
}

void MainWindow::Zoom(int direction) {
  double zoom = 0;
  if (Webtoon()) {
    webtoonView_->ZoomStrip(direction);
    zoom = webtoonView_->EffectiveZoom();
  } else {
    pictureView_->ZoomStep(direction);
    zoom = pictureView_->Zoom();
  }
  if (settings_.notices) Notice(FormatText(kZoomPercent, {std::to_string(ZoomPercent(zoom))}));
}

void MainWindow::SetPageMode(CommandId id) {
  const bool wasWebtoon = Webtoon();
  settings_.pageMode = PageModeOf(id);
  if (HasList()) {
    if (Webtoon()) {
      pictureView_->Clear();
      RefreshChrome();
      webtoonView_->Relayout();
      GoTo(current_);
    } else {
      if (wasWebtoon) current_ = webtoonView_->FocusIndex();
      RefreshChrome();
      ShowCurrent(true, false);
    }
  }
  NoticeOnOff(id, true);
}

void MainWindow::ToggleSetting(bool& setting, CommandId id) {
  setting = !setting;
  NoticeOnOff(id, setting);
}

void MainWindow::NoticeOnOff(CommandId id, bool on) {
  if (settings_.notices) Notice(FormatText(on ? kSettingOn : kSettingOff, {Label(id)}));
}

KeyContext MainWindow::CurrentKeyContext() const {
  KeyContext context;
  if (window_) {
    const Widget* focused = window_->Focused();
    context.focusTakesText = focused && (focused->AcceptsIme() || focused->WantsSystemKeys());
    context.buttonFocusShown = focused && window_->FocusVisible() && focused->Role() == Role::Button;
  }
  context.imageListShown = listShown_;
  context.listOpen = HasList();
  context.rightToLeft = settings_.rightToLeft;
  context.pageMode = settings_.pageMode;
  return context;
}

bool MainWindow::OnKey(const KeyEvent& event) {
  const KeyDecision decision = DecideKey(event, CurrentKeyContext(), keyMap_);
  switch (decision.action) {
    case KeyAction::PassOn:
      return false;
    case KeyAction::EscRule:
      EscRule();
      return true;
    case KeyAction::ScrollUp:
    case KeyAction::ScrollDown: {
      const float dy = decision.action == KeyAction::ScrollUp ? -kKeyScrollStep : kKeyScrollStep;
      if (Webtoon()) {
        webtoonView_->ScrollBy(0, dy);
      } else {
        pictureView_->ScrollBy(0, dy);
      }
      return true;
    }
    case KeyAction::Run:
      RunCommand(decision.command);
      return true;
    case KeyAction::Swallow:
      return true;
  }
  return false;
}

}  // namespace App
