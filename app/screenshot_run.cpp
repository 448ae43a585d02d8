// The screenshot run: a window showing the toolkit's gallery, pictured in both themes, the controls page in
// three themes at two scales, the viewer window on the path's first pictures and with its end card in both
// themes and languages, the info panel in both themes and languages at two scales, the image list over a
// folder of many pictures, and the chrome, its dialogs and the welcome panel.

#include "app/screenshot_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/info_panel.h"
#include "app/main_window.h"
#include "app/viewer_window.h"
#include "core/picture_list.h"
#include "core/strings.h"
#include "core/trace.h"
#include "widget/application.h"
#include "widget/canvas.h"
#include "widget/controls_gallery.h"
#include "widget/gallery.h"
#include "widget/kit/dialog_builder.h"
#include "widget/kit/kit_settings.h"
#include "widget/theme.h"
#include "widget/window.h"
#include "widget/window_image.h"

namespace App {
namespace {

using namespace Quarlo::Widget;

// Seconds the run waits for a window to be painted, or the viewer to settle, before it gives up.
constexpr double kSettleTimeout = 10;
// "Copied to the clipboard.", the notice the chrome shots show.
constexpr int kCopiedNotice = 47;

class GalleryView : public Widget {
 public:
  bool painted = false;

  Size MeasureOverride(Size) override { return Detail::GallerySize(); }
  void Paint(Canvas& canvas) override {
    Detail::DrawGallery(canvas, GetTheme());
    painted = true;
  }
};

struct NamedTheme {
  const char* name;
  Theme theme;
};

std::vector<NamedTheme> ShotThemes() {
  return {{"light", Theme::Light(SystemAccentColor())}, {"dark", Theme::Dark(SystemAccentColor())}};
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !bytes.empty() && out.good();
}

// Runs the loop until done() or the time-out; false on the time-out.
bool WaitFor(Host& host, const std::function<bool()>& done) {
  bool timedOut = false;
  const uint64_t timer = host.AddTimer(
      nullptr, kSettleTimeout, [&timedOut] { timedOut = true; }, false);
  Application::Instance().RunUntil([&] { return done() || timedOut; });
  host.CancelTimer(timer);
  return done();
}

// dpi 0: the window's own.
bool WriteShot(Window& window, const std::string& folder, const std::string& name, const Theme& theme,
               Size size, float dpi = 0) {
  WindowImageOptions imageOptions;
  imageOptions.size = size;
  imageOptions.dpi = dpi > 0 ? dpi : window.Dpi();
  imageOptions.theme = theme;
  const std::string path = folder + "/" + name;
  if (!WriteFile(path, EncodeImage(RenderWindowToImage(window, imageOptions), ImageOptions{}))) {
    std::fprintf(stderr, "quarloview: cannot write %s\n", path.c_str());
    return false;
  }
  Quarlo::View::Trace("shot " + name);
  return true;
}

bool ShootGallery(const std::string& folder) {
  Window window;
  auto* view = static_cast<GalleryView*>(window.SetRoot(std::make_unique<GalleryView>()));
  WindowOptions windowOptions;
  windowOptions.title = "QuarloView Gallery";
  windowOptions.size = Detail::GallerySize();
  if (!window.Create(windowOptions)) {
    std::fprintf(stderr, "quarloview: cannot create the gallery window\n");
    return false;
  }
  window.Show(false);
  if (!WaitFor(window, [view] { return view->painted; })) {
    std::fprintf(stderr, "quarloview: the gallery window was never painted\n");
    return false;
  }
  Quarlo::View::Trace("shots gallery shown");
  for (const NamedTheme& shot : ShotThemes()) {
    if (!WriteShot(window, folder, std::string("gallery-") + shot.name + ".png", shot.theme,
                   Detail::GallerySize(), window.Dpi())) {
      return false;
    }
  }
  window.Destroy();
  if (!Detail::WriteControlsShots(folder)) {
    std::fprintf(stderr, "quarloview: cannot write the controls shots into %s\n", folder.c_str());
    return false;
  }
  Quarlo::View::Trace("shots controls written");
  return true;
}

// The viewer has shown what it was asked to show: pictures, or a message.
bool Settled(const MainWindow& viewer) { return !viewer.HasList() || !viewer.IsWaiting(); }

bool HasCameraRow(const MainWindow& viewer) {
  const std::vector<InfoRow>& rows = viewer.InfoWidget().Shown();
  return std::any_of(rows.begin(), rows.end(),
                     [](const InfoRow& row) { return row.caption == InfoCaption::Camera; });
}

// The info panel over the first shot picture with camera data (else the first), in both languages and
// themes, at 100 % and 200 %: "info-LANG-THEME-SCALE.png". 200 % comes first so that the window is left
// at its own scale.
bool ShootInfoPanel(const std::string& folder, MainWindow& viewer) {
  if (!viewer.HasList()) return true;
  ViewerWindow& window = *viewer.Window();
  const bool korean = Quarlo::View::KoreanStrings();
  const float dpi = window.Dpi();
  const Size size = window.ClientSize();
  viewer.RunCommand(CommandId::ShowInfo);
  const size_t count = std::min(viewer.List().items.size(), kShotPictures);
  for (size_t picture = 0; picture < count; ++picture) {
    viewer.GoTo(picture);
    WaitFor(window, [&viewer] { return Settled(viewer); });
    if (HasCameraRow(viewer)) break;
    if (picture + 1 == count) viewer.GoTo(0);
  }
  bool written = true;
  for (const bool inKorean : {false, true}) {
    Quarlo::View::SetKoreanStrings(inKorean);
    viewer.Rebuild();
    if (!WaitFor(window, [&viewer] { return Settled(viewer); })) {
      std::fprintf(stderr, "quarloview: the info panel's picture was never shown\n");
      written = false;
      break;
    }
    for (const NamedTheme& shot : ShotThemes()) {
      for (const int percent : {200, 100}) {
        const std::string name = std::string("info-") + (inKorean ? "ko-" : "en-") + shot.name + "-" +
                                 std::to_string(percent) + ".png";
        written = written && WriteShot(window, folder, name, shot.theme, size, dpi * percent / 100);
      }
    }
  }
  Quarlo::View::SetKoreanStrings(korean);
  viewer.RunCommand(CommandId::ShowInfo);
  return written;
}

// Pictures what the viewer shows now in both languages and both themes, as prefix-ko-dark.png and so on.
bool ShootLanguages(const std::string& folder, const std::string& prefix, MainWindow& viewer) {
  ViewerWindow& window = *viewer.Window();
  const Size size = window.ClientSize();
  bool written = true;
  for (const bool inKorean : {false, true}) {
    Quarlo::View::SetKoreanStrings(inKorean);
    viewer.Rebuild();
    if (!WaitFor(window, [&viewer] { return Settled(viewer); })) {
      std::fprintf(stderr, "quarloview: %s was never shown\n", prefix.c_str());
      return false;
    }
    for (const NamedTheme& shot : ShotThemes()) {
      const std::string name = prefix + (inKorean ? "-ko-" : "-en-") + shot.name + ".png";
      written = written && WriteShot(window, folder, name, shot.theme, size);
    }
  }
  return written;
}

bool ShootViewer(const std::string& folder, const std::string& path, MainWindow& viewer) {
  viewer.Window()->Show(false);
  viewer.Open(path);
  const bool korean = Quarlo::View::KoreanStrings();
  const size_t count = viewer.HasList() ? std::min(viewer.List().items.size(), kShotPictures) : 1;
  bool written = true;
  for (size_t picture = 0; picture < count && written; ++picture) {
    viewer.GoTo(picture);
    written = ShootLanguages(folder, "viewer-" + std::to_string(picture + 1), viewer);
  }
  if (written && viewer.HasList()) {
    viewer.GoTo(viewer.List().items.size() - 1);
    viewer.ShowEndCard(true);
    written = ShootLanguages(folder, "viewer-end-card", viewer);
  }
  Quarlo::View::SetKoreanStrings(korean);
  return written && ShootInfoPanel(folder, viewer);
}

// The chrome in both languages at 100 % and 200 %, in both themes: the viewer with its bars and a notice,
// then the dialogs the viewer runs (About, the shortcut list, a message over the pictures), each pictured as
// soon as it runs and closed again.
bool ShootChrome(const std::string& folder, MainWindow& viewer) {
  ViewerWindow& window = *viewer.Window();
  const bool korean = Quarlo::View::KoreanStrings();
  bool written = true;
  std::string language;
  // The dialogs in the order they run below.
  const char* const kDialogNames[] = {"about", "shortcuts", "message"};
  size_t dialogIndex = 0;
  Kit::SettingsRecord().onDialogShown = [&](Window& dialog, const std::string&) {
    Window* running = &dialog;
    const std::string name =
        std::string("dialog-") + kDialogNames[dialogIndex++ % std::size(kDialogNames)] + "-" + language;
    // Pictured from the loop, once the dialog runs; its height is the content's (the desktop may not have
    // sized the window yet).
    Application::Instance().Post([&, running, name] {
      for (const NamedTheme& shot : ShotThemes()) {
        for (const float dpi : {96.0f, 192.0f}) {
          written = written &&
                    WriteShot(*running, folder, name + "-" + shot.name + (dpi > 96 ? "-200" : "") + ".png",
                              shot.theme, Size{running->ClientSize().width, 0}, dpi);
        }
      }
      running->EndModal(Kit::kDialogClosed);
    });
  };
  for (const bool inKorean : {false, true}) {
    language = inKorean ? "ko" : "en";
    Quarlo::View::SetKoreanStrings(inKorean);
    viewer.Rebuild();
    if (!WaitFor(window, [&viewer] { return Settled(viewer); })) {
      written = false;
      break;
    }
    viewer.ShowBars(true);
    viewer.Notice(Quarlo::View::Text(kCopiedNotice));
    for (const NamedTheme& shot : ShotThemes()) {
      for (const float dpi : {96.0f, 192.0f}) {
        written =
            written && WriteShot(window, folder,
                                 "chrome-" + language + "-" + shot.name + (dpi > 96 ? "-200" : "") + ".png",
                                 shot.theme, window.ClientSize(), dpi);
      }
    }
    viewer.RunCommand(CommandId::About);
    viewer.RunCommand(CommandId::ShortcutList);
    viewer.Open(viewer.List().location + "/missing.png");
  }
  // The welcome panel, once nothing is open any more.
  viewer.CloseSource();
  for (const bool inKorean : {false, true}) {
    Quarlo::View::SetKoreanStrings(inKorean);
    viewer.Rebuild();
    for (const NamedTheme& shot : ShotThemes()) {
      written =
          written &&
          WriteShot(window, folder, std::string("welcome-") + (inKorean ? "ko-" : "en-") + shot.name + ".png",
                    shot.theme, window.ClientSize());
    }
  }
  Kit::SettingsRecord().onDialogShown = {};
  Quarlo::View::SetKoreanStrings(korean);
  return written;
}

// Every ninth copy gets a name too long for its tile.
std::string CopyName(size_t number, const std::string& extension) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04zu", number);
  const std::string name = std::string("IMG_") + digits;
  return number % 9 == 0 ? name + " summer holiday at the lake with the whole family" + extension
                         : name + extension;
}

// A folder of kShotListPictures copies of the folder pictures of the viewer's list, inside the shots
// folder until the shots are taken; empty when the list holds none or the copies cannot be made.
std::string MakeListFolder(const std::string& shots, const MainWindow& viewer) {
  std::vector<std::filesystem::path> pictures;
  for (const Quarlo::View::PictureItem& item : viewer.List().items) {
    if (!item.path.empty()) pictures.emplace_back(item.path);
  }
  if (pictures.empty()) return {};
  const std::string folder = shots + "/list-pictures";
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  std::filesystem::create_directory(folder, error);
  for (size_t i = 0; i < kShotListPictures && !error; ++i) {
    const std::filesystem::path& from = pictures[i % pictures.size()];
    std::filesystem::copy_file(from, folder + "/" + CopyName(i + 1, from.extension().string()), error);
  }
  if (!error) return folder;
  std::filesystem::remove_all(folder, error);
  return {};
}

bool ShootList(const std::string& folder, MainWindow& viewer) {
  ViewerWindow& window = *viewer.Window();
  // An archive's pictures are no files to copy: its list is not pictured.
  const auto& items = viewer.List().items;
  if (std::none_of(items.begin(), items.end(), [](const auto& item) { return !item.path.empty(); }))
    return true;
  const std::string pictures = MakeListFolder(folder, viewer);
  if (pictures.empty()) {
    std::fprintf(stderr, "quarloview: cannot make the folder for the image list's shots\n");
    return false;
  }
  bool written = viewer.Open(pictures);
  if (written) {
    viewer.SetListShown(true);
    written = WaitFor(window, [&viewer] { return viewer.ListThumbnailsReady(); });
    if (!written) std::fprintf(stderr, "quarloview: the image list's thumbnails never arrived\n");
  }
  for (const NamedTheme& shot : ShotThemes()) {
    written = written && WriteShot(window, folder, std::string("list-") + shot.name + ".png", shot.theme,
                                   window.ClientSize());
  }
  viewer.CloseSource();
  std::error_code error;
  std::filesystem::remove_all(pictures, error);
  return written;
}

}  // namespace

bool RunScreenshots(const std::string& folder, const std::string& path, MainWindow& viewer) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "quarloview: cannot create the screenshot folder %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return false;
  }
  if (!ShootGallery(folder)) return false;
  if (path.empty()) return true;
  if (!ShootViewer(folder, path, viewer)) return false;
  if (!viewer.HasList()) return true;
  // The list's shots open a folder of their own and close it; the chrome's then run on the path again.
  return ShootList(folder, viewer) && viewer.Open(path) && ShootChrome(folder, viewer);
}

}  // namespace App
