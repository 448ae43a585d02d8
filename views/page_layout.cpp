#include "views/page_layout.h"

#include <algorithm>
#include <cmath>

namespace App {

using Quarlo::Widget::Size;

namespace {

// Collects wanted indices in order, leaving out indices outside the list and repeats.
class WantedList {
 public:
  explicit WantedList(size_t count) : count_(count) {}

  void Add(size_t index) {
    if (index >= count_ || std::find(indices_.begin(), indices_.end(), index) != indices_.end()) return;
    indices_.push_back(index);
  }

  void AddSpread(const Spread& spread) {
    for (size_t i = 0; i < spread.count; ++i) Add(spread.first + i);
  }

  std::vector<size_t> Take() { return std::move(indices_); }

 private:
  size_t count_;
  std::vector<size_t> indices_;
};

bool UsablePage(const Size& page) {
  return std::isfinite(page.width) && std::isfinite(page.height) && page.width > 0 && page.height > 0;
}

}  // namespace

bool IsWideRatio(double heightOverWidth) { return heightOverWidth > 0 && heightOverWidth < 1; }

std::vector<size_t> SpreadStarts(size_t count, bool coverAlone, bool wideAlone, const WideTest& isWide) {
  std::vector<size_t> starts;
  if (count == 0) return starts;
  size_t b = 0;
  if (coverAlone) {
    starts.push_back(0);
    if (count < 2) return starts;
    b = 1;
  }
  bool checkWide = wideAlone && isWide;
  while (b < count) {
    starts.push_back(b);
    bool alone = b + 1 >= count || (checkWide && (isWide(b) || isWide(b + 1)));
    b += alone ? 1 : 2;
  }
  return starts;
}

Spread SpreadAt(const std::vector<size_t>& starts, size_t count, size_t index) {
  if (starts.empty() || count == 0) return {0, 1};
  size_t i = std::min(index, count - 1);
  auto after = std::upper_bound(starts.begin(), starts.end(), i);
  // Starts always begin with 0; a list that does not is answered picture by picture.
  if (after == starts.begin()) return {i, 1};
  size_t first = *(after - 1);
  size_t next = after == starts.end() ? count : std::min(*after, count);
  return {first, next > first + 1 ? next - first : 1};
}

Pagination Paginate(PageMode mode, size_t count, bool coverAlone, bool wideAlone, const WideTest& isWide) {
  Pagination pages{mode, count, {}};
  if (mode == PageMode::TwoPages) pages.starts = SpreadStarts(count, coverAlone, wideAlone, isWide);
  return pages;
}

Spread SpreadOf(const Pagination& pages, size_t index) {
  if (pages.count == 0) return {0, 1};
  if (pages.mode == PageMode::TwoPages) return SpreadAt(pages.starts, pages.count, index);
  return {std::min(index, pages.count - 1), 1};
}

std::optional<size_t> ForwardTarget(const Pagination& pages, size_t current) {
  if (pages.count == 0) return std::nullopt;
  Spread shown = SpreadOf(pages, current);
  size_t target = shown.first + shown.count;
  if (target >= pages.count) return std::nullopt;
  return target;
}

std::optional<size_t> BackwardTarget(const Pagination& pages, size_t current) {
  if (pages.count == 0) return std::nullopt;
  size_t at = std::min(current, pages.count - 1);
  if (at == 0) return std::nullopt;
  return SpreadOf(pages, at - 1).first;
}

size_t LandingIndex(const Pagination& pages, size_t index) {
  if (pages.count == 0) return 0;
  return SpreadOf(pages, index).first;
}

std::vector<size_t> WantedPictures(const Pagination& pages, size_t current) {
  WantedList wanted(pages.count);
  if (pages.count == 0) return wanted.Take();
  if (pages.mode != PageMode::TwoPages) {
    size_t c = std::min(current, pages.count - 1);
    wanted.Add(c);
    wanted.Add(c + 1);
    wanted.Add(c + 2);
    if (c > 0) wanted.Add(c - 1);
    wanted.Add(c + 3);
    return wanted.Take();
  }
  Spread shown = SpreadOf(pages, current);
  wanted.AddSpread(shown);
  Spread next = SpreadOf(pages, std::min(shown.first + shown.count, pages.count - 1));
  wanted.AddSpread(next);
  wanted.Add(next.first + next.count);
  wanted.Add(next.first + next.count + 1);
  if (shown.first > 0) wanted.AddSpread(SpreadOf(pages, shown.first - 1));
  return wanted.Take();
}

std::vector<size_t> WantedStripPictures(size_t first, size_t end, size_t focus, size_t count) {
  WantedList wanted(count);
  end = std::min(end, count);
  if (first >= end) return wanted.Take();
  focus = std::clamp(focus, first, end - 1);
  wanted.Add(focus);
  for (size_t i = 1;; ++i) {
    bool upward = i <= focus - first;
    if (focus + i >= end && !upward) break;
    wanted.Add(focus + i);
    if (upward) wanted.Add(focus - i);
  }
  return wanted.Take();
}

PageLayout LayOutPages(const std::vector<Size>& pages, float gap) {
  PageLayout layout;
  double height = 0;
  for (const Size& page : pages) {
    if (UsablePage(page)) height = std::max(height, static_cast<double>(page.height));
  }
  if (height <= 0) return layout;
  double spacing = std::isfinite(gap) && gap > 0 ? gap : 0.0;
  double x = 0;
  double width = 0;
  for (size_t i = 0; i < pages.size(); ++i) {
    if (!UsablePage(pages[i])) continue;
    if (!layout.placements.empty()) x += width + spacing;
    double scale = height / pages[i].height;
    width = pages[i].width * scale;
    layout.placements.push_back(
        {static_cast<float>(x), 0.0f, static_cast<float>(width), static_cast<float>(height), scale, i});
  }
  layout.content = {static_cast<float>(x + width), static_cast<float>(height)};
  return layout;
}

}  // namespace App
