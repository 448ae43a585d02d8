// The screenshot run: a window showing the toolkit's gallery, pictured in both themes, then the controls page
// in three themes at two scales.

#include "app/screenshot_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/env_switches.h"
#include "core/trace.h"
#include "widget/application.h"
#include "widget/canvas.h"
#include "widget/controls_gallery.h"
#include "widget/gallery.h"
#include "widget/theme.h"
#include "widget/window.h"
#include "widget/window_image.h"

namespace App {
namespace {

using namespace Quarlo::Widget;

// Seconds the run waits for the window's first paint before it gives up.
constexpr double kFirstPaintTimeout = 10;

class GalleryView : public Widget {
 public:
  bool painted = false;

  Size MeasureOverride(Size) override { return Detail::GallerySize(); }
  void Paint(Canvas& canvas) override {
    Detail::DrawGallery(canvas, GetTheme());
    painted = true;
  }
};

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !bytes.empty() && out.good();
}

}  // namespace

int RunScreenshots(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "quarloview: cannot create the screenshot folder %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return 1;
  }
  AppOptions options;
  options.name = "QuarloView";
  options.frameworkName = "QuarloView";
  options.parkWindows = Quarlo::View::Env().parkWindows;
  Application& app = Application::Instance();
  if (!app.Initialize(options)) {
    std::fprintf(stderr, "quarloview: cannot open the display\n");
    return 1;
  }

  Window window;
  auto* view = static_cast<GalleryView*>(window.SetRoot(std::make_unique<GalleryView>()));
  WindowOptions windowOptions;
  windowOptions.title = "QuarloView Gallery";
  windowOptions.size = Detail::GallerySize();
  if (!window.Create(windowOptions)) {
    std::fprintf(stderr, "quarloview: cannot create the gallery window\n");
    return 1;
  }
  window.Show(false);
  bool timedOut = false;
  view->StartTimer(
      kFirstPaintTimeout, [&timedOut] { timedOut = true; }, false);
  app.RunUntil([&] { return view->painted || timedOut; });
  if (!view->painted) {
    std::fprintf(stderr, "quarloview: the gallery window was never painted\n");
    return 1;
  }
  Quarlo::View::Trace("shots gallery shown");

  const std::pair<const char*, Theme> shots[] = {{"gallery-light.png", Theme::Light(SystemAccentColor())},
                                                 {"gallery-dark.png", Theme::Dark(SystemAccentColor())}};
  for (const auto& [name, theme] : shots) {
    WindowImageOptions imageOptions;
    imageOptions.size = Detail::GallerySize();
    imageOptions.dpi = window.Dpi();
    imageOptions.theme = theme;
    const std::string path = folder + "/" + name;
    if (!WriteFile(path, EncodeImage(RenderWindowToImage(window, imageOptions), ImageOptions{}))) {
      std::fprintf(stderr, "quarloview: cannot write %s\n", path.c_str());
      return 1;
    }
    Quarlo::View::Trace(std::string("shot ") + name);
  }
  window.Destroy();
  if (!Detail::WriteControlsShots(folder)) {
    std::fprintf(stderr, "quarloview: cannot write the controls shots into %s\n", folder.c_str());
    return 1;
  }
  Quarlo::View::Trace("shots controls written");
  return 0;
}

}  // namespace App
