// ashenmoor-screenshots <out dir> [<hooks dir>]: pictures of what people see of the sandbox —
// the site's three pages on a 320-point-wide view, every banner creative at 320×50, the
// landing pages and the dashboard after some traffic — as PNG files in <out dir>. Then each
// executable in <hooks dir>, in name order, runs while the sandbox still does, with
//   ASHENMOOR_CONTENT_HOST, ASHENMOOR_SCRIPT_HOST, ASHENMOOR_AD_HOST  the sandbox (host:port)
//   ASHENMOOR_SCREENSHOTS_DIR                                        <out dir>
// to add its own pictures (the application's tabs). Exit status 1 when a page does not load,
// a picture looks blank or a hook fails. Needs a display (make screenshots runs xvfb-run).
#include <gtk/gtk.h>
#include <libsoup/soup.h>
#include <unistd.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "SandboxProcess.h"
#include "Snapshot.h"
#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/signals/GADSignals.h"

namespace {

int failures = 0;

void fail(const std::string& what) {
  std::fprintf(stderr, "screenshots: %s\n", what.c_str());
  ++failures;
}

void spin(const bool& done, int timeoutMs) {
  const gint64 end = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
  while (!done && g_get_monotonic_time() < end)
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
}

std::string get(SoupSession* session, const std::string& url, const char* ifModifiedSince = nullptr) {
  g_autoptr(SoupMessage) message = soup_message_new("GET", url.c_str());
  if (ifModifiedSince)
    soup_message_headers_replace(soup_message_get_request_headers(message), "If-Modified-Since", ifModifiedSince);
  g_autoptr(GBytes) body = soup_session_send_and_read(session, message, nullptr, nullptr);
  if (!body) return "";
  gsize size = 0;
  auto* data = static_cast<const char*>(g_bytes_get_data(body, &size));
  return std::string(data ? data : "", size);
}

// One web view in a window of a fixed size.
class Shooter {
 public:
  Shooter(int width, int height) : width_(width) {
    window_ = GTK_WINDOW(g_object_ref_sink(gtk_window_new()));
    gtk_window_set_default_size(window_, width, height);
    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_widget_set_size_request(GTK_WIDGET(view_), width, height);
    gtk_window_set_child(window_, GTK_WIDGET(view_));
    g_signal_connect(view_, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent e, gpointer self) {
                       if (e == WEBKIT_LOAD_FINISHED) static_cast<Shooter*>(self)->finished_ = true;
                     }), this);
    // Once the page asked for is up, whatever it navigates to by itself is refused and noted
    // (a banner that tries to leave untouched is one to show, not to follow).
    g_signal_connect(view_, "decide-policy",
                     G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* d, WebKitPolicyDecisionType type,
                                    gpointer self) -> gboolean {
                       auto* shooter = static_cast<Shooter*>(self);
                       if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE || !shooter->finished_) return FALSE;
                       auto* action = webkit_navigation_policy_decision_get_navigation_action(
                           WEBKIT_NAVIGATION_POLICY_DECISION(d));
                       shooter->tried_.push_back(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
                       webkit_policy_decision_ignore(d);
                       return TRUE;
                     }), this);
    gtk_window_present(window_);
  }
  ~Shooter() {
    g_signal_handlers_disconnect_by_data(view_, this);
    gtk_window_destroy(window_);
    g_object_unref(window_);
  }

  // Loads `url` and saves what shows (the whole document when `full`) as <dir>/<name>.png,
  // after the page's first `waitForTries` attempts to navigate away (refused).
  void shoot(const std::string& url, const std::string& dir, const std::string& name, bool full,
             size_t waitForTries = 0) {
    finished_ = false;
    tried_.clear();
    webkit_web_view_load_uri(view_, url.c_str());
    spin(finished_, 15000);
    if (!finished_) return fail(url + " did not load");
    const gint64 end = g_get_monotonic_time() + 3000 * 1000;
    while (tried_.size() < waitForTries && g_get_monotonic_time() < end)
      if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    bool settled = false;
    spin(settled, 150);  // layout and web fonts after the load event
    GdkTexture* texture = nullptr;
    bool done = false;
    struct Pending {
      GdkTexture** texture;
      bool* done;
    } pending{&texture, &done};
    webkit_web_view_get_snapshot(
        view_, full ? WEBKIT_SNAPSHOT_REGION_FULL_DOCUMENT : WEBKIT_SNAPSHOT_REGION_VISIBLE,
        WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
          auto* p = static_cast<Pending*>(data);
          *p->texture = webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
          *p->done = true;
        },
        &pending);
    while (!done) g_main_context_iteration(nullptr, TRUE);  // the callback always comes
    auto shot = shots::save(texture, dir + "/" + name + ".png");
    if (!shot.saved) return fail(name + ": " + shot.error);
    if (shot.width != width_ || shot.colours < 12)
      return fail(name + ": " + std::to_string(shot.width) + " wide, " + std::to_string(shot.colours) + " colours");
    std::printf("%s/%s.png %dx%d\n", dir.c_str(), name.c_str(), shot.width, shot.height);
  }

 private:
  GtkWindow* window_;
  WebKitWebView* view_;
  int width_;
  bool finished_ = false;

 public:
  std::vector<std::string> tried_;  // navigations the page attempted by itself, refused
};

// Traffic worth showing on the dashboard: ads through the rotation with the application's
// signals (one genuine, one tampered), a failure, pings (a click with its signal), a
// revalidated script and a queued answer.
void traffic(const SandboxProcess& sandbox) {
  gad_gig(0, "vize-sdk-i-v4.1.1");
  gad_htg(160, 25, 87);
  std::string ms, tampered, click;
  gad_gmrs(ms);
  gad_gmrs(tampered);
  tampered.back() = tampered.back() == 'A' ? 'B' : 'A';
  gad_gmcs("SBX7q2", click);
  SoupSession* session = soup_session_new();
  const std::string script = sandbox.statics() + "/vize/sdk-core-v40.js";
  get(session, script);
  get(session, script + "?unique=1", "Sat, 01 Jan 2000 00:00:00 GMT");
  const std::string ad = sandbox.ad() +
                         "/ad?preqs=2&js=vize-sdk-i-v4.1.1&hl=en_GB&u_w=320&u_h=480&kw=%5B%22moor%22%5D"
                         "&extras=%7B%22color_bg%22%3A%222f3e46%22%7D&slotname=a15c0f3e82d9b47";
  for (const std::string& url :
       {ad + "&" + ms, ad + "&creative=status-500", ad + "&" + tampered, sandbox.ad() + "/track/impression?c=link",
        sandbox.ad() + "/track/click?c=msg-click&ai=SBX7q2&" + click,
        sandbox.ad() + "/control/next?creative=nofill&count=2"})
    get(session, url);
  g_object_unref(session);
}

void runHooks(const SandboxProcess& sandbox, const std::string& out, const std::string& hooks) {
  std::vector<std::filesystem::path> programs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(hooks, error))
    if (entry.is_regular_file() && access(entry.path().c_str(), X_OK) == 0) programs.push_back(entry.path());
  std::sort(programs.begin(), programs.end());
  auto hostOf = [](const std::string& origin) { return origin.substr(origin.find("//") + 2); };
  g_auto(GStrv) env = g_get_environ();
  env = g_environ_setenv(env, "ASHENMOOR_CONTENT_HOST", hostOf(sandbox.content()).c_str(), TRUE);
  env = g_environ_setenv(env, "ASHENMOOR_SCRIPT_HOST", hostOf(sandbox.statics()).c_str(), TRUE);
  env = g_environ_setenv(env, "ASHENMOOR_AD_HOST", hostOf(sandbox.ad()).c_str(), TRUE);
  env = g_environ_setenv(env, "ASHENMOOR_SCREENSHOTS_DIR", out.c_str(), TRUE);
  for (const auto& program : programs) {
    std::printf("screenshots: running %s\n", program.c_str());
    std::fflush(stdout);
    const char* argv[] = {program.c_str(), nullptr};
    int status = -1;
    if (!g_spawn_sync(nullptr, const_cast<char**>(argv), env, G_SPAWN_CHILD_INHERITS_STDIN, nullptr, nullptr,
                      nullptr, nullptr, &status, nullptr) ||
        !g_spawn_check_wait_status(status, nullptr))
      fail(program.string() + " failed");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <out dir> [<hooks dir>]\n", argv[0]);
    return 2;
  }
  const std::string out = argv[1];
  std::filesystem::create_directories(out);
  if (!gtk_init_check()) {
    std::fprintf(stderr, "screenshots: no display (run under xvfb-run)\n");
    return 1;
  }
  SandboxProcess sandbox;
  if (!sandbox.ready()) {
    std::fprintf(stderr, "screenshots: the sandbox did not start\n");
    return 1;
  }
  {
    Shooter page(320, 480);
    for (const char* name : {"classiclist", "contacts", "more"})
      page.shoot(sandbox.content() + "/" + name + ".html", out, std::string("site-") + name, true);
    page.shoot(sandbox.ad() + "/landing/browser.html?c=link", out, "landing-browser", true);
    page.shoot(sandbox.ad() + "/landing/webapp.html?c=link-tracked", out, "landing-webapp", false);
    page.shoot(sandbox.ad() + "/landing/video.html?c=msg-open-video", out, "landing-video", true);
  }
  {
    SoupSession* session = soup_session_new();
    auto catalogue = GAD_SBJSON().objectWithStringError(get(session, sandbox.ad() + "/creatives.json"));
    g_object_unref(session);
    if (!catalogue || catalogue->size() < 20) fail("no creative catalogue");
    Shooter banner(320, 50);
    for (size_t i = 0; catalogue && i < catalogue->size(); ++i) {
      const pf::Value& c = (*catalogue)[i];
      const std::string kind = c["kind"].asString().value_or(""), name = c["name"].asString().value_or("");
      if (kind != "banner" && kind != "redirect" && kind != "slow") continue;
      // auto-redirect tries six ways out within its first second: the shot waits for all six,
      // so its strip lists them. Every other banner stays put untouched.
      const bool leaves = name == "auto-redirect";
      banner.shoot(sandbox.ad() + "/ad/creative?c=" + name, out, "creative-" + name, false, leaves ? 6 : 0);
      if (leaves && banner.tried_.size() != 6)
        fail("auto-redirect tried " + std::to_string(banner.tried_.size()) + " ways out, not 6");
      if (!leaves && !banner.tried_.empty()) fail(name + " went untouched to " + banner.tried_.front());
    }
  }
  traffic(sandbox);
  Shooter(1000, 760).shoot(sandbox.ad() + "/", out, "dashboard", false);
  if (argc > 2) runHooks(sandbox, out, argv[2]);
  std::printf("screenshots: %s (%d failure%s)\n", out.c_str(), failures, failures == 1 ? "" : "s");
  return failures ? 1 : 0;
}
