// Input routing of a window and a dialog's keys, on headless windows, and host timers through the
// window's native one-shot timer on the headless clock.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/headless_window.h"
#include "widget/input/events.h"
#include "widget/window.h"

namespace Quarlo::Widget {
namespace {

using Log = std::vector<std::string>;

// A widget of a fixed size at a fixed place whose handlers log and answer as told.
class Pad : public Widget {
 public:
  Pad(std::string name, Rect slot, Log* log) : name(std::move(name)), slot(slot), log(log) {}

  Size MeasureOverride(Size) override { return {}; }
  void ArrangeOverride(Size) override {
    for (const auto& child : Children()) child->Arrange(static_cast<Pad*>(child.get())->slot);
  }
  bool IsFocusable() const override { return focusable; }
  bool OnPointerDown(const PointerEvent& e) override { return Note("down", e.position, handlesDown); }
  bool OnPointerUp(const PointerEvent& e) override { return Note("up", e.position, handlesUp); }
  bool OnWheel(const WheelEvent& e) override { return Note("wheel", e.position, true); }
  bool OnKeyDown(const KeyEvent&) override { return Note("key", {}, handlesKeys); }
  bool OnChar(const CharEvent&) override { return Note("char", {}, handlesKeys); }
  void OnPointerEnter() override { Run(onEnter); }
  void OnPointerLeave() override { Run(onLeave); }
  void OnCaptureLost() override { log->push_back("capture lost " + name); }
  bool Invoke() override {
    log->push_back("invoke " + name);
    return true;
  }
  bool IsHitTestVisible() const override { return hitTestVisible; }
  char16_t AccessKey() const override { return accessKey; }
  void OnAccessKey() override {
    log->push_back("access " + name);
    Focus(FocusReason::Keyboard);
    Run(onAccess);
  }

  // Each runs from a copy, so that it may destroy the widget it belongs to.
  std::function<void()> onDown, onUp, onWheel, onKey, onChar, onEnter, onLeave, onAccess;
  std::string name;
  Rect slot;
  Log* log;
  bool handlesDown = false;
  bool handlesUp = false;
  bool handlesKeys = false;
  bool focusable = false;
  char16_t accessKey = 0;

 private:
  static void Run(std::function<void()> hook) {
    if (hook) hook();
  }
  bool Note(const std::string& what, Point p, bool handled) {
    log->push_back(what + " " + name + " " + std::to_string(static_cast<int>(p.x)) + "," +
                   std::to_string(static_cast<int>(p.y)));
    const std::pair<const char*, std::function<void()>*> hooks[] = {
        {"down", &onDown}, {"up", &onUp}, {"wheel", &onWheel}, {"key", &onKey}, {"char", &onChar}};
    for (const auto& [event, hook] : hooks) {
      if (what == event) Run(*hook);
    }
    return handled;
  }
};

struct Tree {
  explicit Tree(Window& window) {
    auto r = std::make_unique<Pad>("root", Rect{0, 0, 400, 300}, &log);
    auto p = std::make_unique<Pad>("panel", Rect{100, 50, 200, 200}, &log);
    auto b = std::make_unique<Pad>("button", Rect{20, 30, 80, 40}, &log);
    button = b.get();
    panel = p.get();
    p->AddChild(std::move(b));
    r->AddChild(std::move(p));
    root = static_cast<Pad*>(window.SetRoot(std::move(r)));
    window.SetClientSize({400, 300});
    window.UpdateLayout();
  }
  Log log;
  Pad* root;
  Pad* panel;
  Pad* button;
};

PointerEvent Press(float x, float y) {
  PointerEvent e;
  e.position = {x, y};
  e.button = PointerButton::Left;
  e.clicks = 1;
  return e;
}

KeyEvent Key(uint32_t vk, uint8_t modifiers = 0) {
  KeyEvent e;
  e.key = vk;
  e.modifiers = modifiers;
  return e;
}

TEST(WindowInput, PressBubblesInLocalSpaceAndTheHandlerHoldsThePointerUntilRelease) {
  Window window;
  Tree tree(window);
  tree.panel->handlesDown = true;
  window.PointerDown(Press(130, 90));
  EXPECT_EQ(tree.log, (Log{"down button 10,10", "down panel 30,40"}));
  EXPECT_EQ(window.Captured(), tree.panel);
  EXPECT_TRUE(tree.panel->IsPressed());
  tree.log.clear();
  // Released outside: the captured panel still gets it.
  window.PointerUp(Press(5, 5));
  EXPECT_EQ(tree.log, (Log{"up panel -95,-45", "up root 5,5", "capture lost panel"}));
  EXPECT_EQ(window.Captured(), nullptr);
  EXPECT_FALSE(tree.panel->IsPressed());
}

TEST(WindowInput, ARootWithAMarginIsHitWhereItIsDrawn) {
  Window window;
  Tree tree(window);
  tree.root->SetMargin(16, 16, 0, 0);
  window.UpdateLayout();
  tree.button->handlesDown = true;
  // The button lies at (100 + 20, 50 + 30) inside the root, which starts at (16, 16); its bottom-right
  // corner would be missed if the margin were left out.
  window.PointerDown(Press(16 + 195, 16 + 115));
  EXPECT_EQ(tree.log, (Log{"down button 75,35"}));
  window.PointerUp(Press(16 + 195, 16 + 115));
  EXPECT_EQ(window.Hovered(), tree.button);
}

TEST(WindowInput, DisabledWidgetsAreSkippedWhileBubbling) {
  Window window;
  Tree tree(window);
  tree.panel->SetEnabled(false);
  tree.root->handlesDown = true;
  window.PointerDown(Press(130, 90));
  EXPECT_EQ(tree.log, (Log{"down root 130,90"}));
}

TEST(WindowInput, HoverMarksTheWholeChainAndLeaveClearsIt) {
  Window window;
  Tree tree(window);
  PointerEvent move;
  move.position = {130, 90};
  window.PointerMove(move);
  EXPECT_EQ(window.Hovered(), tree.button);
  EXPECT_TRUE(tree.button->IsHovered() && tree.panel->IsHovered() && tree.root->IsHovered());
  move.position = {350, 280};
  window.PointerMove(move);
  EXPECT_FALSE(tree.button->IsHovered() || tree.panel->IsHovered());
  EXPECT_TRUE(tree.root->IsHovered());
  window.PointerLeave();
  EXPECT_FALSE(tree.root->IsHovered());
  EXPECT_EQ(window.Hovered(), nullptr);
}

TEST(WindowInput, PressFocusesTheNearestFocusableAncestorWithoutTheFocusVisual) {
  Window window;
  Tree tree(window);
  tree.panel->focusable = true;
  window.PointerDown(Press(130, 90));
  EXPECT_EQ(window.Focused(), tree.panel);
  EXPECT_FALSE(window.FocusVisible());
}

TEST(WindowInput, TabAndShiftTabFromNothingAndCtrlTabIsNotNavigation) {
  Window window;
  Tree tree(window);
  tree.root->focusable = tree.panel->focusable = tree.button->focusable = true;
  EXPECT_TRUE(window.KeyDown(Key(0x09)));
  EXPECT_EQ(window.Focused(), tree.root);
  EXPECT_TRUE(window.FocusVisible());
  window.KeyDown(Key(0x09));
  EXPECT_EQ(window.Focused(), tree.panel);
  window.SetFocus(nullptr, FocusReason::Programmatic);
  window.KeyDown(Key(0x09, Modifier::Shift));
  EXPECT_EQ(window.Focused(), tree.button);
  EXPECT_FALSE(window.KeyDown(Key(0x09, Modifier::Ctrl)));
  EXPECT_EQ(window.Focused(), tree.button);
}

TEST(WindowInput, KeysGoToTheFocusedWidgetAndBubble) {
  Window window;
  Tree tree(window);
  tree.button->focusable = true;
  tree.root->handlesKeys = true;
  window.SetFocus(tree.button, FocusReason::Programmatic);
  EXPECT_TRUE(window.KeyDown(Key('A')));
  EXPECT_EQ(tree.log, (Log{"key button 0,0", "key panel 0,0", "key root 0,0"}));
}

TEST(WindowInput, WheelReachesTheDeepestVisibleWidgetEvenWhenItIgnoresClicks) {
  Window window;
  Tree tree(window);
  tree.button->hitTestVisible = false;
  tree.panel->hitTestVisible = false;
  tree.root->hitTestVisible = false;
  WheelEvent wheel;
  wheel.position = {130, 90};
  wheel.deltaY = 1;
  window.Wheel(wheel);
  EXPECT_EQ(tree.log, (Log{"wheel button 10,10"}));
}

TEST(WindowInput, AHandlerThatDestroysTheWindowEndsTheDispatch) {
  auto window = std::make_unique<Window>();
  Tree tree(*window);
  Log& log = tree.log;
  tree.button->onDown = [&window] { window.reset(); };
  window->PointerDown(Press(130, 90));
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(log, (Log{"down button 10,10"}));
}

// The ways a handler takes its own widget out of the tree: a button that removes itself, a click that
// replaces the panel around it, a page change that gives the window a new root.
enum class Removal { Self, Parent, NewRoot };

struct RemovalCase {
  const char* name;
  Removal removal;
};

constexpr RemovalCase kRemovals[] = {{"removes itself", Removal::Self},
                                     {"removes its parent", Removal::Parent},
                                     {"sets a new root", Removal::NewRoot}};

// Returns a hook that takes the button out of the window's tree (and destroys it) as the case says.
std::function<void()> RemoveButton(Window& window, Tree& tree, Removal removal) {
  return [&window, &tree, removal] {
    switch (removal) {
      case Removal::Self:
        tree.panel->RemoveChild(tree.button);
        break;
      case Removal::Parent:
        tree.root->RemoveChild(tree.panel);
        break;
      case Removal::NewRoot:
        window.SetRoot(std::make_unique<Pad>("page", Rect{0, 0, 400, 300}, &tree.log));
        break;
    }
  };
}

TEST(WindowInput, APressWhoseHandlerRemovesItsWidgetLeavesNoCaptureOrPressedWidget) {
  for (const RemovalCase& c : kRemovals) {
    SCOPED_TRACE(c.name);
    Window window;
    Tree tree(window);
    tree.button->handlesDown = true;
    tree.button->onDown = RemoveButton(window, tree, c.removal);
    window.PointerDown(Press(130, 90));
    EXPECT_EQ(tree.log, (Log{"down button 10,10"}));
    EXPECT_EQ(window.Captured(), nullptr);
    EXPECT_EQ(window.Pressed(), nullptr);
    window.PointerUp(Press(130, 90));
    EXPECT_EQ(window.Captured(), nullptr);
  }
}

TEST(WindowInput, RoutedEventsStopAtAHandlerThatRemovesItsWidget) {
  struct Route {
    const char* name;
    std::function<void()> Pad::*hook;
    std::function<bool(Window&)> send;  // returns whether the window reports the event as handled
  };
  const Route routes[] = {
      {"release", &Pad::onUp,
       [](Window& w) {
         w.PointerUp(Press(130, 90));
         return true;
       }},
      {"wheel", &Pad::onWheel,
       [](Window& w) {
         WheelEvent e;
         e.position = {130, 90};
         w.Wheel(e);
         return true;
       }},
      {"key", &Pad::onKey, [](Window& w) { return w.KeyDown(Key('A')); }},
      {"character", &Pad::onChar,
       [](Window& w) {
         CharEvent e;
         e.codePoint = U'a';
         return w.Char(e);
       }},
      {"access key", &Pad::onAccess,
       [](Window& w) {
         CharEvent e;
         e.codePoint = U's';
         e.modifiers = Modifier::Alt;
         e.system = true;
         return w.Char(e);
       }},
  };
  for (const Route& route : routes) {
    for (const RemovalCase& c : kRemovals) {
      for (bool handles : {false, true}) {
        SCOPED_TRACE(std::string(route.name) + ", the handler " + c.name +
                     (handles ? " and handles it" : ""));
        Window window;
        Tree tree(window);
        tree.button->focusable = true;
        tree.button->accessKey = u'S';
        tree.button->handlesKeys = tree.button->handlesUp = handles;
        window.SetFocus(tree.button, FocusReason::Programmatic);
        if (route.hook == &Pad::onUp) window.PointerDown(Press(130, 90));
        tree.log.clear();
        tree.button->*route.hook = RemoveButton(window, tree, c.removal);
        const bool handled = route.send(window);
        // Nothing above the removed widget hears of the event, and the window holds nothing of it.
        ASSERT_EQ(tree.log.size(), 1u);
        EXPECT_EQ(tree.log[0].find("page"), std::string::npos);
        if (handles || route.hook == &Pad::onAccess) {
          EXPECT_TRUE(handled);
        }
        EXPECT_EQ(window.Focused(), nullptr);
        EXPECT_EQ(window.Captured(), nullptr);
        EXPECT_EQ(window.Pressed(), nullptr);
      }
    }
  }
}

TEST(WindowInput, HoverHandlersThatRemoveTheirWidgetEndTheHoverUpdate) {
  for (const RemovalCase& c : kRemovals) {
    for (bool onEnter : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (onEnter ? " when the pointer enters" : " when the pointer leaves"));
      Window window;
      Tree tree(window);
      PointerEvent move;
      move.position = {130, 90};
      if (onEnter) {
        tree.button->onEnter = RemoveButton(window, tree, c.removal);
      } else {
        window.PointerMove(move);
        tree.button->onLeave = RemoveButton(window, tree, c.removal);
        move.position = {350, 280};
      }
      window.PointerMove(move);
      // The widget under the pointer is either one that is still in the tree, or none until the next move.
      Widget* hovered = window.Hovered();
      if (hovered) {
        EXPECT_TRUE(hovered == window.Root() || window.Root()->IsAncestorOf(hovered));
      }
      for (Widget* w = hovered; w; w = w->Parent()) EXPECT_TRUE(w->IsHovered());
      window.UpdateLayout();  // a new root has no size before its first layout
      move.position = {10, 10};
      window.PointerMove(move);
      EXPECT_EQ(window.Hovered(), window.Root());
      EXPECT_TRUE(window.Root()->IsHovered());
    }
  }
}

TEST(WindowInput, AltCharactersTriggerAccessKeysInTurn) {
  Window window;
  Tree tree(window);
  tree.panel->accessKey = u'S';
  tree.button->accessKey = u'S';
  tree.panel->focusable = tree.button->focusable = true;
  CharEvent altS;
  altS.codePoint = U's';
  altS.modifiers = Modifier::Alt;
  altS.system = true;
  EXPECT_TRUE(window.Char(altS));
  EXPECT_TRUE(window.Char(altS));
  EXPECT_TRUE(window.Char(altS));
  EXPECT_EQ(tree.log, (Log{"access panel", "access button", "access panel"}));
  altS.codePoint = U'x';
  EXPECT_FALSE(window.Char(altS));
  // A hidden widget's key does not match.
  tree.panel->SetVisible(false);
  altS.codePoint = U'S';
  tree.log.clear();
  EXPECT_FALSE(window.Char(altS));
  EXPECT_TRUE(tree.log.empty());
}

TEST(DialogKeys, EnterAndEscapeUseTheDefaultAndCancelWidgets) {
  Dialog dialog;
  Tree tree(dialog);
  // Without buttons, Enter is passed on; Escape is always handled.
  EXPECT_FALSE(dialog.KeyDown(Key(0x0D)));
  EXPECT_TRUE(dialog.KeyDown(Key(0x1B)));
  dialog.SetDefaultButton(tree.button);
  dialog.SetCancelButton(tree.panel);
  tree.log.clear();
  EXPECT_TRUE(dialog.KeyDown(Key(0x0D)));
  EXPECT_TRUE(dialog.KeyDown(Key(0x1B)));
  EXPECT_FALSE(dialog.KeyDown(Key(0x0D, Modifier::Ctrl)));
  EXPECT_EQ(tree.log, (Log{"key root 0,0", "invoke button", "key root 0,0", "invoke panel", "key root 0,0"}));
  // A default button that is disabled in its tree is not clicked.
  tree.panel->SetEnabled(false);
  EXPECT_FALSE(dialog.KeyDown(Key(0x0D)));
}

using Testing::AdvanceHeadlessClock;

TEST(WindowTimers, HostTimersRunOnTheNativeOneShotTimer) {
  Window window;
  Tree tree(window);
  std::vector<std::string> fired;
  int repeats = 0;
  uint64_t repeating = 0;
  tree.button->StartTimer(
      0.03, [&] { fired.push_back("late"); }, false);
  tree.panel->StartTimer(
      0, [&] { fired.push_back("now"); }, false);
  repeating = tree.root->StartTimer(
      0.001,
      [&] {
        // Cancelling a timer from inside its own callback is allowed.
        if (++repeats == 3) window.CancelTimer(repeating);
      },
      true);
  AdvanceHeadlessClock(0.01);
  EXPECT_EQ(fired, (std::vector<std::string>{"now"}));
  EXPECT_EQ(repeats, 3);
  AdvanceHeadlessClock(0.03);
  EXPECT_EQ(fired, (std::vector<std::string>{"now", "late"}));
  EXPECT_EQ(window.TimerCount(), 0u);
}

TEST(WindowTimers, RemovingTheOwnerForgetsItsTimers) {
  Window window;
  Tree tree(window);
  bool fired = false;
  tree.button->StartTimer(
      0.01, [&] { fired = true; }, false);
  tree.panel->RemoveChild(tree.button);
  EXPECT_EQ(window.TimerCount(), 0u);
  AdvanceHeadlessClock(0.05);
  EXPECT_FALSE(fired);
}

TEST(WindowTimers, ACallbackMayDestroyItsWindow) {
  auto window = std::make_unique<Window>();
  Tree tree(*window);
  bool laterFired = false;
  tree.button->StartTimer(
      0.001, [&window] { window.reset(); }, false);
  tree.panel->StartTimer(
      0.001, [&laterFired] { laterFired = true; }, false);
  AdvanceHeadlessClock(0.002);
  EXPECT_EQ(window, nullptr);
  AdvanceHeadlessClock(0.03);
  EXPECT_FALSE(laterFired);
}

}  // namespace
}  // namespace Quarlo::Widget
