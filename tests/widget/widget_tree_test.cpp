// The widget tree on a host: ownership, attachment order, invalidation and repaint scheduling, focus,
// capture, host timers, what the host forgets when widgets leave, and the weak links.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/test_widgets.h"
#include "widget/animator.h"
#include "widget/grid.h"
#include "widget/host.h"
#include "widget/theme.h"
#include "widget/widget.h"

namespace Quarlo::Widget {
namespace {

using Testing::FakeHost;
using Testing::MakeProbe;
using Testing::Probe;

using Log = std::shared_ptr<std::vector<std::string>>;

Log NewLog() { return std::make_shared<std::vector<std::string>>(); }

Probe* AddProbe(Widget& parent, const std::string& name, const Log& log, Size content = {10, 10}) {
  return static_cast<Probe*>(parent.AddChild(MakeProbe(content, name, log)));
}

// A widget that fades, holding its animated member the way controls do.
class Fading : public Widget {
 public:
  AnimatedValue alpha{this, 0};
};

// A host with a root probe, painted once so that layout and the repaint flag are settled.
struct Fixture {
  Log log = NewLog();
  FakeHost host;
  Probe* root;

  Fixture() { root = static_cast<Probe*>(host.SetRoot(MakeProbe({}, "root", log))); }
};

TEST(WidgetTree, InsertedSubtreeIsAttachedChildrenFirst) {
  Fixture f;
  f.log->clear();
  auto branch = MakeProbe({}, "branch", f.log);
  AddProbe(*branch, "leaf", f.log);
  f.root->AddChild(std::move(branch));
  EXPECT_EQ(*f.log, (std::vector<std::string>{"attached leaf", "attached branch"}));
  EXPECT_EQ(f.root->Children()[0]->Children()[0]->GetHost(), &f.host);
  EXPECT_EQ(f.host.CountEvents(AutomationEvent::StructureChanged, f.root), 1);
}

TEST(WidgetTree, RemovedSubtreeIsDetachedChildrenFirstAndHandedBack) {
  Fixture f;
  Probe* branch = AddProbe(*f.root, "branch", f.log);
  Probe* leaf = AddProbe(*branch, "leaf", f.log);
  f.log->clear();

  std::unique_ptr<Widget> owned = f.root->RemoveChild(branch);
  ASSERT_EQ(owned.get(), branch);
  EXPECT_EQ(*f.log, (std::vector<std::string>{"detached leaf", "detached branch"}));
  EXPECT_EQ(branch->Parent(), nullptr);
  EXPECT_EQ(branch->GetHost(), nullptr);
  EXPECT_EQ(leaf->GetHost(), nullptr);
  EXPECT_TRUE(f.root->Children().empty());
}

TEST(WidgetTree, ClearChildrenRemovesLastFirst) {
  Fixture f;
  AddProbe(*f.root, "a", f.log);
  AddProbe(*f.root, "b", f.log);
  f.log->clear();
  f.root->ClearChildren();
  EXPECT_EQ(*f.log, (std::vector<std::string>{"detached b", "detached a"}));
}

TEST(WidgetTree, InsertClampsTheIndex) {
  Widget parent;
  Widget* a = parent.AddChild(std::make_unique<Widget>());
  Widget* b = parent.InsertChild(0, std::make_unique<Widget>());
  Widget* c = parent.InsertChild(99, std::make_unique<Widget>());
  ASSERT_EQ(parent.Children().size(), 3u);
  EXPECT_EQ(parent.Children()[0].get(), b);
  EXPECT_EQ(parent.Children()[1].get(), a);
  EXPECT_EQ(parent.Children()[2].get(), c);
}

TEST(WidgetTree, RefusedInsertionsChangeNothingAndLeaveTheWidgetWithTheCaller) {
  Fixture f;
  Widget parent;
  Grid grid;
  FakeHost other;
  Widget* child = f.root->AddChild(MakeProbe({}));
  Widget* otherRoot = other.SetRoot(MakeProbe({}));
  EXPECT_EQ(parent.AddChild(std::unique_ptr<Widget>()), nullptr);

  // A widget already in a tree, as a child or as a host's root, stays there: handing it over would free it
  // twice. Only a second owning pointer could offer it; the refusal leaves that pointer as it was.
  for (Widget* owned : {child, otherRoot}) {
    std::unique_ptr<Widget> alias(owned);
    EXPECT_EQ(parent.AddChild(std::move(alias)), nullptr);
    EXPECT_EQ(parent.InsertChild(0, std::move(alias)), nullptr);
    EXPECT_EQ(grid.AddChildAt(std::move(alias), 0, 0), nullptr);
    EXPECT_EQ(f.host.SetRoot(std::move(alias)), nullptr);
    EXPECT_EQ(alias.get(), owned);
    static_cast<void>(alias.release());
  }
  EXPECT_EQ(child->Parent(), f.root);
  EXPECT_EQ(f.host.Root(), f.root);
  EXPECT_EQ(other.Root(), otherRoot);
  EXPECT_TRUE(parent.Children().empty());
  EXPECT_TRUE(grid.Children().empty());

  // Nor can a widget become its own descendant; the caller keeps the tree it tried to nest, of its own type.
  std::unique_ptr<Probe> top = MakeProbe({}, "top");
  Probe* topRaw = top.get();
  Widget* middle = top->AddChild(std::make_unique<Widget>());
  EXPECT_EQ(middle->AddChild(std::move(top)), nullptr);
  EXPECT_EQ(top.get(), topRaw);
  EXPECT_TRUE(middle->Children().empty());
  // Accepted, the widget comes back as the type it was given as.
  Probe* placed = f.root->AddChild(std::move(top));
  EXPECT_EQ(placed, topRaw);
  EXPECT_EQ(top, nullptr);

  Widget stranger;
  EXPECT_EQ(parent.RemoveChild(&stranger), nullptr);
  EXPECT_EQ(parent.RemoveChild(nullptr), nullptr);
}

TEST(WidgetTree, AncestorQueries) {
  Widget root;
  Widget* child = root.AddChild(std::make_unique<Widget>());
  Widget* grandchild = child->AddChild(std::make_unique<Widget>());
  EXPECT_TRUE(root.IsAncestorOf(grandchild));
  EXPECT_TRUE(child->IsAncestorOf(grandchild));
  EXPECT_FALSE(grandchild->IsAncestorOf(&root));
  EXPECT_FALSE(root.IsAncestorOf(&root));

  child->SetEnabled(false);
  EXPECT_TRUE(root.IsEnabledInTree());
  EXPECT_FALSE(grandchild->IsEnabledInTree());
  root.SetVisible(false);
  EXPECT_FALSE(grandchild->IsVisibleInTree());
}

TEST(RepaintScheduling, RequestsCoalesceUntilThePaint) {
  Fixture f;
  f.host.Paint();
  int before = f.host.repaintRequests;
  f.root->InvalidateVisual();
  f.root->InvalidateVisual();
  f.root->InvalidateMeasure();
  EXPECT_EQ(f.host.repaintRequests, before + 1);
  EXPECT_TRUE(f.host.IsLayoutDirty());

  f.host.Paint();
  EXPECT_FALSE(f.host.IsLayoutDirty());
  EXPECT_FALSE(f.host.IsRepaintPending());
  f.root->InvalidateVisual();
  EXPECT_EQ(f.host.repaintRequests, before + 2);
}

TEST(RepaintScheduling, LayoutPassTouchesOnlyTheChangedPath) {
  Fixture f;
  Probe* branch = AddProbe(*f.root, "branch", f.log);
  Probe* leaf = AddProbe(*branch, "leaf", f.log);
  Probe* sibling = AddProbe(*f.root, "sibling", f.log);
  f.host.Paint();
  f.host.Paint();
  EXPECT_EQ(f.root->offered.size(), 1u);
  EXPECT_EQ(sibling->arranged.size(), 1u);

  leaf->SetWidth(30);
  f.host.Paint();
  EXPECT_EQ(f.root->offered.size(), 2u);
  EXPECT_EQ(branch->offered.size(), 2u);
  EXPECT_EQ(leaf->offered.size(), 2u);
  EXPECT_EQ(sibling->offered.size(), 1u);
  EXPECT_EQ(sibling->arranged.size(), 1u);
}

// Text that wraps to a second line when it is arranged narrower than one line: it finds out during arrange,
// as a wrapping label or a scroll viewer whose bar appears does, and asks to be measured again.
class Reflowing : public Widget {
 public:
  Size MeasureOverride(Size) override {
    ++measures;
    return {kLineWidth, kLineHeight * static_cast<float>(lines)};
  }
  void ArrangeOverride(Size final) override {
    const int wanted = final.width < kLineWidth ? 2 : 1;
    if (wanted != lines || restless) {
      lines = wanted;
      InvalidateMeasure();
    }
  }

  static constexpr float kLineWidth = 100;
  static constexpr float kLineHeight = 20;
  int lines = 1;
  int measures = 0;
  bool restless = false;  // asks again on every arrange: a layout that never settles
};

TEST(RepaintScheduling, AMeasureInvalidatedDuringArrangeIsLaidOutInTheSamePaint) {
  Fixture f;
  auto* text = static_cast<Reflowing*>(f.root->AddChild(std::make_unique<Reflowing>()));
  text->SetVerticalAlignment(Alignment::Start);
  f.host.SetClientSize({60, 200});
  f.host.Paint();
  EXPECT_EQ(text->lines, 2);
  EXPECT_FLOAT_EQ(text->ActualSize().height, 2 * Reflowing::kLineHeight);
  EXPECT_FALSE(f.host.IsLayoutDirty());
  EXPECT_FALSE(f.host.IsRepaintPending());
}

TEST(RepaintScheduling, ALayoutThatNeverSettlesStopsAtTheBoundAndSaysSoOnce) {
  Fixture f;
  auto* text = static_cast<Reflowing*>(f.root->AddChild(std::make_unique<Reflowing>()));
  text->restless = true;
  testing::internal::CaptureStderr();
  f.host.Paint();
  EXPECT_EQ(text->measures, kMaxLayoutPasses);
  f.host.Paint();
  EXPECT_EQ(text->measures, 2 * kMaxLayoutPasses);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "layout did not settle after " + std::to_string(kMaxLayoutPasses) +
                      " passes; painting the last one\n");
}

TEST(RepaintScheduling, ClientSizeDpiAndThemeChangesLayOutAgain) {
  Fixture f;
  Probe* child = AddProbe(*f.root, "child", f.log);
  f.host.Paint();
  f.log->clear();

  f.host.SetClientSize({400, 300});
  f.host.Paint();
  EXPECT_EQ(f.root->Bounds(), (Rect{0, 0, 400, 300}));

  size_t measured = child->offered.size();
  f.host.SetDpi(96.005f);
  EXPECT_TRUE(f.log->empty());
  f.host.SetDpi(144);
  EXPECT_EQ(*f.log, (std::vector<std::string>{"scale root", "scale child"}));
  EXPECT_FLOAT_EQ(child->ScaleFactor(), 1.5f);
  f.host.Paint();
  EXPECT_EQ(child->offered.size(), measured + 1);  // every widget measures again at a new scale

  f.log->clear();
  f.host.SetTheme(Theme::Dark(kDefaultAccent));
  EXPECT_EQ(*f.log, (std::vector<std::string>{"theme root", "theme child"}));
  EXPECT_EQ(child->GetTheme().mode, ThemeKind::Dark);
}

TEST(RepaintScheduling, DetachedWidgetsAskNothing) {
  Probe probe;
  probe.InvalidateVisual();
  probe.InvalidateMeasure();
  EXPECT_FALSE(probe.Focus(FocusReason::Keyboard));
  EXPECT_EQ(probe.StartTimer(
                1, [] {}, false),
            0u);
  EXPECT_FLOAT_EQ(probe.ScaleFactor(), 1.0f);
  EXPECT_EQ(probe.GetTheme().mode, ThemeKind::Light);
}

struct FocusRefusal {
  const char* what;
  void (*prepare)(Probe& target, Widget& parent);
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const FocusRefusal& c, std::ostream* os) { *os << c.what; }

class FocusRefused : public testing::TestWithParam<FocusRefusal> {};

TEST_P(FocusRefused, ReturnsFalseAndKeepsFocus) {
  Fixture f;
  Probe* parent = AddProbe(*f.root, "parent", f.log);
  Probe* current = AddProbe(*f.root, "current", f.log);
  Probe* target = AddProbe(*parent, "target", f.log);
  current->focusable = true;
  target->focusable = true;
  ASSERT_TRUE(current->Focus(FocusReason::Keyboard));

  GetParam().prepare(*target, *parent);
  EXPECT_FALSE(f.host.SetFocus(target, FocusReason::Keyboard)) << GetParam().what;
  EXPECT_EQ(f.host.Focused(), current) << GetParam().what;
  EXPECT_FALSE(target->IsFocused()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FocusRefused,
    testing::Values(FocusRefusal{"not focusable", [](Probe& t, Widget&) { t.focusable = false; }},
                    FocusRefusal{"disabled ancestor", [](Probe&, Widget& p) { p.SetEnabled(false); }},
                    FocusRefusal{"hidden ancestor", [](Probe&, Widget& p) { p.SetVisible(false); }},
                    FocusRefusal{"hidden itself", [](Probe& t, Widget&) { t.SetVisible(false); }}));

TEST(Focus, WidgetOfAnotherHostIsRefused) {
  Fixture f;
  FakeHost other;
  auto* stranger = static_cast<Probe*>(other.SetRoot(MakeProbe({})));
  stranger->focusable = true;
  EXPECT_FALSE(f.host.SetFocus(stranger, FocusReason::Programmatic));
  EXPECT_EQ(f.host.Focused(), nullptr);
}

TEST(Focus, MovesFlagsNotifiesAncestorsAndRaisesTheEvent) {
  Fixture f;
  Probe* panel = AddProbe(*f.root, "panel", f.log);
  Probe* first = AddProbe(*panel, "first", f.log);
  Probe* second = AddProbe(*panel, "second", f.log);
  first->focusable = second->focusable = true;
  ASSERT_TRUE(first->Focus(FocusReason::Pointer));
  EXPECT_FALSE(first->IsFocusVisualShown());
  f.log->clear();

  ASSERT_TRUE(second->Focus(FocusReason::Keyboard));
  EXPECT_EQ(*f.log,
            (std::vector<std::string>{"blur first", "focus second", "descendant focused panel <- second",
                                      "descendant focused root <- second"}));
  EXPECT_FALSE(first->IsFocused());
  EXPECT_TRUE(second->IsFocused());
  EXPECT_TRUE(second->IsFocusVisualShown());
  EXPECT_EQ(f.host.CountEvents(AutomationEvent::FocusChanged, second), 1);

  // Programmatic focus keeps the keyboard's focus visual.
  ASSERT_TRUE(first->Focus(FocusReason::Programmatic));
  EXPECT_TRUE(first->IsFocusVisualShown());
}

TEST(Focus, RemovingTheFocusedChildLeavesNothingFocused) {
  Fixture f;
  Probe* child = AddProbe(*f.root, "child", f.log);
  child->focusable = true;
  child->Focus(FocusReason::Keyboard);
  int notifications = f.host.focusNotifications;

  std::unique_ptr<Widget> removed = f.root->RemoveChild(child);
  EXPECT_EQ(f.host.Focused(), nullptr);
  EXPECT_FALSE(child->IsFocused());
  EXPECT_EQ(f.host.focusNotifications, notifications + 1);
}

TEST(Hiding, TakesFocusTimersAndInputStateFromTheWidget) {
  Fixture f;
  Probe* child = AddProbe(*f.root, "child", f.log);
  child->focusable = true;
  child->Focus(FocusReason::Keyboard);
  child->CapturePointer();
  int fired = 0;
  child->StartTimer(
      1, [&] { ++fired; }, true);
  f.host.SetHoveredForTest(child);
  int structureEvents = f.host.CountEvents(AutomationEvent::StructureChanged, f.root);

  child->SetVisible(false);
  EXPECT_EQ(f.host.Focused(), nullptr);
  EXPECT_EQ(f.host.Captured(), nullptr);
  EXPECT_EQ(f.host.Hovered(), nullptr);
  EXPECT_FALSE(f.root->IsHovered());
  EXPECT_EQ(f.host.TimerCount(), 0u);
  f.host.Advance(5);
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(f.host.CountEvents(AutomationEvent::StructureChanged, f.root), structureEvents + 1);
}

TEST(Hiding, AParentTakesFocusAndCaptureFromItsDescendants) {
  Fixture f;
  Probe* panel = AddProbe(*f.root, "panel", f.log);
  Probe* field = AddProbe(*panel, "field", f.log);
  field->focusable = true;
  field->Focus(FocusReason::Keyboard);
  field->CapturePointer();
  f.log->clear();

  panel->SetVisible(false);
  EXPECT_EQ(f.host.Focused(), nullptr);
  EXPECT_EQ(f.host.Captured(), nullptr);
  EXPECT_EQ(*f.log, (std::vector<std::string>{"capture lost field", "blur field"}));
}

TEST(Disabling, DropsCaptureAndPressAndTellsTheSubtree) {
  Fixture f;
  Probe* button = AddProbe(*f.root, "button", f.log);
  Probe* inner = AddProbe(*button, "inner", f.log);
  button->CapturePointer();
  f.host.SetPressedForTest(button);
  f.log->clear();

  button->SetEnabled(false);
  EXPECT_EQ(f.host.Captured(), nullptr);
  EXPECT_EQ(f.host.Pressed(), nullptr);
  EXPECT_FALSE(button->IsPressed());
  EXPECT_EQ(*f.log, (std::vector<std::string>{"capture lost button"}));
  EXPECT_EQ(button->visualStateChanges, 1);
  EXPECT_EQ(inner->visualStateChanges, 1);
  EXPECT_EQ(f.host.CountEvents(AutomationEvent::EnabledChanged, button), 1);
  button->SetEnabled(false);
  EXPECT_EQ(f.host.CountEvents(AutomationEvent::EnabledChanged, button), 1);
}

TEST(Capture, NewOwnerTakesItFromTheOld) {
  Fixture f;
  Probe* a = AddProbe(*f.root, "a", f.log);
  Probe* b = AddProbe(*f.root, "b", f.log);
  f.log->clear();
  a->CapturePointer();
  b->CapturePointer();
  a->ReleasePointerCapture();  // not the owner: nothing happens
  EXPECT_EQ(f.host.Captured(), b);
  b->ReleasePointerCapture();
  EXPECT_EQ(f.host.Captured(), nullptr);
  EXPECT_EQ(*f.log, (std::vector<std::string>{"capture lost a", "capture lost b"}));
  EXPECT_EQ(f.host.nativeCapture, (std::vector<bool>{true, false}));
}

TEST(HostTimers, OneShotRepeatingAndCancelledFromTheirOwnCallback) {
  Fixture f;
  Probe* child = AddProbe(*f.root, "child", f.log);
  std::vector<std::string> fired;
  child->StartTimer(
      0.5, [&] { fired.push_back("once"); }, false);
  uint64_t repeating = 0;
  repeating = child->StartTimer(
      0.2,
      [&] {
        fired.push_back("tick");
        if (fired.size() >= 4) {
          child->CancelTimer(repeating);
        }
      },
      true);
  EXPECT_DOUBLE_EQ(f.host.timerDelay, 0.2);

  f.host.Advance(2);
  EXPECT_EQ(fired, (std::vector<std::string>{"tick", "tick", "once", "tick"}));
  EXPECT_EQ(f.host.TimerCount(), 0u);
  EXPECT_LT(f.host.timerDelay, 0);
  child->CancelTimer(0);
}

TEST(HostTimers, DestroyedOwnerTakesItsTimersAlong) {
  Fixture f;
  Probe* child = AddProbe(*f.root, "child", f.log);
  int fired = 0;
  child->StartTimer(
      1, [&] { ++fired; }, false);
  f.root->RemoveChild(child).reset();
  f.host.Advance(2);
  EXPECT_EQ(fired, 0);
}

TEST(Destruction, HostForgetsADestroyedWidget) {
  Fixture f;
  Probe* child = AddProbe(*f.root, "child", f.log);
  child->focusable = true;
  child->Focus(FocusReason::Pointer);
  child->CapturePointer();
  f.host.SetHoveredForTest(child);
  f.host.ClearRoot();
  EXPECT_EQ(f.host.Focused(), nullptr);
  EXPECT_EQ(f.host.Captured(), nullptr);
  EXPECT_EQ(f.host.Hovered(), nullptr);
  EXPECT_EQ(f.host.Root(), nullptr);
}

TEST(Detaching, CancelsTheWidgetsAnimations) {
  Fixture f;
  auto* fading = static_cast<Fading*>(f.root->AddChild(std::make_unique<Fading>()));
  fading->alpha.AnimateTo(1, 1.0);
  ASSERT_TRUE(fading->alpha.IsAnimating());

  std::unique_ptr<Widget> removed = f.root->RemoveChild(fading);
  EXPECT_FALSE(fading->alpha.IsAnimating());
  EXPECT_EQ(f.host.GetAnimator().EntryCount(), 0u);
}

TEST(RepaintScheduling, RunningAnimationsAskForTheNextFrameUntilDone) {
  Fixture f;
  auto* fading = static_cast<Fading*>(f.root->AddChild(std::make_unique<Fading>()));
  f.host.Paint();
  int before = f.host.repaintRequests;
  fading->alpha.AnimateTo(1, 1.0, Easing::Linear);
  EXPECT_EQ(f.host.repaintRequests, before + 1);

  f.host.now = 0.5;
  f.host.Paint();
  EXPECT_FLOAT_EQ(fading->alpha.Value(), 0.5f);
  EXPECT_TRUE(f.host.IsRepaintPending());
  EXPECT_EQ(f.host.repaintRequests, before + 2);

  f.host.now = 1.5;
  f.host.Paint();
  EXPECT_FLOAT_EQ(fading->alpha.Value(), 1);
  EXPECT_FALSE(f.host.IsRepaintPending());
  EXPECT_EQ(f.host.repaintRequests, before + 2);
}

TEST(WidgetTree, ReplacingTheRootDetachesAndDestroysTheOldOne) {
  Fixture f;
  std::shared_ptr<Detail::WidgetLink> oldLink = f.root->Link();
  f.log->clear();
  Widget* next = f.host.SetRoot(MakeProbe({}, "next", f.log));
  EXPECT_EQ(*f.log, (std::vector<std::string>{"detached root", "attached next"}));
  EXPECT_EQ(oldLink->widget, nullptr);
  EXPECT_EQ(f.host.Root(), next);
  EXPECT_TRUE(f.host.IsLayoutDirty());
}

TEST(Links, IdsAreSequentialAndReadNullAfterDestruction) {
  auto a = std::make_unique<Widget>();
  auto b = std::make_unique<Widget>();
  std::shared_ptr<Detail::WidgetLink> la = a->Link();
  std::shared_ptr<Detail::WidgetLink> lb = b->Link();
  EXPECT_EQ(lb->id, la->id + 1);
  EXPECT_EQ(a->Link(), la);
  EXPECT_EQ(la->widget, a.get());

  a.reset();
  EXPECT_EQ(la->widget, nullptr);
  EXPECT_EQ(lb->widget, b.get());

  auto host = std::make_unique<FakeHost>();
  std::shared_ptr<Detail::HostLink> hostLink = host->Link();
  hostLink->handle = reinterpret_cast<NativeHandle>(0x1234);
  EXPECT_EQ(hostLink->host, host.get());
  host.reset();
  EXPECT_EQ(hostLink->host, nullptr);
  EXPECT_EQ(hostLink->handle, nullptr);
}

}  // namespace
}  // namespace Quarlo::Widget
