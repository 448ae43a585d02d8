#pragma once
// What the viewer's chrome shows for a given state of the window: the tool bar's items with their checked
// and enabled states, the Fit, Layout and More menus, the tooltips with shortcut texts, the bottom bar's
// texts and the slider's target. Plain functions of a state record, so that the rules are checked without
// a window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "core/setting_choices.h"
#include "widget/input/menu_item.h"
#include "widget/input/toolbar.h"

namespace App {

class KeyMap;

// Tool bar and menu item ids: a command's id + 1; the drop-downs have their own.
inline constexpr int32_t kFitMenuId = 300;
inline constexpr int32_t kLayoutMenuId = 301;
inline constexpr int32_t kMoreMenuId = 302;

// The window's state as far as the chrome shows it.
struct ChromeState {
  bool listOpen = false;
  bool webtoon = false;
  bool listShown = false;  // the image list
  bool infoShown = false;  // the info panel
  bool slideShow = false;  // the slide show runs
  bool fullScreen = false;
  bool folderPicture = false;  // a current picture exists as a file in a folder (not in an archive)
  bool zoomManual = false;     // the zoom was set by hand: no fit mode is checked
  Quarlo::View::FitMode fitMode = Quarlo::View::FitMode::Fit;
  Quarlo::View::PageMode pageMode = Quarlo::View::PageMode::SinglePage;
  bool rightToLeft = false;
  bool zoomLock = false;
  bool alwaysOnTop = false;
  bool pinBars = false;
  std::array<std::string, 4> albums;  // the album folders 1 to 4 (empty: not chosen)
  // The image list's Sort submenu (ids 200 to 210); left out of the More menu while empty.
  std::vector<Quarlo::Widget::Input::MenuItem> sortMenu;
};

int32_t ItemIdOf(CommandId id);
// The command a tool bar or menu id stands for; none outside 1 to 56.
std::optional<CommandId> CommandOfItem(int32_t itemId);

// The display text of the command's first chord; empty when it has none.
std::string FirstChordText(const KeyMap& keys, CommandId id);
// The label, then " (" + the first chord's text + ")" when the command has a chord.
std::string ChordToolTip(const KeyMap& keys, CommandId id);

// Whether two item lists show the same (kinds, ids, texts, icons, states and menus alike): the tool bar is
// rebuilt only when they differ, so that its focus and hover survive the commands that change nothing.
bool SameItems(const std::vector<Quarlo::Widget::Input::ToolbarItem>& a,
               const std::vector<Quarlo::Widget::Input::ToolbarItem>& b);

std::vector<Quarlo::Widget::Input::ToolbarItem> ToolBarItems(const ChromeState& state, const KeyMap& keys);
std::vector<Quarlo::Widget::Input::MenuItem> FitMenu(const ChromeState& state, const KeyMap& keys);
std::vector<Quarlo::Widget::Input::MenuItem> LayoutMenu(const ChromeState& state, const KeyMap& keys);
std::vector<Quarlo::Widget::Input::MenuItem> MoreMenu(const ChromeState& state, const KeyMap& keys);

// "5 / 120", or "5–6 / 120" when the shown spread holds two pictures (current is its first index).
std::string PositionText(size_t current, size_t count, bool twoShown);
// "150%" for a zoom of 1.5.
std::string ZoomText(double zoom);
// The index a slider value asks for: the value rounded (halves away from zero), at least 1, minus one.
size_t SliderTarget(double value);

}  // namespace App
