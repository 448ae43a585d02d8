// Grid: track resolution and the two-pass measure (columns first, then rows at the resolved widths).

#include "widget/grid.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget {

namespace {

// Star tracks whose clamp changes their share are frozen and the rest re-shared, at most this often.
constexpr int kStarPasses = 4;

float ClampTrack(const TrackDefinition& t, float v) { return ClampLength(v, t.minimum, t.maximum); }

float PositiveWeight(const TrackDefinition& t) {
  return t.kind == TrackKind::Star ? std::max(t.value, 0.0f) : 0;
}

// An empty definition list acts as one Star track of weight 1.
const std::vector<TrackDefinition>& Effective(const std::vector<TrackDefinition>& tracks) {
  static const std::vector<TrackDefinition> single{TrackDefinition::Star(1)};
  return tracks.empty() ? single : tracks;
}

void ShareRemaining(const std::vector<TrackDefinition>& tracks, float remaining, std::vector<float>& sizes) {
  std::vector<bool> frozen(tracks.size(), false);
  for (int pass = 0; pass < kStarPasses; ++pass) {
    float total = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
      total += frozen[i] ? 0 : PositiveWeight(tracks[i]);
    }
    if (!(total > 0)) {
      return;
    }
    bool anyFrozen = false;
    for (size_t i = 0; i < tracks.size(); ++i) {
      float weight = PositiveWeight(tracks[i]);
      if (frozen[i] || weight <= 0) {
        continue;
      }
      float proposed = remaining * weight / total;
      sizes[i] = ClampTrack(tracks[i], proposed);
      if (sizes[i] != proposed) {
        // Later tracks of this pass already see the reduced remainder; the total stays as it was.
        frozen[i] = true;
        anyFrozen = true;
        remaining = std::max(remaining - sizes[i], 0.0f);
      }
    }
    if (!anyFrozen) {
      return;
    }
  }
}

struct Contribution {
  int32_t start = 0;
  int32_t span = 1;
  float length = 0;
};

// Raises the auto sizes of one axis from the children's desired lengths: single-track children first,
// then the excess of each spanning child, shared equally among its spanned tracks that are not Pixel.
void CollectAutoSizes(const std::vector<TrackDefinition>& tracks, float spacing,
                      const std::vector<Contribution>& contributions, std::vector<float>& autos) {
  for (const Contribution& c : contributions) {
    if (c.span == 1) {
      autos[c.start] = std::max(autos[c.start], c.length);
    }
  }
  for (const Contribution& c : contributions) {
    if (c.span == 1) {
      continue;
    }
    // Pixel tracks contribute their fixed size, not a content size they never use.
    float covered = spacing * static_cast<float>(c.span - 1);
    int32_t flexible = 0;
    for (int32_t i = c.start; i < c.start + c.span; ++i) {
      bool pixel = tracks[i].kind == TrackKind::Pixel;
      covered += pixel ? ClampTrack(tracks[i], tracks[i].value) : autos[i];
      flexible += pixel ? 0 : 1;
    }
    float extra = c.length - covered;
    if (extra <= 0 || flexible == 0) {
      continue;
    }
    for (int32_t i = c.start; i < c.start + c.span; ++i) {
      if (tracks[i].kind != TrackKind::Pixel) {
        autos[i] += extra / static_cast<float>(flexible);
      }
    }
  }
}

// The length of spanned tracks plus the gaps between them.
float SpanLength(const std::vector<float>& sizes, int32_t start, int32_t span, float spacing) {
  float length = spacing * static_cast<float>(span - 1);
  for (int32_t i = start; i < start + span; ++i) {
    length += sizes[i];
  }
  return length;
}

// The constraint for a child along one axis: the spanned Pixel sizes when every spanned track is Pixel.
float PixelConstraint(const std::vector<TrackDefinition>& tracks, int32_t start, int32_t span,
                      float spacing) {
  float length = spacing * static_cast<float>(span - 1);
  for (int32_t i = start; i < start + span; ++i) {
    if (tracks[i].kind != TrackKind::Pixel) {
      return kUnbounded;
    }
    length += ClampTrack(tracks[i], tracks[i].value);
  }
  return length;
}

float Total(const std::vector<float>& sizes, float spacing) {
  float sum = sizes.empty() ? 0 : spacing * static_cast<float>(sizes.size() - 1);
  for (float s : sizes) {
    sum += s;
  }
  return sum;
}

std::vector<float> Starts(const std::vector<float>& sizes, float spacing) {
  std::vector<float> starts(sizes.size(), 0);
  float at = 0;
  for (size_t i = 0; i < sizes.size(); ++i) {
    starts[i] = at;
    at += sizes[i] + spacing;
  }
  return starts;
}

int32_t ClampIndex(int32_t index, size_t count) {
  return std::min(std::max(index, 0), static_cast<int32_t>(count) - 1);
}

int32_t ClampSpan(int32_t span, int32_t start, size_t count) {
  return std::min(std::max(span, 1), static_cast<int32_t>(count) - start);
}

}  // namespace

std::vector<float> ResolveTrackSizes(const std::vector<TrackDefinition>& tracks,
                                     const std::vector<float>& autoSizes, float available, float spacing) {
  size_t n = tracks.size();
  std::vector<float> sizes(n, 0);
  float fixed = n > 0 ? spacing * static_cast<float>(n - 1) : 0;
  float weights = 0;
  for (size_t i = 0; i < n; ++i) {
    const TrackDefinition& t = tracks[i];
    float autoSize = i < autoSizes.size() ? autoSizes[i] : 0;
    if (t.kind == TrackKind::Pixel) {
      sizes[i] = ClampTrack(t, t.value);
    } else if (t.kind == TrackKind::Auto) {
      sizes[i] = ClampTrack(t, autoSize);
    } else {
      sizes[i] = ClampTrack(t, 0);
      weights += PositiveWeight(t);
      continue;
    }
    fixed += sizes[i];
  }
  if (!(weights > 0)) {
    return sizes;
  }
  if (std::isinf(available)) {
    // Unbounded: every Star track grows in proportion until the one with the most content per weight fits.
    float ratio = 0;
    for (size_t i = 0; i < n; ++i) {
      float weight = PositiveWeight(tracks[i]);
      if (weight > 0) {
        ratio = std::max(ratio, (i < autoSizes.size() ? autoSizes[i] : 0) / weight);
      }
    }
    for (size_t i = 0; i < n; ++i) {
      float weight = PositiveWeight(tracks[i]);
      if (weight > 0) {
        sizes[i] = ClampTrack(tracks[i], ratio * weight);
      }
    }
    return sizes;
  }
  ShareRemaining(tracks, std::max(available - fixed, 0.0f), sizes);
  return sizes;
}

void Grid::AddRow(TrackDefinition track) {
  rows.push_back(track);
  InvalidateMeasure();
}

void Grid::AddColumn(TrackDefinition track) {
  columns.push_back(track);
  InvalidateMeasure();
}

void Grid::SetSpacing(float rowGap, float columnGap) {
  rowSpacing = rowGap;
  columnSpacing = columnGap;
  InvalidateMeasure();
}

void Grid::SetCell(Widget* child, GridCell cell) { cells[child->Link()->id] = cell; }

const char* Grid::ClassName() const { return "Grid"; }

bool Grid::IsHitTestVisible() const { return false; }

Grid::Placement Grid::PlacementOf(Widget* child) {
  GridCell cell;
  auto found = cells.find(child->Link()->id);
  if (found != cells.end()) {
    cell = found->second;
  }
  const auto& rowTracks = Effective(rows);
  const auto& columnTracks = Effective(columns);
  Placement p;
  p.row = ClampIndex(cell.row, rowTracks.size());
  p.column = ClampIndex(cell.column, columnTracks.size());
  p.rowSpan = ClampSpan(cell.rowSpan, p.row, rowTracks.size());
  p.columnSpan = ClampSpan(cell.columnSpan, p.column, columnTracks.size());
  return p;
}

void Grid::PruneCells() {
  if (cells.size() <= Children().size()) {
    return;
  }
  std::unordered_map<uint32_t, GridCell> kept;
  for (const auto& child : Children()) {
    auto found = cells.find(child->Link()->id);
    if (found != cells.end()) {
      kept.insert(*found);
    }
  }
  cells.swap(kept);
}

Size Grid::MeasureOverride(Size available) {
  PruneCells();
  const auto& rowTracks = Effective(rows);
  const auto& columnTracks = Effective(columns);

  std::vector<Contribution> widths;
  for (const auto& child : Children()) {
    if (!child->IsVisible()) {
      continue;
    }
    Placement p = PlacementOf(child.get());
    float w = PixelConstraint(columnTracks, p.column, p.columnSpan, columnSpacing);
    Size d = child->Measure(Size{w, kUnbounded});
    widths.push_back({p.column, p.columnSpan, d.width});
  }
  autoColumnSizes.assign(columnTracks.size(), 0);
  CollectAutoSizes(columnTracks, columnSpacing, widths, autoColumnSizes);
  columnSizes = ResolveTrackSizes(columnTracks, autoColumnSizes, available.width, columnSpacing);

  std::vector<Contribution> heights;
  for (const auto& child : Children()) {
    if (!child->IsVisible()) {
      continue;
    }
    Placement p = PlacementOf(child.get());
    float w = SpanLength(columnSizes, p.column, p.columnSpan, columnSpacing);
    float h = PixelConstraint(rowTracks, p.row, p.rowSpan, rowSpacing);
    Size d = child->Measure(Size{w, h});
    heights.push_back({p.row, p.rowSpan, d.height});
  }
  autoRowSizes.assign(rowTracks.size(), 0);
  CollectAutoSizes(rowTracks, rowSpacing, heights, autoRowSizes);
  rowSizes = ResolveTrackSizes(rowTracks, autoRowSizes, available.height, rowSpacing);

  return Size{Total(columnSizes, columnSpacing), Total(rowSizes, rowSpacing)};
}

void Grid::ArrangeOverride(Size final) {
  columnSizes = ResolveTrackSizes(Effective(columns), autoColumnSizes, final.width, columnSpacing);
  rowSizes = ResolveTrackSizes(Effective(rows), autoRowSizes, final.height, rowSpacing);
  std::vector<float> columnStarts = Starts(columnSizes, columnSpacing);
  std::vector<float> rowStarts = Starts(rowSizes, rowSpacing);
  for (const auto& child : Children()) {
    if (!child->IsVisible()) {
      continue;
    }
    Placement p = PlacementOf(child.get());
    child->Arrange(Rect{columnStarts[p.column], rowStarts[p.row],
                        SpanLength(columnSizes, p.column, p.columnSpan, columnSpacing),
                        SpanLength(rowSizes, p.row, p.rowSpan, rowSpacing)});
  }
}

}  // namespace Quarlo::Widget
