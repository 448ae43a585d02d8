// Layout pass cost of a settings-dialog-sized tree and larger: a full relayout (every widget measures
// again, as after a DPI change) is the reference; a pass after one leaf changed should touch only the
// path to the root; a hit test walks one branch.

#include <benchmark/benchmark.h>

#include <memory>

#include "widget/grid.h"
#include "widget/host.h"
#include "widget/scroll_viewer.h"
#include "widget/stack.h"

namespace {

using namespace Quarlo::Widget;

// Fixed content size, like a label whose text is already laid out.
class Leaf : public Widget {
 public:
  Size MeasureOverride(Size) override { return {120, 24}; }
};

struct Tree {
  Host host;
  Widget* lastLeaf = nullptr;

  explicit Tree(int rows) {
    host.SetClientSize({800, 600});
    auto* viewer = static_cast<ScrollViewer*>(host.SetRoot(std::make_unique<ScrollViewer>()));
    auto* stack = static_cast<Stack*>(viewer->AddChild(std::make_unique<Stack>(true, 2)));
    for (int r = 0; r < rows; ++r) {
      auto grid = std::make_unique<Grid>();
      grid->AddColumn(TrackDefinition::Auto());
      grid->AddColumn(TrackDefinition::Star());
      grid->AddColumn(TrackDefinition::Pixel(80));
      for (int c = 0; c < 3; ++c) {
        lastLeaf = grid->AddChildAt(std::make_unique<Leaf>(), 0, c);
      }
      stack->AddChild(std::move(grid));
    }
    host.UpdateLayout();
  }
};

void FullRelayout(benchmark::State& state) {
  Tree tree(static_cast<int>(state.range(0)));
  bool large = false;
  for (auto _ : state) {
    large = !large;
    tree.host.SetDpi(large ? 144 : 96);
    tree.host.UpdateLayout();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * 4);
}

void RelayoutAfterOneLeafChanged(benchmark::State& state) {
  Tree tree(static_cast<int>(state.range(0)));
  bool wide = false;
  for (auto _ : state) {
    wide = !wide;
    tree.lastLeaf->SetMargin(wide ? 4 : 0, 0, 0, 0);
    tree.host.UpdateLayout();
  }
}

void HitTestDeepestRow(benchmark::State& state) {
  Tree tree(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(tree.host.Root()->HitTest({700, 10}));
  }
}

BENCHMARK(FullRelayout)->Arg(50)->Arg(1000);
BENCHMARK(RelayoutAfterOneLeafChanged)->Arg(50)->Arg(1000);
BENCHMARK(HitTestDeepestRow)->Arg(50)->Arg(1000);

}  // namespace
