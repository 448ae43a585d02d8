// Moving through the open list: paging by picture or by spread, jumps that clamp to the list, and what
// paging past either end does.

#include <algorithm>
#include <optional>

#include "app/main_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "views/page_layout.h"
#include "views/webtoon_view.h"

namespace App {

using Quarlo::View::Text;

namespace {

constexpr int kFirstImage = 43;
constexpr int kLastImage = 44;
// In the strip, a page is most of the viewport, and never less than this many DIPs.
constexpr double kStripPageShare = 0.9;
constexpr double kMinStripPage = 100;

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
  // Wrapping around, the next folder and the end card join here as they are built; until then every
  // end-of-list rule stays where it is and says so, as Stop does.
  Notice(Text(atEnd ? kLastImage : kFirstImage));
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
