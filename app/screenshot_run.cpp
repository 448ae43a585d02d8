// The screenshot run: a window showing the toolkit's gallery, pictured in both themes, the controls page in
// three themes at two scales, and the viewer window on the path's first pictures in both themes and
// languages.

#include "app/screenshot_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/viewer_window.h"
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
                   Detail::GallerySize())) {
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

bool ShootViewer(const std::string& folder, const std::string& path, MainWindow& viewer) {
  ViewerWindow& window = *viewer.Window();
  window.Show(false);
  viewer.Open(path);
  const bool korean = Quarlo::View::KoreanStrings();
  const Size size = window.ClientSize();
  const size_t count = viewer.HasList() ? std::min(viewer.List().items.size(), kShotPictures) : 1;
  bool written = true;
  for (size_t picture = 0; picture < count && written; ++picture) {
    viewer.GoTo(picture);
    for (const bool inKorean : {false, true}) {
      Quarlo::View::SetKoreanStrings(inKorean);
      viewer.Rebuild();
      if (!WaitFor(window, [&viewer] { return Settled(viewer); })) {
        std::fprintf(stderr, "quarloview: picture %zu of %s was never shown\n", picture + 1, path.c_str());
        written = false;
        break;
      }
      for (const NamedTheme& shot : ShotThemes()) {
        const std::string name =
            "viewer-" + std::to_string(picture + 1) + (inKorean ? "-ko-" : "-en-") + shot.name + ".png";
        written = written && WriteShot(window, folder, name, shot.theme, size);
      }
    }
  }
  Quarlo::View::SetKoreanStrings(korean);
  return written;
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
  return ShootViewer(folder, path, viewer) && (!viewer.HasList() || ShootChrome(folder, viewer));
}

}  // namespace App
