// How long the desktop takes to show things: the phone-sized window from creation to its
// first painted frame, and a web view from loadHTMLString to the finished-load callback —
// the first of the process (GTK's renderer, the web process start) and warm (median of 20).
//
// Needs a display: without one it runs itself again under xvfb-run.
//   bench_ui_window                 (in `make bench`; extra arguments are ignored)
#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/gtk/GLibRunLoopDriver.h"
#include "platform/gtk/GtkUIBackend.h"
#include "platform/gtk/GtkWindowPeer.h"
#include "platform/ui/Application.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWarmRuns = 20;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

bool spin(const std::function<bool()>& done, int timeoutMs) {
  auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done() && Clock::now() < end)
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(200);  // busy enough to time, idle enough to share
  return done();
}

struct Stats {
  double median, min, max;
};
Stats stats(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  return {median, v.front(), v.back()};
}

// Creation to the first frame painted.
double windowToFirstFrame() {
  bool painted = false;
  auto t0 = Clock::now();
  auto window = pf::Window::create();
  auto* peer = pf::GtkWindowPeer::of(*window);
  GtkWidget* w = GTK_WIDGET(peer->gtkWindow());
  g_signal_connect(w, "realize", G_CALLBACK(+[](GtkWidget* widget, gpointer flag) {
                     g_signal_connect(gtk_widget_get_frame_clock(widget), "after-paint",
                                      G_CALLBACK(+[](GdkFrameClock*, gpointer f) { *static_cast<bool*>(f) = true; }), flag);
                   }),
                   &painted);
  window->makeKeyAndVisible();
  bool ok = spin([&] { return painted; }, 10000);
  double ms = msSince(t0);
  g_signal_handlers_disconnect_by_data(gtk_widget_get_frame_clock(w), &painted);
  window.reset();
  spin([] { return false; }, 20);
  return ok ? ms : -1;
}

class FinishCounter : public pf::WebViewDelegate {
 public:
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>&) override { ++finished; }
  void webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>&, const pf::Error&) override { ++failed; }
  int finished = 0;
  int failed = 0;
};

const char kBanner[] =
    "<html><head><meta name='viewport' content='width=320'></head>"
    "<body style='margin:0;background:#2f3e46;color:#fff;font:14px sans-serif'>"
    "<a href='http://ad.example/click' style='display:block;height:50px;line-height:50px;text-align:center'>"
    "Ashenmoor: the new series</a></body></html>";

double loadHTML(pf::WebView& web, FinishCounter& counter) {
  int before = counter.finished + counter.failed;
  auto t0 = Clock::now();
  web.loadHTMLString(kBanner, pf::Url::parse("http://127.0.0.1/"));
  bool ok = spin([&] { return counter.finished + counter.failed > before; }, 20000);
  return ok && counter.failed == 0 ? msSince(t0) : -1;
}

void report(const char* what, double first, const std::vector<double>& warm) {
  auto s = stats(warm);
  std::printf("%-44s first %8.1f ms   warm median %7.1f ms (min %.1f, max %.1f, n=%d)\n", what, first, s.median, s.min,
              s.max, int(warm.size()));
}

}  // namespace

int main(int argc, char** argv) {
  (void)argc;
  if (!g_getenv("DISPLAY") && !g_getenv("WAYLAND_DISPLAY") && !g_getenv("ASHENMOOR_BENCH_UNDER_XVFB")) {
    g_setenv("ASHENMOOR_BENCH_UNDER_XVFB", "1", TRUE);
    std::fprintf(stderr, "bench_ui_window: no display; running under xvfb-run\n");
    execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1024x768x24", argv[0], nullptr);
    std::perror("xvfb-run");
    return 1;
  }
  if (geteuid() == 0 && !g_getenv("WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS")) {
    // As root (containers, CI) WebKit's sandbox cannot start: said aloud, as the scripts do.
    std::fprintf(stderr, "bench_ui_window: running as root: WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1\n");
    g_setenv("WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS", "1", TRUE);
  }
  if (!g_getenv("GTK_A11Y")) g_setenv("GTK_A11Y", "none", TRUE);
  char* home = g_dir_make_tmp("ashenmoor-bench-ui-XXXXXX", nullptr);
  pf::FileManager::defaultManager().setLocations(pf::FileLocations::under(home));
  if (!pf::GtkUIBackend::install("org.ashenmoor.BenchUiWindow")) return 1;
  pf::RunLoop::main().setDriver(std::make_shared<pf::GLibRunLoopDriver>());

  // ---- the window ----
  double firstWindow = windowToFirstFrame();
  std::vector<double> warmWindows;
  for (int i = 0; i < kWarmRuns; ++i) warmWindows.push_back(windowToFirstFrame());

  // ---- web views ----
  auto window = pf::Window::create();
  window->makeKeyAndVisible();
  spin([&] { return gtk_widget_get_mapped(GTK_WIDGET(pf::GtkWindowPeer::of(*window)->gtkWindow())); }, 5000);
  auto counter = std::make_shared<FinishCounter>();
  auto web = pf::WebView::create(pf::Rect(0, 365, 320, 50));
  web->setDelegate(counter);
  window->addSubview(web);
  double firstLoad = loadHTML(*web, *counter);
  std::vector<double> sameView;
  for (int i = 0; i < kWarmRuns; ++i) sameView.push_back(loadHTML(*web, *counter));
  // A new web view for each load, as the ad layer's hidden build-ad view is made per request.
  std::vector<double> freshView;
  double firstFresh = -1;
  for (int i = 0; i <= kWarmRuns; ++i) {
    auto fresh = pf::WebView::create(pf::Rect(0, 0, 1, 1));
    fresh->setHidden(true);
    fresh->setDelegate(counter);
    double ms = loadHTML(*fresh, *counter);
    if (i == 0)
      firstFresh = ms;
    else
      freshView.push_back(ms);
    fresh.reset();
    spin([] { return false; }, 20);
  }

  std::printf("Desktop window and web view timings (%s)\n", g_getenv("ASHENMOOR_BENCH_UNDER_XVFB") ? "Xvfb" : "display");
  report("window: create -> first painted frame", firstWindow, warmWindows);
  report("web view: loadHTMLString -> finished (same view)", firstLoad, sameView);
  report("web view: new hidden view, loadHTMLString -> finished", firstFresh, freshView);
  web.reset();
  window.reset();
  g_free(home);
  return 0;
}
