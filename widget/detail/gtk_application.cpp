// The GTK side of the application loop: opening the display, one iteration of the GLib main context, the
// cross-thread wake-up that drains the posted-work queue, and the loop's own descriptor watches and timers.

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "widget/application.h"
#include "widget/detail/desktop_settings.h"
#include "widget/loop_backend.h"

namespace Quarlo::Widget::Detail {
namespace {

gboolean DrainPosted(gpointer) {
  Application::Instance().DrainPosted();
  return G_SOURCE_REMOVE;
}

// A loop callback's storage, freed by GLib when its source goes away (after a dispatch that is under way).
struct LoopCallback {
  guint source = 0;
  std::function<void()> call;
};

void FreeLoopCallback(gpointer data) { delete static_cast<LoopCallback*>(data); }

gboolean OnDescriptorReady(gint, GIOCondition, gpointer data) {
  static_cast<LoopCallback*>(data)->call();
  return G_SOURCE_CONTINUE;
}

// The timers that have not fired or been cancelled: g_source_remove must not see the id of a source that is
// gone already.
std::unordered_set<guint>& PendingTimers() {
  static std::unordered_set<guint> timers;
  return timers;
}

gboolean OnLoopTimerDue(gpointer data) {
  auto* timer = static_cast<LoopCallback*>(data);
  PendingTimers().erase(timer->source);
  timer->call();
  return G_SOURCE_REMOVE;
}

// The desktop switched between light and dark or changed its theme: windows that follow it take it again.
void OnAppearanceChanged(GObject*, GParamSpec*, gpointer) { RefreshWindowThemes(); }

}  // namespace

bool OpenWindowingSystem(const AppOptions& options) {
  // Everything is drawn with Cairo into image surfaces; GDK's OpenGL set-up would only load the desktop's
  // GL driver (with Mesa's, LLVM: tens of MiB and tens of milliseconds at every start) to rank visuals.
  g_setenv("GDK_GL", "disable", FALSE);
  if (!gtk_init_check(nullptr, nullptr)) return false;
  gdk_set_program_class(options.name.c_str());
  if (GtkSettings* settings = gtk_settings_get_default()) {
    g_signal_connect(settings, "notify::gtk-application-prefer-dark-theme", G_CALLBACK(OnAppearanceChanged),
                     nullptr);
    g_signal_connect(settings, "notify::gtk-theme-name", G_CALLBACK(OnAppearanceChanged), nullptr);
  }
  // GNOME's colour scheme, accent and high contrast, and the desktop portal's appearance.
  WatchDesktopAppearance([] { RefreshWindowThemes(); });
  return true;
}

void ScheduleDrain(DrainWake wake) {
  // A one-shot source on the main context. New work comes at default priority: timers and input share it and
  // run before the redraw, so posted work cannot starve behind paints the way a default-idle source does.
  // Work posted while a drain runs comes at the redraw priority: it shares an iteration with the frame's
  // paint, so work that keeps posting more can starve neither the paint nor input, nor be starved by them.
  // g_main_context_invoke_full is not used: it calls the function on the spot when the caller owns the
  // context (the user-interface thread) or can acquire it, which would run a posted task on the wrong
  // thread or inside its poster. g_source_attach wakes the context from any thread.
  GSource* source = g_idle_source_new();
  g_source_set_priority(source, wake == DrainWake::Deferred ? GDK_PRIORITY_REDRAW : G_PRIORITY_DEFAULT);
  g_source_set_callback(source, DrainPosted, nullptr, nullptr);
  g_source_set_static_name(source, "QuarloWidget.Post");
  g_source_attach(source, nullptr);
  g_source_unref(source);
}

void WakeLoop() { g_main_context_wakeup(nullptr); }

void WaitAndDispatch() { g_main_context_iteration(nullptr, TRUE); }

uint64_t WatchReadable(int fd, std::function<void()> onReady) {
  auto* watch = new LoopCallback{0, std::move(onReady)};
  const auto condition = static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR);
  watch->source =
      g_unix_fd_add_full(G_PRIORITY_DEFAULT, fd, condition, OnDescriptorReady, watch, FreeLoopCallback);
  return watch->source;
}

void Unwatch(uint64_t watchId) { g_source_remove(static_cast<guint>(watchId)); }

uint64_t StartLoopTimer(double seconds, std::function<void()> onDue) {
  auto* timer = new LoopCallback{0, std::move(onDue)};
  const auto milliseconds = static_cast<guint>(std::max(0.0, seconds) * 1000.0 + 0.5);
  timer->source =
      g_timeout_add_full(G_PRIORITY_DEFAULT, milliseconds, OnLoopTimerDue, timer, FreeLoopCallback);
  PendingTimers().insert(timer->source);
  return timer->source;
}

void CancelLoopTimer(uint64_t timerId) {
  const auto source = static_cast<guint>(timerId);
  if (PendingTimers().erase(source) != 0) g_source_remove(source);
}

}  // namespace Quarlo::Widget::Detail
