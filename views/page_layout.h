#pragma once
// Which pictures are shown together and how: the page modes, the grouping of a list into two-page
// spreads (cover alone, wide pictures alone), paging by spread, joining the pages of a spread into
// one content box, and the order in which pictures around the current one are asked of the cache.
// Pure functions of the list size, the settings and the picture shapes known at the time; spreads
// are recomputed whenever they are needed because the pairing changes as pictures are decoded.

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "core/setting_choices.h"
#include "widget/geometry.h"

namespace App {

// The settings record's PageMode: one type from the stored setting to the pagination.
using Quarlo::View::PageMode;

// Pictures shown together: the first list index and how many (1 or 2).
struct Spread {
  size_t first = 0;
  size_t count = 1;
  friend bool operator==(const Spread&, const Spread&) = default;
};

// Whether a picture with this height / width ratio is wide (stands alone in a spread). The ratio is
// 0 while the picture's size is unknown, so an unknown picture is never wide.
bool IsWideRatio(double heightOverWidth);

// Answers whether the list entry at an index is known to be a wide picture.
using WideTest = std::function<bool(size_t index)>;

// The first index of every spread of a list of count pictures, ascending, starting at 0. With
// coverAlone picture 0 stands alone; with wideAlone a wide picture and the one before it stand alone.
std::vector<size_t> SpreadStarts(size_t count, bool coverAlone, bool wideAlone, const WideTest& isWide);

// The spread holding index (clamped into the list); (0, 1) for an empty list.
Spread SpreadAt(const std::vector<size_t>& starts, size_t count, size_t index);

// A list as the viewer pages through it in one mode. Built by the controller each time it pages,
// shows or prefetches. Only two-page mode groups pictures; the other modes step one by one.
struct Pagination {
  PageMode mode = PageMode::SinglePage;
  size_t count = 0;
  std::vector<size_t> starts;  // SpreadStarts in two-page mode, empty otherwise
};

Pagination Paginate(PageMode mode, size_t count, bool coverAlone, bool wideAlone, const WideTest& isWide);

// The spread shown for an index (clamped into the list).
Spread SpreadOf(const Pagination& pages, size_t index);

// "Next": the first index of the following spread; none when the end of the list is reached.
// Both take the current index (the first index of the shown spread).
std::optional<size_t> ForwardTarget(const Pagination& pages, size_t current);
// "Previous": the first index of the spread before; none when the start of the list is reached.
std::optional<size_t> BackwardTarget(const Pagination& pages, size_t current);

// Where a jump to an index lands: clamped into the list and moved to the start of its spread.
size_t LandingIndex(const Pagination& pages, size_t index);

// The pictures to keep decoded around the current index, nearest need first. Single page (and
// webtoon without a strip range): current, +1, +2, -1, +3. Two pages: the current spread, the next
// spread, the two pictures after it, and the spread before. Empty for an empty list.
std::vector<size_t> WantedPictures(const Pagination& pages, size_t current);

// The webtoon strip's order: the focus picture, then outwards below and above it within the strip's
// wanted window [first, end); the downward side runs on past end while the upward side still has
// pictures. Indices at or past count are left out.
std::vector<size_t> WantedStripPictures(size_t first, size_t end, size_t focus, size_t count);

// Where one page of a spread sits in the joined content box (content pixels), and the content pixels
// per picture pixel of that page. page is the index of the page in the list given to LayOutPages.
struct PagePlacement {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
  double scale = 1.0;
  size_t page = 0;
};

struct PageLayout {
  std::vector<PagePlacement> placements;  // left-to-right screen order
  Quarlo::Widget::Size content;           // 0 x 0 without pages
};

// Joins pages (picture pixel sizes, left-to-right screen order) into one box: every page is scaled to
// the tallest page's height and the pages are separated by gap content pixels. Pages without a
// positive width and height are left out. Called by the picture view when it is given new pages.
PageLayout LayOutPages(const std::vector<Quarlo::Widget::Size>& pages, float gap);

}  // namespace App
