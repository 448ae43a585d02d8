#pragma once
// The controller of the one viewer window. It owns the native window, the widget tree of the frame, the
// open picture list with the current position, the picture cache and the key map; it opens paths, turns
// the current position into pictures on screen, runs the commands, and handles full screen, always on top,
// the Esc rule, the window placement, the mouse's side buttons and closing. User-interface thread only.
//
// The class spans several files, one story each: main_window.cpp (lifecycle, placement, full screen,
// closing), main_window_frame.cpp (the frame and what it shows), main_window_open.cpp (opening and closing
// sources, messages), main_window_show.cpp (turning the position into pictures), main_window_navigation.cpp
// (paging and the end of the list), main_window_commands.cpp (the commands and the keys).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
}  // namespace Quarlo::Widget

namespace App {

class MessagePanel;
class NoticeBubble;
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

  // --- Commands and keys ---

  void RunCommand(CommandId id);
  // The key-down preview of the window: the key dispatch; true when the key was consumed.
  bool OnKey(const Quarlo::Widget::KeyEvent& event);
  void SetFullScreen(bool on);

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
  const NoticeBubble& NoticeWidget() const { return *notice_; }

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
  void RefreshChrome();
  void UpdateTitle();
  void ApplyAppearance();
  void HideNotice();
  std::string CurrentName() const;

  // main_window_open.cpp
  void ReportOpenFailure(const std::string& path, Quarlo::View::ZipStatus archiveStatus, int detailId);
  void Reload();

  // main_window_show.cpp
  Pagination CurrentPagination() const;
  void AskForWanted();
  Quarlo::View::PreviewBox PreviewFor(const Spread& spread) const;
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
  Placement savedPlacement_;
  uint64_t noticeTimer_ = 0;

  Quarlo::Widget::Widget* frame_ = nullptr;
  PictureView* pictureView_ = nullptr;
  WebtoonView* webtoonView_ = nullptr;
  MessagePanel* messagePanel_ = nullptr;
  NoticeBubble* notice_ = nullptr;

  // Tasks the cache's loaders post hold a weak copy: they do nothing once the window is gone.
  std::shared_ptr<const char> alive_ = std::make_shared<const char>();
  // Declared last so it is destroyed first: its loaders must end before anything they notify.
  std::unique_ptr<Quarlo::View::PictureCache> cache_;
};

}  // namespace App
