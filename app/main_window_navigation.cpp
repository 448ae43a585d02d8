// Moving through the open list: paging by picture or by spread, jumps that clamp to the list, what paging
// past either end does (stop, wrap around, the next folder, or the end card that asks), and stepping into
// the folder or archive beside the current source.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "app/end_card.h"
#include "app/main_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "views/page_layout.h"
#include "views/webtoon_view.h"

namespace App {

using Quarlo::View::EndAction;
using Quarlo::View::Text;

namespace {

constexpr int kFirstImage = 43;
constexpr int kLastImage = 44;
constexpr int kNoNextFolder = 45;
constexpr int kNoPreviousFolder = 46;
// The end card's texts: title, first and second button at the end; the same at the start; Close.
constexpr int kCardLastTitle = 58;
constexpr int kCardFirstTitle = 59;
constexpr int kCardToFirst = 60;
constexpr int kCardToLast = 61;
constexpr int kCardNextFolder = 62;
constexpr int kCardPreviousFolder = 63;
constexpr int kCardClose = 64;
// In the strip, a page is most of the viewport, and never less than this many DIPs.
constexpr double kStripPageShare = 0.9;
constexpr double kMinStripPage = 100;

int FolderDirection(bool atEnd) { return atEnd ? +1 : -1; }

}  // namespace

void MainWindow::Navigate(int delta, bool startAtEnd) {
  if (!HasList()) return;
  if (Webtoon()) {
    const double page = std::max(kStripPageShare * webtoonView_->ActualSize().height, kMinStripPage);
    if (!webtoonView_->ScrollBy(0, delta * page)) EndReached(delta > 0);
    return;
  }
  const Pagination pages = CurrentPagination();
  if (delta > 0) {
    const std::optional<size_t> target = ForwardTarget(pages, current_);
    if (target) {
      GoTo(*target, false);
    } else {
      EndReached(true);
    }
    return;
  }
  const std::optional<size_t> target = BackwardTarget(pages, current_);
  if (target) {
    GoTo(*target, startAtEnd);
  } else {
    EndReached(false);
  }
}

void MainWindow::EndReached(bool atEnd) {
  const size_t last = list_.items.empty() ? 0 : list_.items.size() - 1;
  // A running slide show decides for itself: it loops or it ends, whatever the end action says.
  if (slideShow_) {
    if (settings_.slideLoop) {
      GoTo(atEnd ? 0 : last, false);
    } else {
      StopSlideshow();
    }
    return;
  }
  switch (settings_.endAction) {
    case EndAction::Stop:
      Notice(Text(atEnd ? kLastImage : kFirstImage));
      break;
    case EndAction::WrapAround:
      // Wrapping backwards lands on the last picture's far end, as if paging on through it.
      GoTo(atEnd ? 0 : last, !atEnd);
      break;
    case EndAction::NextFolder:
      OpenSiblingFolder(FolderDirection(atEnd));
      break;
    case EndAction::Ask:
      ShowEndCard(atEnd);
      break;
  }
}

void MainWindow::ShowEndCard(bool atEnd) {
  endCardShown_ = true;
  endCardAtEnd_ = atEnd;
  FillEndCard(*endCard_);
  Quarlo::View::Trace(atEnd ? "end card last" : "end card first");
  RefreshChrome();
}

void MainWindow::FillEndCard(EndCard& card) const {
  const bool atEnd = endCardAtEnd_;
  card.SetTexts(Text(atEnd ? kCardLastTitle : kCardFirstTitle), Text(atEnd ? kCardToFirst : kCardToLast),
                Text(atEnd ? kCardNextFolder : kCardPreviousFolder), Text(kCardClose));
  card.SetFolderEnabled(Quarlo::View::SiblingFolder(list_, FolderDirection(atEnd)).has_value());
}

void MainWindow::HideEndCard() {
  if (!endCardShown_) return;
  endCardShown_ = false;
  RefreshChrome();
}

std::unique_ptr<EndCard> MainWindow::BuildEndCard() {
  auto card = std::make_unique<EndCard>();
  card->SetVisible(false);
  // A frame rebuilt for another language or theme shows the card the old one showed.
  if (endCardShown_) FillEndCard(*card);
  card->onOtherEnd = [this] {
    HideEndCard();
    // The last picture opens at its start here, unlike wrapping around, which lands on its far end.
    if (HasList()) GoTo(endCardAtEnd_ ? 0 : list_.items.size() - 1, false);
  };
  card->onFolder = [this] {
    HideEndCard();
    OpenSiblingFolder(FolderDirection(endCardAtEnd_));
  };
  card->onClose = [this] { HideEndCard(); };
  return card;
}

void MainWindow::OpenSiblingFolder(int delta) {
  if (!HasList()) return;
  const std::optional<std::string> sibling = Quarlo::View::SiblingFolder(list_, delta);
  if (!sibling) {
    Notice(Text(delta > 0 ? kNoNextFolder : kNoPreviousFolder));
    return;
  }
  // A sibling that cannot be opened or holds no pictures is reported by Open; the current list stays and
  // no further sibling is tried.
  Open(*sibling);
}

void MainWindow::GoToFirst() { GoTo(0, false); }

void MainWindow::GoToLast() {
  if (HasList()) GoTo(list_.items.size() - 1, false);
}

void MainWindow::JumpBy(long delta) {
  if (!HasList()) return;
  const long last = static_cast<long>(list_.items.size()) - 1;
  GoTo(static_cast<size_t>(std::clamp(static_cast<long>(current_) + delta, 0L, last)), false);
}

}  // namespace App
