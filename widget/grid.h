#pragma once
// A panel of rows and columns. Tracks are a fixed number of DIPs (Pixel), as large as their content
// (Auto), or a weighted share of the space left over (Star). Children sit in a cell and may span
// several tracks; a child without a cell is in (0, 0).

#include <concepts>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "widget/widget.h"

namespace Quarlo::Widget {

enum class TrackKind : int32_t { Pixel = 0, Auto = 1, Star = 2 };

struct TrackDefinition {
  TrackKind kind = TrackKind::Star;
  float value = 1;  // DIPs for Pixel, weight for Star
  float minimum = 0;
  float maximum = kUnbounded;

  static TrackDefinition Pixel(float dips) { return {TrackKind::Pixel, dips}; }
  static TrackDefinition Auto() { return {TrackKind::Auto, 0}; }
  static TrackDefinition Star(float weight = 1) { return {TrackKind::Star, weight}; }
};

struct GridCell {
  int32_t row = 0;
  int32_t column = 0;
  int32_t rowSpan = 1;
  int32_t columnSpan = 1;
};

// Resolves track sizes along one axis: Pixel and Auto tracks first, then Star tracks share what is
// left of `available` (or, unbounded, grow until every Star track holds its content). Exposed for tests.
std::vector<float> ResolveTrackSizes(const std::vector<TrackDefinition>& tracks,
                                     const std::vector<float>& autoSizes, float available, float spacing);

class Grid : public Widget {
 public:
  Grid() = default;

  void AddRow(TrackDefinition track);
  void AddColumn(TrackDefinition track);
  void SetSpacing(float rowGap, float columnGap);
  // Adds the child and records its cell; null when AddChild refused it (the child stays with the caller).
  template <std::derived_from<Widget> T>
  T* AddChildAt(std::unique_ptr<T>&& child, int32_t row, int32_t column, int32_t rowSpan = 1,
                int32_t columnSpan = 1) {
    T* added = AddChild(std::move(child));
    if (added) {
      SetCell(added, GridCell{row, column, rowSpan, columnSpan});
    }
    return added;
  }

  // Resolved sizes of the last layout pass.
  const std::vector<float>& RowSizes() const { return rowSizes; }
  const std::vector<float>& ColumnSizes() const { return columnSizes; }

  const char* ClassName() const override;
  bool IsHitTestVisible() const override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;

 private:
  struct Placement {
    int32_t row = 0;
    int32_t column = 0;
    int32_t rowSpan = 1;
    int32_t columnSpan = 1;
  };

  void SetCell(Widget* child, GridCell cell);
  // The cell of a child, clamped to the tracks that exist.
  Placement PlacementOf(Widget* child);
  void PruneCells();

  std::vector<TrackDefinition> rows;
  std::vector<TrackDefinition> columns;
  // Keyed by the child's link id, which is never reused, so a later widget at the same address
  // cannot inherit the cell of a removed one.
  std::unordered_map<uint32_t, GridCell> cells;
  float rowSpacing = 0;
  float columnSpacing = 0;
  std::vector<float> autoRowSizes;
  std::vector<float> autoColumnSizes;
  std::vector<float> rowSizes;
  std::vector<float> columnSizes;
};

}  // namespace Quarlo::Widget
