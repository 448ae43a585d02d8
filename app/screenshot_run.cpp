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
#include "core/picture_list.h"
#include "core/strings.h"
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

// Seconds the run waits for a window to be painted, or the viewer to settle, before it gives up.
constexpr double kSettleTimeout = 10;

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

bool WriteShot(Window& window, const std::string& folder, const std::string& name, const Theme& theme,
               Size size) {
  WindowImageOptions imageOptions;
  imageOptions.size = size;
  imageOptions.dpi = window.Dpi();
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
  return path.empty() || (ShootViewer(folder, path, viewer) && ShootList(folder, viewer));
}

}  // namespace App
