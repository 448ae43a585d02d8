// The frame of the viewer window and what it shows: the picture view, the webtoon strip and the message
// panel stacked in the picture area, the notice above them; which of them is visible, the title, and the
// appearance settings the views follow. The bars, the side arrows, the panels and the end card join the
// frame as they are built.

#include <memory>

#include "app/main_window.h"
#include "app/message_panel.h"
#include "app/notice_bubble.h"
#include "app/viewer_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "views/picture_view.h"
#include "views/view_appearance.h"
#include "views/webtoon_view.h"
#include "widget/grid.h"
#include "widget/list/tile_view.h"

namespace App {

using namespace Quarlo::Widget;
using Quarlo::View::Text;

std::unique_ptr<Widget> MainWindow::BuildFrame() {
  auto frame = std::make_unique<Grid>();
  frame->AddRow(TrackDefinition::Star());
  frame->AddColumn(TrackDefinition::Star());
  pictureView_ = frame->AddChild(std::make_unique<PictureView>());
  pictureView_->SetLoadingPermission([this] { return !Webtoon(); });
  pictureView_->SetFitMode(settings_.fitMode);
  webtoonView_ = frame->AddChild(std::make_unique<WebtoonView>());
  webtoonView_->SetSources(
      [this] { return list_.items.size(); },
      [this](size_t index) { return cache_ ? cache_->Get(index) : nullptr; },
      [this](size_t index) {
        const Quarlo::View::PicturePtr picture = cache_ ? cache_->Get(index) : nullptr;
        return picture && picture->width > 0 ? static_cast<double>(picture->height) / picture->width : 0.0;
      });
  webtoonView_->SetOnChanged([this] { OnStripChanged(); });
  frame->AddChild(BuildListView());
  messagePanel_ = frame->AddChild(std::make_unique<MessagePanel>());
  notice_ = frame->AddChild(std::make_unique<NoticeBubble>());
  notice_->SetVisible(false);
  noticeTimer_ = 0;
  frame_ = frame.get();
  return frame;
}

void MainWindow::RefreshChrome() {
  const bool open = HasList();
  pictureView_->SetVisible(open && !Webtoon() && !messageShown_ && !listShown_);
  webtoonView_->SetVisible(open && Webtoon() && !messageShown_ && !listShown_);
  listView_->SetVisible(open && listShown_ && !messageShown_);
  messagePanel_->SetVisible(messageShown_);
  messagePanel_->SetTexts(headline_, detail_);
  UpdateTitle();
}

std::string MainWindow::CurrentName() const {
  if (current_ >= list_.items.size()) return {};
  const std::string& name = list_.items[current_].name;
  // An archive entry inside a subfolder is named by its own file name.
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

void MainWindow::UpdateTitle() {
  if (!window_) return;
  const std::string name = HasList() ? CurrentName() : std::string();
  window_->SetTitle(name.empty() ? Text(0) : name + " - " + Text(0));
}

void MainWindow::ApplyAppearance() {
  const ViewAppearance appearance = AppearanceFromSettings(settings_);
  pictureView_->SetAppearance(appearance);
  pictureView_->SetZoomLocked(settings_.zoomLock);
  webtoonView_->SetAppearance(appearance);
  webtoonView_->SetGap(static_cast<float>(settings_.pageGap));
}

void MainWindow::Notice(const std::string& text) {
  Quarlo::View::Trace("notice " + text);
  notice_->SetText(text);
  notice_->SetVisible(true);
  if (noticeTimer_ != 0) frame_->CancelTimer(noticeTimer_);
  noticeTimer_ = frame_->StartTimer(
      kNoticeSeconds, [this] { HideNotice(); }, false);
}

void MainWindow::HideNotice() {
  noticeTimer_ = 0;
  notice_->SetVisible(false);
}

}  // namespace App
