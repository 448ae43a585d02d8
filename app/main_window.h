#pragma once
// The controller of the one viewer window. It owns the native window, the widget tree of the frame, the
// open picture list with the current position, the picture cache and the key map; it opens paths, turns
// the current position into pictures on screen, runs the commands, and handles full screen, always on top,
// the Esc rule, the window placement, the mouse's side buttons and closing. User-interface thread only.
//
// The class spans several files, one story each: main_window.cpp (lifecycle, placement, full screen,
// closing), main_window_frame.cpp (the frame and what it shows), main_window_open.cpp (opening and closing
// sources, messages), main_window_show.cpp (turning the position into pictures), main_window_navigation.cpp
// (paging, the end of the list and the end card), main_window_slideshow.cpp (the slide show),
// main_window_commands.cpp (the commands and the keys), main_window_info.cpp (the info panel),
// main_window_list.cpp (the image list and the sort order).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chrome_widgets.h"
#include "app/commands.h"
#include "app/key_map.h"
#include "core/picture_cache.h"
#include "core/picture_list.h"
#include "widget/geometry.h"

namespace Quarlo::View {
struct Settings;
}
namespace Quarlo::Widget {
class Grid;
class Widget;
struct KeyEvent;
namespace Kit {
class FileDropTarget;
}
}  // namespace Quarlo::Widget
namespace Quarlo::Widget::Input {
struct MenuItem;
}
namespace Quarlo::Widget::List {
class TileView;
}

namespace App {

class Bar;
class EndCard;
class InfoPanel;
class ListSource;
class MessagePanel;
class NoticeBubble;
class WelcomePanel;
struct ChromeState;
class PictureView;
class ViewerWindow;
class WebtoonView;
struct KeyContext;
struct Pagination;
struct Spread;

// The viewer window's size in DIPs when no placement was saved.
inline constexpr Quarlo::Widget::Size kDefaultWindowSize{1100, 760};
// A saved placement smaller than this (screen pixels) is not restored.
inline constexpr float kMinRestoredWidth = 200;
inline constexpr float kMinRestoredHeight = 150;
// The image list's thumbnail box (DIPs per side).
inline constexpr float kListTileSide = 160;
// Ids of the Sort submenu's items: the sort keys in SortKey order from the first, and Descending.
inline constexpr int32_t kSortMenuFirstKeyId = 200;
inline constexpr int32_t kSortMenuDescendingId = 210;

class MainWindow {
 public:
  struct Hooks {
    // The user changed the language or the theme; the program re-applies them and calls Rebuild.
    std::function<void()> settingsChanged;
    // The native window has been destroyed; the program ends its loop.
    std::function<void()> quit;
  };

  // Builds the key map from the settings' Keys, the cache (its loader threads start) and the frame's
  // widgets; no window yet, so a start path can be opened, and its decode begun, before the windowing
  // system is up.
  MainWindow(Quarlo::View::Settings& settings, Hooks hooks);
  // Releases the cache (its loaders end) before the window and the widgets.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // --- Lifecycle (the program calls these) ---

  // Creates the native window around the frame; false when the desktop refuses it.
  bool Create();
  // Restores the saved placement and brings the window forward (parked: shown without activation).
  void Show();
  // Rebuilds the frame after the language or the theme changed, then shows the current position again.
  void Rebuild();

  // --- Sources and position ---

  // Opens a file, folder or archive (at startEntry inside an archive); true when it became the current
  // list. A failure is reported and leaves the current list as it was.
  bool Open(const std::string& path, const std::string& startEntry = {});
  // Closes the open list and returns to the empty state.
  void CloseSource();
  // Makes index (clamped, moved to the start of its spread) current and shows it.
  void GoTo(size_t index, bool startAtEnd = false);
  // Shows the current picture or spread, or waits for the cache to decode it. reset: another picture
  // (the zoom is fitted again); startAtEnd: the picture opens at its far end.
  void ShowCurrent(bool reset, bool startAtEnd);
  // The message panel replaces the picture; an empty detail hides the detail line.
  void ShowMessage(const std::string& headline, const std::string& detail);
  // A brief notice in the upper middle of the window.
  void Notice(const std::string& text);

  // --- Navigation (main_window_navigation.cpp) ---

  // Pages forward (delta > 0) or back by one picture or spread; past either end, EndReached.
  void Navigate(int delta, bool startAtEnd);
  // Paging ran past the last picture (atEnd) or before the first.
  void EndReached(bool atEnd);
  // Opens the folder or archive after (delta > 0) or before the current source, at its first picture.
  void OpenSiblingFolder(int delta);
  // Shows (or renews) the end card for the last picture (atEnd) or the first.
  void ShowEndCard(bool atEnd);

  // --- Slide show (main_window_slideshow.cpp) ---

  // Starts the slide show over the open list; the picture on screen stays for one full interval.
  void StartSlideshow();
  // Ends the slide show, leaving full screen when the show entered it.
  void StopSlideshow();
  // One step of the slide show, run by its timer.
  void SlideshowTick();

  // --- Commands and keys ---

  void RunCommand(CommandId id);
  // The key-down preview of the window: the key dispatch; true when the key was consumed.
  bool OnKey(const Quarlo::Widget::KeyEvent& event);
  void SetFullScreen(bool on);

  // --- Image list and sort order (main_window_list.cpp) ---

  // Shows the image list in place of the picture, with the current picture's tile selected and centred
  // and the keyboard focus in the list; or hides it. Showing needs an open list.
  void SetListShown(bool on);
  // Indexes stand for other pictures now: drops every thumbnail bitmap and reloads the list view.
  void ResetImageList();
  // Re-sorts the open list (and every list opened later) keeping the current picture.
  void SetSortOrder(Quarlo::View::SortKey key, bool descending);
  // The Sort submenu's items (built each time its menu opens), for the tool bar's More menu and the
  // context menu.
  std::vector<Quarlo::Widget::Input::MenuItem> SortMenuItems() const;
  // Runs a chosen Sort item (ids 200 to 203 and 210); false for any other id.
  bool RunSortMenuItem(int32_t id);
  // The Sort item that automation names ("SortName", "SortDateModified", "SortSize", "SortType",
  // "SortDescending"), so that test mode's "--command" reaches the submenu while no menu shows it.
  static std::optional<int32_t> SortMenuItemNamed(std::string_view name);

  // --- State, for the program, the screenshot run and tests ---

  ViewerWindow* Window() const { return window_.get(); }
  const Quarlo::View::PictureList& List() const { return list_; }
  bool HasList() const { return !list_.items.empty(); }
  size_t Current() const { return current_; }
  bool IsWaiting() const { return waiting_; }
  bool IsMessageShown() const { return messageShown_; }
  const std::string& MessageHeadline() const { return headline_; }
  const std::string& MessageDetail() const { return detail_; }
  const PictureView& Pictures() const { return *pictureView_; }
  const WebtoonView& Strip() const { return *webtoonView_; }
  const WelcomePanel& Welcome() const { return *welcomePanel_; }
  const NoticeBubble& NoticeWidget() const { return *chrome_.notice; }
  const ChromeWidgets& Chrome() const { return chrome_; }
  bool BarsShown() const { return barsShown_; }
  const KeyMap& Keys() const { return keyMap_; }
  bool IsInfoShown() const { return infoShown_; }
  const InfoPanel& InfoWidget() const { return *infoPanel_; }
  const EndCard& EndCardWidget() const { return *endCard_; }
  bool IsEndCardShown() const { return endCardShown_; }
  bool IsEndCardAtEnd() const { return endCardAtEnd_; }
  bool IsSlideshowRunning() const { return slideShow_; }
  bool IsFullScreen() const { return fullScreen_; }

  // --- Chrome (main_window_chrome.cpp) ---

  // Reveals (true) or, where auto-hide applies, hides the bars and the side arrows.
  void ShowBars(bool shown);
  // (Re)starts the 2-second timer after which auto-hidden bars go away.
  void ArmHideTimer();
  // The pointer moved over the window to this client position (whole device pixels).
  void OnPointerMoved(int x, int y);
  // The user moved the slider to this value (the guard keeps the controller's own changes out).
  void OnSliderChanged(double value);
  // A tool bar item or a drop-down menu item was chosen.
  void OnToolBarCommand(int32_t id);

  // --- Files and dialogs (main_window_dialogs.cpp) ---

  // The Open and folder dialogs; a chosen path is opened.
  void ChooseFile();
  void ChooseFolder();
  // Files dropped on the window: the first one is opened.
  void OnDropped(const std::vector<std::string>& paths);
  bool IsListShown() const { return listShown_; }
  // Every tile in view has its thumbnail decoded (or known to fail).
  bool ListThumbnailsReady() const;
  const Quarlo::Widget::List::TileView& ListView() const { return *listView_; }
  const ListSource& ImageListSource() const { return *listSource_; }
  Quarlo::View::SortKey SortOrder() const { return sortKey_; }
  bool SortDescending() const { return sortDescending_; }

 private:
  // The placement before full screen, in screen pixels.
  struct Placement {
    Quarlo::Widget::Rect bounds;
    bool maximized = false;
  };

  // main_window.cpp
  void InstallWindowCallbacks();
  // Shows the current position in a frame that was just built.
  void ShowPosition();
  void RestorePlacement();
  bool OnClosed();
  void RecordPlacement();
  void EscRule();
  void OnSideButton(bool forward);

  // main_window_frame.cpp
  std::unique_ptr<Quarlo::Widget::Widget> BuildFrame();
  std::unique_ptr<Quarlo::Widget::Widget> BuildContent();
  std::unique_ptr<Bar> BuildTopBar();
  std::unique_ptr<Bar> BuildBottomBar();
  std::unique_ptr<Quarlo::Widget::Widget> BuildArrow(bool left);
  void RefreshChrome();
  void UpdateTitle();
  void ApplyAppearance();
  std::string CurrentName() const;

  // main_window_chrome.cpp
  ChromeState CurrentChromeState() const;
  bool AutoHide() const;
  void AssignArrows();
  void OnHideTimer();
  bool PointerRestsOnChrome() const;
  void UpdateBottomBar();
  void UpdateToolBar();
  void HideNotice();

  // main_window_dialogs.cpp
  void RegisterDropTarget();
  void ShowAbout();
  void ShowShortcutList();
  void ShowOpenFailure(const std::string& headline, const std::string& detail);

  // main_window_list.cpp
  std::unique_ptr<Quarlo::Widget::List::TileView> BuildListView();
  void ReleaseListFocus();
  // Hides the list without a trace line (a new list opens, the source closes).
  void HideListQuietly();
  void OnTileInvoked(int64_t index);
  void DeliverThumbnails(const std::vector<size_t>& indexes);

  // main_window_open.cpp
  void ReportOpenFailure(const std::string& path, Quarlo::View::ZipStatus archiveStatus, int detailId);
  void Reload();

  // main_window_show.cpp
  Pagination CurrentPagination() const;
  void AskForWanted();
  Quarlo::View::PreviewBox PreviewFor() const;
  // The pictures of the current spread, or nothing while one of them is not decoded yet.
  std::optional<std::vector<Quarlo::View::PicturePtr>> SpreadPictures() const;
  // Puts decoded pictures of the current spread on screen, or the message panel when none can be shown.
  void Present(std::vector<Quarlo::View::PicturePtr> pictures, bool reset, bool startAtEnd);
  bool ShowsAnyOf(const std::vector<size_t>& indices) const;
  void OnPicturesFinished();
  void OnStripChanged();
  void TraceShow(bool failed) const;
  bool Webtoon() const;

  // main_window_navigation.cpp
  void GoToFirst();
  void GoToLast();
  void JumpBy(long delta);
  std::unique_ptr<EndCard> BuildEndCard();
  void FillEndCard(EndCard& card) const;
  void HideEndCard();

  // main_window_slideshow.cpp
  void ArmSlideTimer();

  // main_window_info.cpp
  std::unique_ptr<Quarlo::Widget::Widget> BuildInfoPanel();
  void ToggleInfo();
  void RefreshInfoPanel();

  // main_window_commands.cpp
  KeyContext CurrentKeyContext() const;
  bool RunViewCommand(CommandId id);
  void SetFit(CommandId id);
  void Zoom(int direction);
  void SetPageMode(CommandId id);
  void ToggleSetting(bool& setting, CommandId id);
  void NoticeOnOff(CommandId id, bool on);

  Quarlo::View::Settings& settings_;
  Hooks hooks_;
  KeyMap keyMap_;
  // Before the window: the list view reads it until the widgets are gone.
  std::unique_ptr<ListSource> listSource_;
  std::unique_ptr<ViewerWindow> window_;
  std::unique_ptr<Quarlo::Widget::Widget> detachedFrame_;  // the frame until Create gives it to the window
  Quarlo::View::PictureList list_;
  size_t current_ = 0;
  bool waiting_ = false;
  bool pendingReset_ = false;
  bool pendingAtEnd_ = false;
  bool messageShown_ = false;
  std::string headline_;
  std::string detail_;
  bool reloading_ = false;
  bool fullScreen_ = false;
  bool infoShown_ = false;  // the info panel is switched on (it shows only beside a picture list)
  bool listShown_ = false;  // the image list covers the picture area
  Placement savedPlacement_;
  uint64_t noticeTimer_ = 0;
  bool endCardShown_ = false;
  bool endCardAtEnd_ = false;
  bool slideShow_ = false;
  std::vector<size_t> slideOrder_;  // the shuffled visiting order; empty in sequential order
  size_t slidePosition_ = 0;        // where in slideOrder_ the picture shown last is
  uint64_t slideTimer_ = 0;
  bool slideEnteredFullScreen_ = false;
  bool barsShown_ = true;
  uint64_t hideTimer_ = 0;
  bool hasLastMouse_ = false;
  int lastMouseX_ = 0;
  int lastMouseY_ = 0;
  bool sliderGuard_ = false;
  Quarlo::View::SortKey sortKey_ = Quarlo::View::SortKey::Name;
  bool sortDescending_ = false;

  ChromeWidgets chrome_;
  PictureView* pictureView_ = nullptr;
  WebtoonView* webtoonView_ = nullptr;
  MessagePanel* messagePanel_ = nullptr;
  InfoPanel* infoPanel_ = nullptr;
  EndCard* endCard_ = nullptr;
  WelcomePanel* welcomePanel_ = nullptr;
  std::unique_ptr<Quarlo::Widget::Kit::FileDropTarget> dropTarget_;
  Quarlo::Widget::List::TileView* listView_ = nullptr;

  // Tasks the cache's loaders post hold a weak copy: they do nothing once the window is gone.
  std::shared_ptr<const char> alive_ = std::make_shared<const char>();
  // Declared last so it is destroyed first: its loaders must end before anything they notify.
  std::unique_ptr<Quarlo::View::PictureCache> cache_;
};

}  // namespace App
