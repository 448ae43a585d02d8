// Font families, the cached font descriptions and the user-interface thread's Pango context.

#include "widget/detail/text_formats.h"

#include <fmt/format.h>
#include <pango/pangocairo.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "widget/detail/desktop_settings.h"
#include "widget/detail/gobject_ptr.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::Detail {
namespace {

// Families tried after the desktop's own; fontconfig adds per-script fallbacks (Nanum for Hangul) to each.
constexpr const char* kFallbackFamilies = "DejaVu Sans,Sans";

struct DescriptionFree {
  void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using DescriptionPtr = std::unique_ptr<PangoFontDescription, DescriptionFree>;

struct FormatCache {
  std::mutex mutex;
  std::map<std::string, DescriptionPtr> formats;
};

// The font-warming thread is detached and may still be using the cache and the family when the process
// exits: both live until the very end instead of being destroyed with the other statics.
FormatCache& Formats() {
  static FormatCache& cache = *new FormatCache;
  return cache;
}

std::string ResolveTextFamily() {
  const std::string desktop = DesktopFontFamily();
  return desktop.empty() ? std::string(kFallbackFamilies) : desktop + "," + kFallbackFamilies;
}

std::string FormatKey(const std::string& family, float size, int weight, bool italic,
                      const std::string& locale) {
  return fmt::format("{}|{:.2f}|{}|{}|{}", family, size, weight, italic ? 1 : 0, locale);
}

// Text larger than this many DIPs is no label; it is refused rather than handed to the font rasteriser.
constexpr float kMaxTextSize = 4096;

const PangoFontDescription* CachedFormat(const std::string& family, float size, int weight, bool italic) {
  if (!(size > 0) || size > kMaxTextSize) return nullptr;
  const std::string key = FormatKey(family, size, weight, italic, TextLocale());
  FormatCache& cache = Formats();
  std::lock_guard lock(cache.mutex);
  auto found = cache.formats.find(key);
  if (found != cache.formats.end()) return found->second.get();
  DescriptionPtr description(pango_font_description_new());
  pango_font_description_set_family(description.get(), family.c_str());
  pango_font_description_set_absolute_size(description.get(), size * PANGO_SCALE);
  pango_font_description_set_weight(description.get(), static_cast<PangoWeight>(std::clamp(weight, 1, 1000)));
  pango_font_description_set_style(description.get(), italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return cache.formats.emplace(key, std::move(description)).first->second.get();
}

cairo_font_options_t* UiFontOptions() {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  return options;
}

GObjectPtr<PangoContext> NewContext(PangoFontMap* fontMap) {
  GObjectPtr<PangoContext> context(pango_font_map_create_context(fontMap));
  cairo_font_options_t* options = UiFontOptions();
  pango_cairo_context_set_font_options(context.get(), options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context.get(), 96);
  pango_context_set_round_glyph_positions(context.get(), FALSE);
  return context;
}

// The font map the warming thread filled, handed to the user-interface thread when it makes its context
// first; the thread that finds the other side already done releases it.
std::atomic<PangoFontMap*> warmedFontMap{nullptr};
std::atomic<bool> uiContextMade{false};

// Lays a little text out in the UI and icon fonts, so fontconfig loads its configuration, matches the
// families and opens the font files, in a font map that the UI thread then adopts.
void LoadFonts() {
  GObjectPtr<PangoFontMap> fontMap(pango_cairo_font_map_new());
  GObjectPtr<PangoContext> context = NewContext(fontMap.get());
  // Font choices are cached per language: warm the one the user-interface thread will ask for.
  pango_context_set_language(context.get(), pango_language_from_string(TextLocale().c_str()));
  GObjectPtr<PangoLayout> layout(pango_layout_new(context.get()));
  // The Hangul font is opened ahead only for a Korean interface: elsewhere it is needed only by the odd
  // Korean name, and warming it would keep megabytes of it resident in every session.
  const char* sample = TextLocale().starts_with("ko") ? "Aa 가나 \xee\x97\x8d" : "Aa \xee\x97\x8d";
  for (const PangoFontDescription* format : {TextFormat(TextStyle{}), IconFormat(16)}) {
    pango_layout_set_font_description(layout.get(), format);
    pango_layout_set_text(layout.get(), sample, -1);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout.get(), &width, &height);
  }
  layout.reset();
  context.reset();
  if (uiContextMade.load()) return;
  warmedFontMap.store(fontMap.release());
  if (uiContextMade.load()) {
    if (PangoFontMap* unclaimed = warmedFontMap.exchange(nullptr)) g_object_unref(unclaimed);
  }
}

}  // namespace

const std::string& TextFamily() {
  static const std::string& family = *new std::string(ResolveTextFamily());
  return family;
}

std::string TextLocale() {
  switch (ToolkitLanguage()) {
    case ToolkitLanguageId::Korean:
      return "ko-KR";
    case ToolkitLanguageId::Japanese:
      return "ja-JP";
    case ToolkitLanguageId::SimplifiedChinese:
      return "zh-CN";
    case ToolkitLanguageId::TraditionalChinese:
      return "zh-TW";
    case ToolkitLanguageId::English:
      break;
  }
  static const std::string user = UserLocaleTag();
  return user;
}

std::string TextFormatKey(const TextStyle& style, const std::string& locale) {
  return FormatKey(style.family.empty() ? TextFamily() : style.family, style.size, style.weight, style.italic,
                   locale);
}

const PangoFontDescription* TextFormat(const TextStyle& style) {
  return CachedFormat(style.family.empty() ? TextFamily() : style.family, style.size, style.weight,
                      style.italic);
}

const PangoFontDescription* IconFormat(float size) { return CachedFormat(kIconFamily, size, 400, false); }

size_t TextFormatCount() {
  FormatCache& cache = Formats();
  std::lock_guard lock(cache.mutex);
  return cache.formats.size();
}

namespace {

GObjectPtr<PangoContext> MakeUiContext() {
  uiContextMade.store(true);
  if (PangoFontMap* warmed = warmedFontMap.exchange(nullptr)) {
    GObjectPtr<PangoFontMap> owned(warmed);  // the context keeps its own reference
    return NewContext(owned.get());
  }
  return NewContext(pango_cairo_font_map_get_default());
}

}  // namespace

PangoContext* UiContext() {
  static GObjectPtr<PangoContext> context = MakeUiContext();
  pango_context_set_language(context.get(), pango_language_from_string(TextLocale().c_str()));
  return context.get();
}

namespace {

// Joined before the process ends: a warm-up still shaping text while the text libraries' exit handlers free
// their tables reads freed memory. The destructor is only the last resort (it runs after those handlers).
struct WarmThread {
  std::mutex mutex;
  std::thread thread;
  void Join() {
    std::lock_guard lock(mutex);
    if (thread.joinable()) thread.join();
  }
  ~WarmThread() { Join(); }
};

WarmThread& Warming() {
  static WarmThread warming;
  return warming;
}

}  // namespace

void PrewarmText() {
  static std::once_flag once;
  std::call_once(once, [] {
    // The family is resolved here: reading the desktop's font name may touch GTK, which is not thread-safe.
    TextFamily();
    WarmThread& warming = Warming();
    std::lock_guard lock(warming.mutex);
    warming.thread = std::thread([] {
      pthread_setname_np(pthread_self(), "QuarloFontWarm");
      LoadFonts();
    });
  });
}

void FinishPrewarmText() { Warming().Join(); }

}  // namespace Quarlo::Widget::Detail
