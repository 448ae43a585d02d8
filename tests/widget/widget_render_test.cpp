// Rendering order, hit testing through nested positions and bounds, coordinate conversions, and the
// default accessibility answers that depend on the tree.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/recording_canvas.h"
#include "widget/canvas.h"
#include "widget/widget.h"

namespace Quarlo::Widget {
namespace {

using Testing::FakeHost;
using Testing::RecordingCanvas;

// Fills its bounds in Paint and draws a line in PaintOverlay, so the recording shows the order.
class Swatch : public Widget {
 public:
  explicit Swatch(float tag) : tag(tag) {}
  void Paint(Canvas& canvas) override {
    canvas.FillRect({0, 0, ActualSize().width, ActualSize().height}, {tag});
  }
  void PaintOverlay(Canvas& canvas) override { canvas.DrawLine({0, 0}, {1, 1}, {tag}, 1); }
  float tag;
};

Swatch* AddSwatch(Widget& parent, float tag, Rect slot) {
  auto* s = static_cast<Swatch*>(parent.AddChild(std::make_unique<Swatch>(tag)));
  s->SetWidth(slot.width);
  s->SetHeight(slot.height);
  s->SetMargin(slot.x, slot.y, 0, 0);
  s->SetHorizontalAlignment(Alignment::Start);
  s->SetVerticalAlignment(Alignment::Start);
  return s;
}

void Layout(Widget& w, Size size) {
  w.Measure(size);
  w.Arrange({0, 0, size.width, size.height});
}

TEST(Render, ParentBelowChildrenBelowOverlayWithBalancedStacks) {
  Swatch root(0.1f);
  AddSwatch(root, 0.2f, {10, 20, 30, 40});
  root.opacity = 0.5f;
  root.SetClipToBounds(true);
  Layout(root, {100, 100});

  RecordingCanvas canvas;
  root.Render(canvas);
  EXPECT_EQ(canvas.Ops(), (std::vector<std::string>{"PushTransform", "PushOpacity", "PushClip", "FillRect",
                                                    "PushTransform", "FillRect", "DrawLine", "PopTransform",
                                                    "DrawLine", "PopClip", "PopOpacity", "PopTransform"}));
  EXPECT_TRUE(canvas.Balanced());
  auto fills = canvas.Calls("FillRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[1].windowRect, (Rect{10, 20, 30, 40}));
  EXPECT_EQ(canvas.Calls("PushOpacity")[0].value, 0.5f);
  EXPECT_EQ(canvas.Calls("PushClip")[0].rect, (Rect{0, 0, 100, 100}));
}

TEST(Render, InvisibleOrTransparentSubtreesDrawNothing) {
  Widget root;
  Swatch* hidden = AddSwatch(root, 0.2f, {0, 0, 10, 10});
  Swatch* transparent = AddSwatch(root, 0.3f, {0, 0, 10, 10});
  AddSwatch(*transparent, 0.4f, {0, 0, 5, 5});
  hidden->SetVisible(false);
  transparent->opacity = 0;
  Layout(root, {50, 50});

  RecordingCanvas canvas;
  root.Render(canvas);
  EXPECT_TRUE(canvas.Calls("FillRect").empty());
  EXPECT_TRUE(canvas.Calls("PushOpacity").empty());
}

TEST(Render, HostPaintsTheLaidOutTree) {
  FakeHost host;
  host.SetClientSize({200, 100});
  Widget* root = host.SetRoot(std::make_unique<Swatch>(0.1f));
  AddSwatch(*root, 0.2f, {5, 6, 7, 8});
  RecordingCanvas canvas = host.Paint();
  auto fills = canvas.Calls("FillRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].windowRect, (Rect{0, 0, 200, 100}));
  EXPECT_EQ(fills[1].windowRect, (Rect{5, 6, 7, 8}));
}

// Places each child at a rectangle of its own, whatever its parent's size, so children can overhang.
class Pinboard : public Widget {
 public:
  template <class W>
  W* Pin(std::unique_ptr<W> child, Rect slot) {
    W* raw = child.get();
    child->SetWidth(slot.width);
    child->SetHeight(slot.height);
    AddChild(std::move(child));
    slots.push_back(slot);
    return raw;
  }
  void ArrangeOverride(Size) override {
    for (size_t i = 0; i < Children().size(); ++i) {
      Children()[i]->Arrange(slots[i]);
    }
  }
  std::vector<Rect> slots;
};

// Root 200×200; a panel at (50, 50) 100×100; inside the panel a child at (10, 10) 20×20 and one at
// (80, 80) 40×40 that overhangs the panel's edge.
struct HitTree {
  Pinboard root;
  Pinboard* panel;
  Swatch* inner;
  Swatch* overhang;

  HitTree() {
    panel = root.Pin(std::make_unique<Pinboard>(), {50, 50, 100, 100});
    inner = panel->Pin(std::make_unique<Swatch>(0), {10, 10, 20, 20});
    overhang = panel->Pin(std::make_unique<Swatch>(0), {80, 80, 40, 40});
    Layout(root, {200, 200});
  }
};

TEST(HitTest, FindsTheDeepestWidgetThroughNestedPositions) {
  HitTree t;
  struct Case {
    Point p;
    Widget* expected;
  };
  const Case cases[] = {
      {{65, 65}, t.inner},       // inner's window rectangle is (60, 60)-(80, 80)
      {{60, 60}, t.inner},       // left and top edges belong to the widget
      {{80, 70}, t.panel},       // the right edge does not
      {{149, 149}, t.overhang},  // the overhang inside the panel
      {{150, 150}, &t.root},     // outside the panel: its overhanging child is not hit either
      {{10, 10}, &t.root},      {{200, 10}, nullptr}, {{-1, 10}, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t.root.HitTest(c.p), c.expected) << c.p.x << "," << c.p.y;
  }
}

TEST(HitTest, TopmostChildWinsAndHiddenOrInertWidgetsAreSkipped) {
  HitTree t;
  Swatch* cover = t.panel->Pin(std::make_unique<Swatch>(0), {0, 0, 100, 100});
  Layout(t.root, {200, 200});
  EXPECT_EQ(t.root.HitTest({65, 65}), cover);

  // Not hit-test visible: the widget itself is never the target, its children still are.
  cover->hitTestVisible = false;
  EXPECT_EQ(t.root.HitTest({65, 65}), t.inner);
  Swatch* button = AddSwatch(*cover, 0, {0, 0, 20, 20});
  Layout(t.root, {200, 200});
  EXPECT_EQ(t.root.HitTest({55, 55}), button);

  cover->SetVisible(false);
  t.inner->SetVisible(false);
  Layout(t.root, {200, 200});
  EXPECT_EQ(t.root.HitTest({65, 65}), t.panel);
}

TEST(Coordinates, LocalWindowAndScreen) {
  HitTree t;
  EXPECT_EQ(t.inner->LocalToWindow({1, 2}), (Point{61, 62}));
  EXPECT_EQ(t.inner->WindowToLocal({61, 62}), (Point{1, 2}));
  EXPECT_EQ(t.inner->ScreenBounds(), (Rect{60, 60, 20, 20}));  // detached: window space is the screen

  FakeHost host;
  host.screenOrigin = {1000, 500};
  host.SetDpi(192);
  Widget* root = host.SetRoot(std::make_unique<Widget>());
  Swatch* child = AddSwatch(*root, 0, {10, 20, 30, 40});
  host.Paint();
  EXPECT_EQ(child->ScreenBounds(), (Rect{1020, 540, 60, 80}));
}

TEST(Coordinates, VisibleBoundsAreCutByClippingAncestors) {
  HitTree t;
  EXPECT_EQ(t.overhang->VisibleBoundsInWindow(), (Rect{130, 130, 40, 40}));
  t.panel->SetClipToBounds(true);
  EXPECT_EQ(t.overhang->VisibleBoundsInWindow(), (Rect{130, 130, 20, 20}));

  // Moved entirely out of a clipping parent: empty, at the last position.
  t.panel->slots[1] = {200, 200, 40, 40};
  t.panel->InvalidateMeasure();
  Layout(t.root, {200, 200});
  EXPECT_EQ(t.overhang->VisibleBoundsInWindow(), (Rect{250, 250, 0, 0}));

  t.panel->SetVisible(false);
  EXPECT_EQ(t.inner->VisibleBoundsInWindow(), (Rect{}));
}

// A list-like widget with virtual items: item 1 and 2 at the top, 3 below 2 (2 is expanded).
class ItemTree : public Widget {
 public:
  int32_t ItemChildCount(ItemId parent) const override { return parent == 0 ? 2 : (parent == 2 ? 1 : 0); }
  ItemId ItemChildAt(ItemId parent, int32_t index) const override {
    return parent == 0 ? static_cast<ItemId>(index + 1) : 3;
  }
  bool ItemInformation(ItemId item, ItemInfo& info) const override {
    info.selected = item != 1;
    info.expandState = item == 2 ? kExpandStateExpanded : 1;
    return true;
  }
};

TEST(AccessibilityDefaults, SelectionWalksExpandedItems) {
  ItemTree tree;
  EXPECT_EQ(tree.Selection(), (std::vector<ItemId>{2, 3}));
}

TEST(AccessibilityDefaults, GroupIsASelectionContainerOnlyForItsOwnRadioButtons) {
  Widget group;
  group.role = Role::Group;
  Widget* pane = group.AddChild(std::make_unique<Widget>());
  Widget* nested = group.AddChild(std::make_unique<Widget>());
  nested->role = Role::List;
  Widget* radioInList = nested->AddChild(std::make_unique<Widget>());
  radioInList->role = Role::RadioButton;
  EXPECT_FALSE(group.IsSelectionContainer());

  Widget* radio = pane->AddChild(std::make_unique<Widget>());
  radio->role = Role::RadioButton;
  EXPECT_TRUE(group.IsSelectionContainer());
  EXPECT_TRUE(nested->IsSelectionContainer());
}

TEST(AccessibilityDefaults, RoleDrivenAnswers) {
  Widget w;
  EXPECT_FALSE(w.IsAccessibilityElement());
  w.toolTip = "Zoom";
  EXPECT_EQ(w.HelpText(), "Zoom");
  w.helpText = "Zoom in";
  EXPECT_EQ(w.HelpText(), "Zoom in");
  w.role = Role::Button;
  EXPECT_TRUE(w.IsAccessibilityElement());
  EXPECT_TRUE(w.SupportsInvoke());
  EXPECT_FALSE(w.SupportsValue());
  w.role = Role::Edit;
  EXPECT_TRUE(w.SupportsValue());
  EXPECT_STREQ(w.ClassName(), "Widget");
}

TEST(AccessibilityDefaults, NameChangeIsRaisedOnlyWhenTheTextDiffers) {
  FakeHost host;
  Widget* root = host.SetRoot(std::make_unique<Widget>());
  root->SetAccessibleName("Pictures");
  root->SetAccessibleName("Pictures");
  EXPECT_EQ(root->AccessibleName(), "Pictures");
  EXPECT_EQ(host.CountEvents(AutomationEvent::NameChanged, root), 1);
}

}  // namespace
}  // namespace Quarlo::Widget
