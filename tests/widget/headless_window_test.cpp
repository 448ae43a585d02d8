// A toolkit window on the headless native window: what the window asks of its native side, and input
// delivered as the native window delivers it (capture outside the window, characters, the input method,
// key routes and preview hooks).

#include "support/headless_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/recording_canvas.h"
#include "widget/application.h"
#include "widget/input/events.h"
#include "widget/input/ime_composition.h"
#include "widget/input/key_route.h"
#include "widget/input/virtual_keys.h"
#include "widget/window.h"

namespace Quarlo::Widget {
namespace {

using Testing::HeadlessWindow;
using Log = std::vector<std::string>;

// A widget at a fixed place that logs what reaches it; as a text field it takes composed text.
class Field : public Widget {
 public:
  Field(std::string name, Rect slot, Log* log) : name(std::move(name)), slot(slot), log(log) {}

  Size MeasureOverride(Size) override { return {}; }
  void ArrangeOverride(Size) override {
    for (const auto& child : Children()) child->Arrange(static_cast<Field*>(child.get())->slot);
  }
  bool IsFocusable() const override { return focusable; }
  bool AcceptsIme() const override { return takesText; }
  Rect CaretRect() const override { return Rect{5, 2, 1, 16}; }
  CursorKind Cursor() const override { return takesText ? CursorKind::IBeam : CursorKind::Arrow; }
  bool OnPointerDown(const PointerEvent& e) override { return Note("down", e.position); }
  bool OnPointerMove(const PointerEvent& e) override { return Note("move", e.position); }
  bool OnPointerUp(const PointerEvent& e) override { return Note("up", e.position); }
  bool OnKeyDown(const KeyEvent& e) override { return Note("key " + std::to_string(e.key), {}); }
  bool OnChar(const CharEvent& e) override {
    log->push_back("char " + name + " " + std::to_string(static_cast<uint32_t>(e.codePoint)));
    return handles;
  }
  bool OnIme(const ImeEvent& e) override {
    std::string attributes;
    for (uint8_t a : e.attributes) attributes += std::to_string(a);
    log->push_back("ime " + name + " " + std::to_string(static_cast<int>(e.kind)) + " '" + e.text + "' " +
                   std::to_string(e.caret) + " " + attributes);
    return handles;
  }
  void OnCaptureLost() override { log->push_back("capture lost " + name); }

  std::string name;
  Rect slot;
  Log* log;
  bool focusable = false;
  bool takesText = false;
  bool handles = false;

 private:
  bool Note(const std::string& what, Point p) {
    log->push_back(what + " " + name + " " + std::to_string(static_cast<int>(p.x)) + "," +
                   std::to_string(static_cast<int>(p.y)));
    return handles;
  }
};

// A created, shown window with a root and two fields: a text field at (20,30) and a plain one at (200,30).
struct Fixture {
  Fixture() {
    auto r = std::make_unique<Field>("root", Rect{0, 0, 400, 300}, &log);
    auto t = std::make_unique<Field>("text", Rect{20, 30, 100, 20}, &log);
    auto p = std::make_unique<Field>("plain", Rect{200, 30, 100, 20}, &log);
    text = t.get();
    plain = p.get();
    text->focusable = plain->focusable = true;
    text->takesText = true;
    r->AddChild(std::move(t));
    r->AddChild(std::move(p));
    root = window.SetRoot(std::move(r));
    WindowOptions options;
    options.title = "Probe";
    options.size = {400, 300};
    options.hasPosition = true;
    options.position = {100, 50};
    EXPECT_TRUE(window.Create(options));
    window.Show(true);
    window.UpdateLayout();
  }
  HeadlessWindow& Native() { return HeadlessWindow::Of(window); }

  Window window;
  Log log;
  Field* root = nullptr;
  Field* text = nullptr;
  Field* plain = nullptr;
};

KeyEvent Key(uint32_t vk, uint8_t modifiers = 0) {
  KeyEvent e;
  e.key = vk;
  e.modifiers = modifiers;
  return e;
}

// A task still queued when the process ends can hold the last reference to a window: the window then dies
// with the application's queue, after the toolkit's other static objects, and must still end cleanly.
TEST(HeadlessWindow, AWindowHeldByATaskStillQueuedAtExitEndsCleanly) {
  Application& application = Application::Instance();
  auto window = std::make_shared<Window>();
  application.Post([window] { EXPECT_TRUE(window); });
  window.reset();
}

TEST(HeadlessWindow, RecordsWhatTheToolkitAsksOfTheWindow) {
  Fixture f;
  HeadlessWindow& native = f.Native();
  EXPECT_TRUE(native.exists && native.visible && native.active);
  EXPECT_EQ(native.activations, 1);
  EXPECT_EQ(native.title, "Probe");
  EXPECT_EQ(native.bounds, (Rect{100, 50, 400, 300}));
  EXPECT_EQ(f.window.ClientScreenRect(), native.bounds);
  f.window.SetTitle("Renamed");
  f.window.SetTopmost(true);
  f.window.MoveTo({10, 20});
  f.window.ResizeClient({300, 200});
  EXPECT_EQ(native.title, "Renamed");
  EXPECT_TRUE(native.topmost);
  EXPECT_EQ(native.bounds, (Rect{10, 20, 300, 200}));
  EXPECT_EQ(f.window.ClientSize(), (Size{300, 200}));
  EXPECT_EQ(f.window.WindowToScreen({5, 5}), (Point{15, 25}));

  f.window.SetFullScreen(true);
  EXPECT_TRUE(native.fullScreen);
  EXPECT_EQ(native.bounds, Testing::kHeadlessWorkArea);
  f.window.SetFullScreen(false);
  EXPECT_FALSE(native.fullScreen);
  EXPECT_EQ(native.bounds, (Rect{10, 20, 300, 200}));

  f.text->StartTimer(
      0.5, [] {}, false);
  EXPECT_DOUBLE_EQ(native.timerDue, Testing::HeadlessNow() + 0.5);
  const int before = native.invalidations;
  f.window.UpdateLayout();
  f.text->InvalidateVisual();
  EXPECT_EQ(native.invalidations, before + 1);
}

TEST(HeadlessWindow, CursorFollowsTheWidgetUnderThePointer) {
  Fixture f;
  f.Native().Move({30, 40});
  EXPECT_EQ(f.Native().cursor, CursorKind::IBeam);
  f.Native().Move({250, 40});
  EXPECT_EQ(f.Native().cursor, CursorKind::Arrow);
}

TEST(HeadlessWindow, ADragKeepsThePointerOutsideTheWindowUntilTheRelease) {
  Fixture f;
  f.text->handles = true;
  f.Native().Press({30, 40});
  EXPECT_TRUE(f.Native().captured);
  EXPECT_EQ(f.window.Captured(), f.text);
  // Outside the client area (left of and above it): the captured field still gets the move and release.
  f.Native().Move({-50, -20});
  f.Native().Release({-60, -25});
  EXPECT_EQ(f.log, (Log{"down text 10,10", "move text -70,-50", "up text -80,-55", "capture lost text"}));
  EXPECT_FALSE(f.Native().captured);
  EXPECT_EQ(f.Native().captureRequests, (std::vector<bool>{true, false}));
}

TEST(HeadlessWindow, LosingTheGrabOrTheActivationEndsTheCapture) {
  for (const bool byGrab : {true, false}) {
    SCOPED_TRACE(byGrab ? "grab lost" : "deactivated");
    Fixture f;
    f.text->handles = true;
    f.Native().Press({30, 40});
    f.log.clear();
    if (byGrab) {
      f.Native().LoseCapture();
    } else {
      f.Native().SetActive(false);
    }
    EXPECT_EQ(f.log, (Log{"capture lost text"}));
    EXPECT_EQ(f.window.Captured(), nullptr);
    EXPECT_FALSE(f.text->IsPressed());
  }
}

TEST(HeadlessWindow, CloseRequestAsksTheQueryAndDestroysTheNativeWindow) {
  Fixture f;
  bool allow = false;
  int destroyed = 0;
  f.window.SetCloseQuery([&] { return allow; });
  f.window.SetOnDestroyed([&] { ++destroyed; });
  f.Native().RequestClose();
  EXPECT_TRUE(f.Native().exists);
  allow = true;
  f.Native().RequestClose();
  EXPECT_FALSE(f.Native().exists);
  EXPECT_EQ(f.window.Handle(), nullptr);
  EXPECT_EQ(destroyed, 1);
}

TEST(HeadlessWindow, ResizeAndDpiChangesReachTheHost) {
  Fixture f;
  f.Native().Resize({640, 480});
  EXPECT_EQ(f.window.ClientSize(), (Size{640, 480}));
  f.Native().ChangeDpi(192);
  EXPECT_FLOAT_EQ(f.window.ScaleFactor(), 2);
  EXPECT_EQ(f.window.ClientSize(), (Size{320, 240}));
  Testing::RecordingCanvas canvas(f.window.ScaleFactor());
  f.Native().Paint(canvas);
  EXPECT_FALSE(f.window.IsLayoutDirty());
}

// Characters as a native window may deliver them: code points, or UTF-16 halves that the host joins.
TEST(HeadlessWindow, CharactersJoinSurrogatePairsAndDropControlCharacters) {
  struct Case {
    const char* name;
    std::vector<char32_t> units;
    bool system;
    Log expected;
  };
  const Case cases[] = {
      {"a pair gives one emoji", {0xD83D, 0xDE00}, false, {"char text 128512"}},
      {"a full code point passes", {0x1F600}, false, {"char text 128512"}},
      {"a lone low half is dropped", {0xDE00, 'a'}, false, {"char text 97"}},
      {"a high half waits, a second one replaces it", {0xD83D, 0xD83D, 0xDE00}, false, {"char text 128512"}},
      {"control characters and delete are keys", {0x08, 0x0D, 0x7F, 0x1B}, false, {}},
      {"Hangul syllable", {0xD55C}, false, {"char text 54620"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.text->handles = true;
    f.window.SetFocus(f.text, FocusReason::Programmatic);
    for (char32_t unit : c.units) {
      CharEvent e;
      e.codePoint = unit;
      e.system = c.system;
      f.window.Char(e);
    }
    EXPECT_EQ(f.log, c.expected);
  }
}

TEST(HeadlessWindow, CompositionReachesOnlyAWidgetThatTakesComposedTextAndTheCommitArrivesAsCharacters) {
  for (const bool takesText : {true, false}) {
    SCOPED_TRACE(takesText ? "text field" : "plain widget");
    Fixture f;
    Field* target = takesText ? f.text : f.plain;
    target->handles = true;
    f.window.SetFocus(target, FocusReason::Pointer);
    EXPECT_EQ(f.Native().imeTarget, takesText);
    ImeEvent started;
    started.kind = ImeEventKind::Started;
    f.Native().Compose(started);
    f.Native().Compose(Input::CompositionUpdate("한", 1, {Input::ImeAttribute::Input}));
    ImeEvent ended;
    ended.kind = ImeEventKind::Ended;
    f.Native().Compose(ended);
    f.Native().Commit("한글");
    if (takesText) {
      EXPECT_EQ(f.log, (Log{"ime text 0 '' 0 ", "ime text 1 '한' 1 0", "ime text 3 '' 0 ", "char text 54620",
                            "char text 44544"}));
      // The candidate window goes to the caret: the field's caret origin in window DIPs.
      EXPECT_EQ(f.Native().imeCaret, (Rect{25, 32, 1, 16}));
    } else {
      EXPECT_EQ(f.log, (Log{"char plain 54620", "char plain 44544"}));
    }
  }
}

TEST(HeadlessWindow, TheInputMethodFollowsTheFocus) {
  Fixture f;
  f.window.SetFocus(f.text, FocusReason::Keyboard);
  EXPECT_TRUE(f.Native().imeTarget);
  f.window.SetFocus(f.plain, FocusReason::Keyboard);
  EXPECT_FALSE(f.Native().imeTarget);
  f.window.SetFocus(f.text, FocusReason::Keyboard);
  f.text->SetVisible(false);
  EXPECT_EQ(f.window.Focused(), nullptr);
  EXPECT_FALSE(f.Native().imeTarget);
}

TEST(CompositionUpdate, CountsTheCaretAndAttributesInUtf16Units) {
  struct Case {
    const char* text;
    size_t caretCodePoints;
    std::vector<Input::ImeAttribute> attributes;
    int32_t caret;
    std::vector<uint8_t> expected;
  };
  using A = Input::ImeAttribute;
  const Case cases[] = {
      {"ab", 1, {A::Input, A::TargetConverted}, 1, {0, 1}},
      {"\xF0\x9F\x98\x80x", 1, {A::TargetConverted}, 2, {1, 1, 0}},  // an emoji is two units
      {"한글", 2, {}, 2, {0, 0}},
      {"a\xFF", 2, {}, 2, {0, 0}},  // an invalid byte stands for one character
      {"", 3, {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ImeEvent e = Input::CompositionUpdate(c.text, c.caretCodePoints, c.attributes);
    EXPECT_EQ(e.kind, ImeEventKind::Updated);
    EXPECT_EQ(e.caret, c.caret);
    EXPECT_EQ(e.attributes, c.expected);
    EXPECT_EQ(Input::Utf16Length(c.text), c.expected.size());
  }
}

TEST(KeyRoute, NewestRouteFirstThenThePreviousHookThenTheTree) {
  Fixture f;
  f.window.SetFocus(f.plain, FocusReason::Programmatic);
  Log order;
  f.window.SetKeyDownPreview([&](const KeyEvent& e) {
    order.push_back("window");
    return e.key == (Vk::F1 + 4);
  });
  bool menuTakes = false;
  auto menu = std::make_unique<Input::KeyRoute>(f.window,
                                                Input::RouteHandlers{[&](const KeyEvent&) {
                                                                       order.push_back("menu");
                                                                       return menuTakes;
                                                                     },
                                                                     {},
                                                                     {},
                                                                     {}},
                                                true);
  Input::KeyRoute list(f.window,
                       Input::RouteHandlers{[&](const KeyEvent&) {
                                              order.push_back("list");
                                              return false;
                                            },
                                            {},
                                            {},
                                            {}},
                       false);
  EXPECT_TRUE(menu->IsModal());
  f.Native().KeyDown(Key('A'));
  EXPECT_EQ(order, (Log{"list", "menu", "window"}));
  EXPECT_EQ(f.log, (Log{"key 65 plain 0,0", "key 65 root 0,0"}));
  order.clear();
  f.log.clear();
  menuTakes = true;
  EXPECT_TRUE(f.Native().KeyDown(Key('A')));
  EXPECT_EQ(order, (Log{"list", "menu"}));
  EXPECT_TRUE(f.log.empty());
  // A route that ends while keys are routed: the next key skips it.
  menu.reset();
  order.clear();
  EXPECT_TRUE(f.Native().KeyDown(Key((Vk::F1 + 4))));
  EXPECT_EQ(order, (Log{"list", "window"}));
}

TEST(KeyRoute, AHandlerMayEndItsOwnRouteAndTheLastRouteGivesTheHooksBack) {
  Fixture f;
  int windowHook = 0;
  f.window.SetCharPreview([&](const CharEvent&) {
    ++windowHook;
    return false;
  });
  std::unique_ptr<Input::KeyRoute> route;
  int routed = 0;
  route = std::make_unique<Input::KeyRoute>(f.window,
                                            Input::RouteHandlers{{},
                                                                 {},
                                                                 [&](const CharEvent&) {
                                                                   ++routed;
                                                                   route.reset();
                                                                   return true;
                                                                 },
                                                                 {}},
                                            true);
  f.Native().Commit("ab");
  EXPECT_EQ(routed, 1);
  EXPECT_EQ(route, nullptr);
  EXPECT_EQ(windowHook, 1);  // the second character went to the hook the window had
}

TEST(KeyRoute, PreviewHooksSeeTheImeAndKeyUpBeforeTheTree) {
  Fixture f;
  f.window.SetFocus(f.text, FocusReason::Programmatic);
  Log seen;
  Input::KeyRoute route(f.window,
                        Input::RouteHandlers{{},
                                             [&](const KeyEvent&) {
                                               seen.push_back("up");
                                               return true;
                                             },
                                             {},
                                             [&](const ImeEvent&) {
                                               seen.push_back("ime");
                                               return true;
                                             }},
                        true);
  EXPECT_TRUE(f.Native().KeyUp(Key('A')));
  ImeEvent started;
  f.Native().Compose(started);
  EXPECT_EQ(seen, (Log{"up", "ime"}));
  EXPECT_TRUE(f.log.empty());
}

TEST(HeadlessWindow, KeyboardCuesShowAccessKeysWithoutAlt) {
  Fixture f;
  EXPECT_FALSE(f.window.ShowAccessKeys());
  f.Native().KeyDown(Key(Vk::Alt, Modifier::Alt));
  EXPECT_TRUE(f.window.ShowAccessKeys());
  f.Native().Press({250, 40});
  EXPECT_FALSE(f.window.ShowAccessKeys());
  f.window.SetKeyboardCues(true);
  EXPECT_TRUE(f.window.ShowAccessKeys());
}

TEST(HeadlessWindow, ArrowKeysMoveTheFocusInsideTheNearestGroupAndWrap) {
  Fixture f;
  f.root->arrowKeyGroup = true;
  f.window.SetFocus(f.text, FocusReason::Programmatic);
  struct Step {
    uint32_t key;
    uint8_t modifiers;
    Field* expected;
  };
  const Step steps[] = {{Vk::Right, 0, f.plain},
                        {Vk::Down, 0, f.text},
                        {Vk::Left, 0, f.plain},
                        {Vk::Up, 0, f.text},
                        {Vk::Right, Modifier::Shift, f.text}};
  for (const Step& s : steps) {
    f.Native().KeyDown(Key(s.key, s.modifiers));
    EXPECT_EQ(f.window.Focused(), s.expected);
  }
  EXPECT_TRUE(f.window.FocusVisible());
}

}  // namespace
}  // namespace Quarlo::Widget
