#pragma once
// An open menu: a stack of popup windows, one per level, the root below its anchor and each submenu beside
// the row that opened it. While open the session owns the keyboard (a modal key route on its owner) and
// the pointer (the root popup holds the grab, and every level hands its pointer input to the session in
// screen pixels). A chosen item's action runs after every level has closed, from the posted-work queue.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "widget/geometry.h"
#include "widget/input/menu_item.h"
#include "widget/links.h"
#include "widget/popup_placement.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {

class KeyRoute;
class MenuPanel;
class MenuSession;

// A submenu opened from the keyboard shows its first item highlighted; one opened by the pointer none.
enum class InvokeSource : int32_t { Keyboard = 0, Pointer = 1 };

// One level's window. It leaves the pointer grab to the session and gives it all its pointer input.
class MenuPopup : public Popup {
 public:
  explicit MenuPopup(std::weak_ptr<MenuSession> session);

  // The widgets' own capture requests never move the grab: the session holds it for the whole menu.
  void SetNativeCapture(bool capture) override;
  bool PreTranslateInput(const WindowInput& input) override;

  // The session takes or releases the grab; the loss this causes is not a loss.
  void HoldPointer(bool hold);

 private:
  std::weak_ptr<MenuSession> session_;
  bool movingCapture_ = false;
};

class MenuSession : public std::enable_shared_from_this<MenuSession> {
 public:
  static std::shared_ptr<MenuSession> Create(Window& owner, std::vector<MenuItem> items,
                                             std::function<void(const MenuItem&)> onInvoked,
                                             double hoverDelay);
  ~MenuSession();
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;

  // A menu bar moves to the neighbouring menu (direction -1 or +1) when Left or Right leave the root.
  void SetOnSideways(std::function<bool(int)> callback) { onSideways_ = std::move(callback); }
  // The pointer moved outside every level (screen pixels).
  void SetOnOutsideMove(std::function<void(Point)> callback) { onOutsideMove_ = std::move(callback); }
  // A press outside every level (screen pixels); returning false (or no callback) closes the session.
  void SetOnOutsidePress(std::function<bool(Point)> callback) { onOutsidePress_ = std::move(callback); }
  void SetOnClosing(std::function<void()> callback) { onClosing_ = std::move(callback); }

  // Opens the root level below anchor (screen pixels); selectFirst highlights the first selectable item.
  // Does nothing while the session is open.
  void Open(Rect anchor, bool selectFirst);
  // Closes every level, releases the pointer and the keyboard, and calls the closing callback.
  void Close();
  bool IsOpen() const { return !levels_.empty(); }
  bool ShowsAccessKeys() const;

  int LevelCount() const { return static_cast<int>(levels_.size()); }
  MenuPopup* PopupAt(int level) const;
  MenuPanel* PanelAt(int level) const;

  // --- What the panels and popups call ---

  // A row of a level became the highlighted one (-1: none).
  void HotChanged(int level, int index, bool fromPointer);
  // Activates a row: a submenu opens, anything else closes the menu and runs after it.
  void Invoke(int level, int index, InvokeSource source);
  // Pointer input of any level, in screen pixels.
  void PointerInput(const WindowInput& input);
  // The root popup lost the grab to another window.
  void GrabLost();

 private:
  struct Level {
    std::unique_ptr<MenuPopup> popup;
    MenuPanel* panel = nullptr;
    int parentIndex = -1;  // the row of the level above that opened this one
  };
  struct SubmenuTimer {
    int level = -1;
    uint64_t id = 0;
  };

  MenuSession(Window& owner, std::vector<MenuItem> items, std::function<void(const MenuItem&)> onInvoked,
              double hoverDelay);

  Window* Owner() const;
  bool OpenLevel(std::vector<MenuItem> items, Rect anchor, PopupSide side, int parentIndex, bool selectFirst);
  void OpenSubmenu(int level, int index, bool selectFirst);
  void CloseFrom(int level);
  void CancelSubmenuTimer();
  bool KeyDown(const KeyEvent& event);
  void Step(int direction);
  void HighlightEnd(bool last);
  void AccessKey(char16_t key);
  // The deepest level whose popup contains the point; -1 when none does.
  int LevelAt(Point screen) const;
  void RouteToLevel(int level, const WindowInput& input);

  std::shared_ptr<Detail::HostLink> owner_;
  std::vector<MenuItem> items_;
  std::function<bool(int)> onSideways_;
  std::function<void(Point)> onOutsideMove_;
  std::function<bool(Point)> onOutsidePress_;
  std::function<void(const MenuItem&)> onInvoked_;
  std::function<void()> onClosing_;
  double hoverDelay_ = 0.35;
  std::vector<Level> levels_;
  std::unique_ptr<KeyRoute> keyRoute_;
  SubmenuTimer submenuTimer_;
  bool closing_ = false;
  bool leftPressedInside_ = false;
  int pressLevel_ = -1;
  bool openedByKeyboard_ = false;
  bool swallowNextChar_ = false;  // the last key the menu took may still send its character
};

}  // namespace Quarlo::Widget::Input
