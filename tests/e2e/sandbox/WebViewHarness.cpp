#include "WebViewHarness.h"

#include <set>

WebViewHarness::WebViewHarness(int width, int height) {
  window_ = GTK_WINDOW(gtk_window_new());
  g_object_ref_sink(window_);
  gtk_window_set_default_size(window_, width, height);
  gtk_window_set_resizable(window_, FALSE);
  view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
  gtk_widget_set_size_request(GTK_WIDGET(view_), width, height);
  gtk_window_set_child(window_, GTK_WIDGET(view_));
  g_signal_connect(view_, "decide-policy", G_CALLBACK(onDecidePolicy), this);
  g_signal_connect(view_, "load-changed", G_CALLBACK(onLoadChanged), this);
  g_signal_connect(view_, "load-failed", G_CALLBACK(onLoadFailed), this);
  gtk_window_present(window_);
}

WebViewHarness::~WebViewHarness() {
  g_signal_handlers_disconnect_by_data(view_, this);
  gtk_window_destroy(window_);
  g_object_unref(window_);
  // Let WebKit finish tearing down its processes' connections.
  spin([] { return false; }, 50);
}

bool WebViewHarness::spin(const std::function<bool()>& done, int timeoutMs) {
  bool timedOut = false;
  guint source = g_timeout_add(static_cast<guint>(timeoutMs), [](gpointer flag) -> gboolean {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
  }, &timedOut);
  while (!done() && !timedOut) g_main_context_iteration(nullptr, TRUE);
  if (!timedOut) g_source_remove(source);
  return done();
}

bool WebViewHarness::loadUri(const std::string& uri, int timeoutMs) {
  finished_ = failed_ = false;
  asked_ = uri;
  webkit_web_view_load_uri(view_, uri.c_str());
  spin([this] { return finished_ || failed_; }, timeoutMs);
  // Give layout and web fonts a moment after the load event.
  spin([] { return false; }, 150);
  return finished_ && !failed_;
}

void WebViewHarness::loadHtml(const std::string& html, const std::string& baseUri) {
  finished_ = failed_ = false;
  webkit_web_view_load_html(view_, html.c_str(), baseUri.c_str());
}

const std::vector<std::string>& WebViewHarness::waitForMessages(size_t count, int timeoutMs) {
  spin([this, count] { return messages_.size() >= count; }, timeoutMs);
  return messages_;
}

std::string WebViewHarness::title() const {
  const char* t = webkit_web_view_get_title(view_);
  return t ? t : "";
}

WebViewHarness::Snapshot WebViewHarness::snapshot(const std::string& pngPath, bool fullDocument) {
  Snapshot result;
  GdkTexture* texture = nullptr;
  GError* error = nullptr;
  bool done = false;
  struct Pending {
    GdkTexture** texture;
    GError** error;
    bool* done;
  } pending{&texture, &error, &done};
  webkit_web_view_get_snapshot(
      view_, fullDocument ? WEBKIT_SNAPSHOT_REGION_FULL_DOCUMENT : WEBKIT_SNAPSHOT_REGION_VISIBLE,
      WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
      [](GObject* source, GAsyncResult* res, gpointer data) {
        auto* p = static_cast<Pending*>(data);
        *p->texture = webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), res, p->error);
        *p->done = true;
      },
      &pending);
  // The callback always runs (it owns the result), so wait for it without a time-out.
  while (!done) g_main_context_iteration(nullptr, TRUE);
  if (!texture) {
    result.error = error ? error->message : "no snapshot";
    g_clear_error(&error);
    return result;
  }
  result.width = gdk_texture_get_width(texture);
  result.height = gdk_texture_get_height(texture);
  result.saved = gdk_texture_save_to_png(texture, pngPath.c_str());
  std::vector<guchar> pixels(static_cast<size_t>(result.width) * result.height * 4);
  gdk_texture_download(texture, pixels.data(), static_cast<gsize>(result.width) * 4);
  std::set<guint32> colours;
  for (size_t i = 0; i + 3 < pixels.size(); i += 4 * 7) {
    colours.insert(guint32(pixels[i]) << 16 | guint32(pixels[i + 1]) << 8 | pixels[i + 2]);
  }
  result.colours = colours.size();
  g_object_unref(texture);
  return result;
}

gboolean WebViewHarness::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                        gpointer self) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  auto* harness = static_cast<WebViewHarness*>(self);
  if (g_str_has_prefix(uri, "gmsg:") || g_str_has_prefix(uri, "rodud:") ||
      (harness->stayOnPage_ && harness->asked_ != uri)) {
    harness->messages_.emplace_back(uri);
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  return FALSE;
}

void WebViewHarness::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  if (event == WEBKIT_LOAD_FINISHED) static_cast<WebViewHarness*>(self)->finished_ = true;
}

gboolean WebViewHarness::onLoadFailed(WebKitWebView*, WebKitLoadEvent, const char*, GError* error, gpointer self) {
  // A load cut short by a refused message navigation is not a failure of the page.
  if (!g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    static_cast<WebViewHarness*>(self)->failed_ = true;
  }
  return FALSE;
}
