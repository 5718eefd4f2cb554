#include "DesktopHarness.h"

#include <glib/gstdio.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "MainContextWait.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/gtk/GLibRunLoopDriver.h"
#include "platform/gtk/GtkUIBackend.h"
#include "platform/gtk/GtkWindowPeer.h"
#include "platform/ui/Window.h"

#include <gdk/x11/gdkx.h>  // after the views: X11 defines None

namespace DesktopHarness {
namespace {

std::string& root() {
  static std::string dir;
  return dir;
}

std::string launchedFile() { return root() + "/launched.txt"; }

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
}

}  // namespace

void prepareEnvironment() {
  GError* error = nullptr;
  char* dir = g_dir_make_tmp("ashenmoor-e2e-ui-XXXXXX", &error);
  root() = dir;
  g_free(dir);
  std::string data = root() + "/data", config = root() + "/config", cache = root() + "/cache";
  g_mkdir_with_parents((data + "/applications").c_str(), 0700);
  g_mkdir_with_parents(config.c_str(), 0700);
  g_mkdir_with_parents(cache.c_str(), 0700);
  std::string script = root() + "/handler.sh";
  writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + launchedFile() + "'\n");
  g_chmod(script.c_str(), 0755);
  writeFile(data + "/applications/ashenmoor-test-handler.desktop",
            "[Desktop Entry]\nType=Application\nName=Ashenmoor test handler\nExec=" + script +
                " %u\nNoDisplay=true\nMimeType=x-scheme-handler/mailto;x-scheme-handler/ashenmoor-test;\n");
  writeFile(config + "/mimeapps.list",
            "[Default Applications]\nx-scheme-handler/mailto=ashenmoor-test-handler.desktop\n"
            "x-scheme-handler/ashenmoor-test=ashenmoor-test-handler.desktop\n");
  g_setenv("XDG_DATA_HOME", data.c_str(), TRUE);
  g_setenv("XDG_CONFIG_HOME", config.c_str(), TRUE);
  g_setenv("XDG_CACHE_HOME", cache.c_str(), TRUE);
  g_unsetenv("XDG_CURRENT_DESKTOP");
  g_mkdir_with_parents(ASHENMOOR_TEST_OUTPUT_DIR, 0755);
}

bool install() {
  pf::FileManager::defaultManager().setLocations(pf::FileLocations::under(root() + "/home"));
  if (!pf::GtkUIBackend::install("org.ashenmoor.E2eUi")) return false;
  pf::RunLoop::main().setDriver(std::make_shared<pf::GLibRunLoopDriver>());
  return true;
}

bool spin(const std::function<bool()>& done, int timeoutMs) { return runMainContextUntil(done, timeoutMs / 1000.0); }

void settle(int ms) { spin([] { return false; }, ms); }

std::vector<std::string> launchedURLs(size_t count, int timeoutMs) {
  auto read = [] {
    std::vector<std::string> lines;
    std::ifstream in(launchedFile());
    std::string line;
    while (std::getline(in, line))
      if (!line.empty()) lines.push_back(line);
    return lines;
  };
  spin([&] { return read().size() >= count; }, timeoutMs);
  return read();
}

bool waitMapped(GtkWindow* window, int timeoutMs) {
  bool ok = spin([&] { return gtk_widget_get_mapped(GTK_WIDGET(window)); }, timeoutMs);
  settle(100);  // the first frame
  return ok;
}

pf::GtkWindowPeer* show(pf::Window& window, const std::string& title) {
  window.makeKeyAndVisible();
  auto* peer = pf::GtkWindowPeer::of(window);
  if (!peer) return nullptr;
  gtk_window_set_title(peer->gtkWindow(), title.c_str());
  return waitMapped(peer->gtkWindow(), 5000) ? peer : nullptr;
}

namespace {
std::string xidOf(GtkWindow* window) {
  GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
  if (!surface || !GDK_IS_X11_SURFACE(surface)) return "";
  return std::to_string(gdk_x11_surface_get_xid(surface));
}

bool xdotool(const std::vector<std::string>& args) {
  std::vector<const char*> argv{"xdotool"};
  for (auto& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  int status = -1;
  GError* error = nullptr;
  bool ran = g_spawn_sync(nullptr, const_cast<char**>(argv.data()), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                          nullptr, nullptr, &status, &error);
  g_clear_error(&error);
  return ran && g_spawn_check_wait_status(status, nullptr);
}
}  // namespace

bool click(GtkWindow* window, pf::Point p) {
  std::string xid = xidOf(window);
  return !xid.empty() &&
         xdotool({"mousemove", "--window", xid, std::to_string(int(p.x)), std::to_string(int(p.y)), "click", "1"});
}

bool key(GtkWindow* window, const std::string& keys) {
  std::string xid = xidOf(window);
  if (xid.empty() || !xdotool({"windowfocus", "--sync", xid})) return false;
  if (!spin([&] { return bool(gtk_window_is_active(window)); }, 3000)) return false;
  return xdotool({"key", keys});
}

// ---- a window manager ----

namespace {
struct WindowManager {
  GPid pid = 0;
  std::string ready;  // the file openbox's startup command makes
};
WindowManager& wm() {
  static WindowManager m;
  return m;
}
bool endWindowManager() {
  if (!wm().pid) return false;
  kill(wm().pid, SIGTERM);
  int status = 0;
  waitpid(wm().pid, &status, 0);
  g_spawn_close_pid(wm().pid);
  g_remove(wm().ready.c_str());
  wm() = {};
  return true;
}
void stopAtExit() { endWindowManager(); }  // a test that failed half-way leaves none behind
}  // namespace

bool startWindowManager(int timeoutMs) {
  if (wm().pid) return true;
  GdkDisplay* display = gdk_display_get_default();
  if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
  static int started = 0;
  std::string ready = root() + "/wm-ready-" + std::to_string(++started);
  std::string startup = "touch " + ready;
  const char* argv[] = {"openbox", "--sm-disable", "--startup", startup.c_str(), nullptr};
  // openbox runs on our display, whatever DISPLAY says.
  char** env = g_environ_setenv(g_get_environ(), "DISPLAY", gdk_display_get_name(display), TRUE);
  GError* error = nullptr;
  GPid pid = 0;
  bool spawned = g_spawn_async(nullptr, const_cast<char**>(argv), env,
                               GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                           G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                               nullptr, nullptr, &pid, &error);
  g_strfreev(env);
  g_clear_error(&error);
  if (!spawned) return false;
  wm() = {pid, ready};
  static bool hooked = false;
  if (!hooked) hooked = !std::atexit(stopAtExit);
  // Ready once it runs its startup command; our windows are reparented meanwhile.
  bool up = spin([&] { return g_file_test(ready.c_str(), G_FILE_TEST_EXISTS); }, timeoutMs);
  if (!up) stopWindowManager();
  return up;
}

void stopWindowManager() {
  if (endWindowManager()) settle(50);  // our windows go back to the root window
}

bool minimize(GtkWindow* window) {
  std::string xid = xidOf(window);
  return wm().pid && !xid.empty() && xdotool({"windowminimize", "--sync", xid});
}

bool restore(GtkWindow* window) {
  std::string xid = xidOf(window);
  return wm().pid && !xid.empty() && xdotool({"windowactivate", "--sync", xid});
}

Snapshot snapshot(GtkWidget* widget, const std::string& name) {
  return shots::save(shots::render(widget), std::string(ASHENMOOR_TEST_OUTPUT_DIR) + "/" + name + ".png");
}

long pixelAt(pf::GtkWindowPeer& window, pf::Point point) {
  settle(60);  // one more frame
  GdkTexture* texture = shots::render(GTK_WIDGET(window.gtkWindow()));
  if (!texture) return -1;
  auto p = window.surfacePoint(point);
  int x = int(p.x), y = int(p.y), w = gdk_texture_get_width(texture), h = gdk_texture_get_height(texture);
  long out = -1;
  if (x >= 0 && y >= 0 && x < w && y < h) {
    std::vector<guchar> pixels(size_t(w) * size_t(h) * 4);
    gdk_texture_download(texture, pixels.data(), gsize(w) * 4);
    // Downloads are B, G, R, A in memory (GDK_MEMORY_DEFAULT, native-endian ARGB).
    const guchar* px = &pixels[(size_t(y) * size_t(w) + size_t(x)) * 4];
    out = long(px[2]) << 16 | long(px[1]) << 8 | long(px[0]);
  }
  g_object_unref(texture);
  return out;
}

pf::Color rgb(long c) { return {((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0, (c & 0xff) / 255.0, 1}; }

bool near(long a, long b) {
  for (int shift : {0, 8, 16})
    if (std::abs(((a >> shift) & 0xff) - ((b >> shift) & 0xff)) > 3) return false;
  return a >= 0 && b >= 0;
}

}  // namespace DesktopHarness
