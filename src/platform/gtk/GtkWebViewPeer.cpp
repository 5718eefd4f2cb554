#include "platform/gtk/GtkWebViewPeer.h"

#include <algorithm>

#include "platform/base/DispatchMeter.h"
#include "platform/base/Log.h"
#include "platform/gtk/GtkWebError.h"
#include "platform/net/URLError.h"
#include "platform/ui/WebView.h"

namespace pf {
namespace {

// Two spellings of one URL ("http://h" and "http://h/", a default port) are the same load.
std::string normalisedURI(const std::string& uri) {
  GUri* parsed = g_uri_parse(uri.c_str(),
                             GUriFlags(G_URI_FLAGS_ENCODED | G_URI_FLAGS_PARSE_RELAXED | G_URI_FLAGS_SCHEME_NORMALIZE),
                             nullptr);
  if (!parsed) return uri;
  char* text = g_uri_to_string(parsed);
  std::string out = text;
  g_free(text);
  g_uri_unref(parsed);
  return out;
}

std::optional<URLRequest> toURLRequest(WebKitURIRequest* request, WebKitWebView* web) {
  const char* uri = webkit_uri_request_get_uri(request);
  auto url = Url::parse(uri ? uri : "");
  if (!url) return std::nullopt;
  URLRequest out(*url);
  if (const char* method = webkit_uri_request_get_http_method(request)) out.setHTTPMethod(method);
  if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(request)) {
    SoupMessageHeadersIter it;
    soup_message_headers_iter_init(&it, headers);
    const char *name, *value;
    while (soup_message_headers_iter_next(&it, &name, &value)) out.addValueForHTTPHeaderField(value, name);
  }
  // The engine adds its user agent only when it sends; the delegates read it from the
  // request, as they do on the phone.
  if (!out.valueForHTTPHeaderField("User-Agent")) {
    if (const char* agent = webkit_settings_get_user_agent(webkit_web_view_get_settings(web)))
      out.setValueForHTTPHeaderField(std::string(agent), "User-Agent");
  }
  return out;
}

WebViewNavigationType toNavigationType(WebKitNavigationType type) {
  int n = int(type);
  return n >= 0 && n <= int(WebViewNavigationType::Other) ? WebViewNavigationType(n) : WebViewNavigationType::Other;
}

struct ScriptCall {
  std::weak_ptr<bool> alive;
  WebViewPeerHost* host;
  uint64_t ticket;
};

}  // namespace

GtkWebViewPeer::GtkWebViewPeer(WebView&, WebViewPeerHost& host)
    : host_(host),
      web_(GObjectRef<WebKitWebView>::ref(WEBKIT_WEB_VIEW(webkit_web_view_new()))),
      cancellable_(GObjectRef<GCancellable>::adopt(g_cancellable_new())) {
  binding_.addContent(GTK_WIDGET(web_.get()));
  g_signal_connect(web_.get(), "decide-policy", G_CALLBACK(onDecidePolicy), this);
  g_signal_connect(web_.get(), "load-changed", G_CALLBACK(onLoadChanged), this);
  g_signal_connect(web_.get(), "load-failed", G_CALLBACK(onLoadFailed), this);
  g_signal_connect(web_.get(), "web-process-terminated", G_CALLBACK(onWebProcessTerminated), this);
}

GtkWebViewPeer::~GtkWebViewPeer() {
  g_signal_handlers_disconnect_by_data(web_.get(), this);
  *alive_ = false;
  alive_.reset();
  g_cancellable_cancel(cancellable_.get());
  // A decision released without a verdict would be carried out: refuse what still waits.
  for (WebKitPolicyDecision* d : pending_) {
    webkit_policy_decision_ignore(d);
    g_object_unref(d);
  }
  pending_.clear();
  webkit_web_view_stop_loading(web_.get());
}

GtkWebViewPeer* GtkWebViewPeer::of(WebView& view) { return dynamic_cast<GtkWebViewPeer*>(&view.webPeer()); }

// ---- loads the view started (decided already) ----

bool GtkWebViewPeer::takeOwnNavigation(const char* uri) {
  if (!ownNavigation_ || !uri) return false;
  bool same = *ownNavigation_ == uri || normalisedURI(*ownNavigation_) == normalisedURI(uri);
  if (same) ownNavigation_.reset();
  return same;
}

void GtkWebViewPeer::loadNow(const URLRequest& request) {
  const std::string& uri = request.url().absoluteString();
  WebKitURIRequest* r = webkit_uri_request_new(uri.c_str());
  // The engine loads pages with GET only (no method or body of our choosing).
  if (request.httpMethod() != "GET" || !request.httpBody().empty())
    Log::message("web view: " + request.httpMethod() + " with a body is not possible here; loading with GET");
  if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(r)) {
    for (auto& [name, value] : request.allHTTPHeaderFields().fields())
      soup_message_headers_replace(headers, name.c_str(), value.c_str());
  }
  expectOwnNavigation(uri);
  webkit_web_view_load_request(web_.get(), r);
  g_object_unref(r);
}

void GtkWebViewPeer::loadRequest(const URLRequest& request) { loadNow(request); }

void GtkWebViewPeer::loadHTMLString(const std::string& html, const std::optional<Url>& baseURL) {
  expectOwnNavigation(baseURL ? baseURL->absoluteString() : "about:blank");
  webkit_web_view_load_html(web_.get(), html.c_str(), baseURL ? baseURL->absoluteString().c_str() : nullptr);
}

void GtkWebViewPeer::stopLoading() { webkit_web_view_stop_loading(web_.get()); }

void GtkWebViewPeer::reload() {
  if (const char* uri = webkit_web_view_get_uri(web_.get())) expectOwnNavigation(uri);
  webkit_web_view_reload(web_.get());
}

void GtkWebViewPeer::goBack() {
  if (auto target = historyRequest(-1)) expectOwnNavigation(target->url().absoluteString());
  webkit_web_view_go_back(web_.get());
}

void GtkWebViewPeer::goForward() {
  if (auto target = historyRequest(+1)) expectOwnNavigation(target->url().absoluteString());
  webkit_web_view_go_forward(web_.get());
}

std::optional<URLRequest> GtkWebViewPeer::historyRequest(int offset) const {
  WebKitBackForwardList* list = webkit_web_view_get_back_forward_list(web_.get());
  WebKitBackForwardListItem* item = webkit_back_forward_list_get_nth_item(list, offset);
  if (!item) return std::nullopt;
  auto url = Url::parse(webkit_back_forward_list_item_get_uri(item));
  return url ? std::optional<URLRequest>(URLRequest(*url)) : std::nullopt;
}

// ---- navigations the page starts ----

gboolean GtkWebViewPeer::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                        gpointer self) {
  DispatchMeter::Scope measured("web view navigation decision");
  return static_cast<GtkWebViewPeer*>(self)->decide(decision, type);
}

gboolean GtkWebViewPeer::decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;  // the engine's default
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  WebKitURIRequest* uriRequest = webkit_navigation_action_get_request(action);
  bool newWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
  if (!newWindow && takeOwnNavigation(webkit_uri_request_get_uri(uriRequest))) {
    webkit_policy_decision_use(decision);
    return TRUE;
  }
  auto request = toURLRequest(uriRequest, web_.get());
  if (!request) {
    Log::message(std::string("web view: refused a navigation to an unreadable URL: ") +
                 (webkit_uri_request_get_uri(uriRequest) ? webkit_uri_request_get_uri(uriRequest) : ""));
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  g_object_ref(decision);
  pending_.push_back(decision);
  std::weak_ptr<bool> alive = alive_;
  bool allowed = host_.peerShouldStartLoad(*request, toNavigationType(webkit_navigation_action_get_navigation_type(action)));
  if (alive.expired()) return TRUE;  // our destructor refused it and let it go
  pending_.erase(std::find(pending_.begin(), pending_.end(), decision));
  if (allowed && newWindow) {
    // No second window: the link loads here (the view made it current already).
    webkit_policy_decision_ignore(decision);
    loadNow(*request);
  } else if (allowed) {
    webkit_policy_decision_use(decision);
  } else {
    webkit_policy_decision_ignore(decision);
  }
  g_object_unref(decision);
  return TRUE;
}

// ---- load events ----

bool GtkWebViewPeer::endLoad(const std::optional<Error>& error) {
  if (!inLoad_) return true;
  inLoad_ = false;
  std::weak_ptr<bool> alive = alive_;
  if (error)
    host_.peerDidFailLoad(*error);
  else
    host_.peerDidFinishLoad();
  return !alive.expired();
}

void GtkWebViewPeer::onLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer self) {
  DispatchMeter::Scope measured("web view load event");
  auto* peer = static_cast<GtkWebViewPeer*>(self);
  if (event == WEBKIT_LOAD_STARTED) {
    peer->ownNavigation_.reset();  // decided or not, our own load is under way
    // A load the engine replaced without a word still ends once for the host.
    if (peer->inLoad_) {
      const char* uri = webkit_web_view_get_uri(web);
      if (!peer->endLoad(URLError::make(URLError::Cancelled, Url::parse(uri ? uri : "")))) return;
    }
    peer->inLoad_ = true;
    peer->host_.peerDidStartLoad();
  } else if (event == WEBKIT_LOAD_FINISHED) {
    peer->endLoad(std::nullopt);  // after a failure the engine still says "finished": ignored
  }
}

gboolean GtkWebViewPeer::onLoadFailed(WebKitWebView*, WebKitLoadEvent, char* uri, GError* error, gpointer self) {
  DispatchMeter::Scope measured("web view load failure");
  auto* peer = static_cast<GtkWebViewPeer*>(self);
  peer->endLoad(GtkWebError::fromGError(error, uri ? uri : ""));
  return TRUE;  // no engine error page: the phone's web view shows none, and it would "finish" a load
}

void GtkWebViewPeer::onWebProcessTerminated(WebKitWebView* web, WebKitWebProcessTerminationReason reason,
                                            gpointer self) {
  Log::format("web view: the web content process ended (reason %d)", int(reason));
  const char* uri = webkit_web_view_get_uri(web);
  static_cast<GtkWebViewPeer*>(self)->endLoad(URLError::make(URLError::NetworkConnectionLost, Url::parse(uri ? uri : "")));
}

// ---- scripts ----

void GtkWebViewPeer::evaluateJavaScript(uint64_t ticket, const std::string& script) {
  auto* call = new ScriptCall{alive_, &host_, ticket};
  webkit_web_view_evaluate_javascript(web_.get(), script.c_str(), gssize(script.size()), nullptr, nullptr,
                                      cancellable_.get(), onScriptFinished, call);
}

void GtkWebViewPeer::onScriptFinished(GObject* source, GAsyncResult* result, gpointer data) {
  DispatchMeter::Scope measured("web view script result");
  std::unique_ptr<ScriptCall> call(static_cast<ScriptCall*>(data));
  GError* error = nullptr;
  JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
  std::optional<std::string> text;
  if (value) {
    // The phone's web view answers "" for a script whose value is undefined or null.
    if (jsc_value_is_undefined(value) || jsc_value_is_null(value)) {
      text = std::string();
    } else {
      char* s = jsc_value_to_string(value);
      text = s ? s : "";
      g_free(s);
    }
    g_object_unref(value);
  }
  g_clear_error(&error);
  if (call->alive.expired()) return;  // the view is gone (or going): nobody to tell
  call->host->peerDidEvaluateJavaScript(call->ticket, std::move(text));
}

// ---- settings ----

void GtkWebViewPeer::setAllowsInlineMediaPlayback(bool on) {
  webkit_settings_set_media_playback_allows_inline(webkit_web_view_get_settings(web_.get()), on);
}

void GtkWebViewPeer::setMediaPlaybackRequiresUserAction(bool on) {
  webkit_settings_set_media_playback_requires_user_gesture(webkit_web_view_get_settings(web_.get()), on);
}

void GtkWebViewPeer::setBackgroundColor(const Color& color) {
  binding_.setBackgroundColor(color);
  // The engine paints its own page background; a clear view shows what is behind it.
  GdkRGBA rgba{float(color.red), float(color.green), float(color.blue), float(color.alpha)};
  webkit_web_view_set_background_color(web_.get(), &rgba);
}

}  // namespace pf
