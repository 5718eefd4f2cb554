#include "sdk/notification/GADNotificationCenter.h"

#include "platform/ui/WebView.h"
#include "sdk/notification/GADJavaScriptLiteral.h"
#include "sdk/notification/GADNotification.h"
#include "sdk/utility/GADMacros.h"

namespace {

// JSON may hold U+2028 and U+2029 raw inside its strings, which engines before ES2019 read
// as line breaks in the middle of a literal; their escapes mean the same in JSON and script.
std::string scriptSafeJson(std::string json) {
  std::string out;
  out.reserve(json.size());
  for (size_t i = 0; i < json.size(); ++i) {
    if (json[i] == '\xE2' && i + 2 < json.size() && json[i + 1] == '\x80' &&
        (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
      out += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += json[i];
    }
  }
  return out;
}

}  // namespace

GADNotificationCenter& GADNotificationCenter::defaultCenter() {
  // Never destroyed: observers torn down during static destruction still remove themselves.
  static GADNotificationCenter* center = new GADNotificationCenter();
  return *center;
}

GADNotificationCenter::GADNotificationCenter() = default;

GADNotificationCenter::~GADNotificationCenter() {
  alive_.reset();
  pf::RunLoop::main().cancelPendingCalls(this);
}

void GADNotificationCenter::postFromURL(const pf::Url& url, const Packager& packager) {
  auto message = GADNotification::notificationFromURL(url);
  if (!message) return;  // a page's malformed message is dropped without a report
  postNotification(packager(message->name(), message->parameters()));
}

pf::RunLoop::CallId GADNotificationCenter::schedulePosting(const pf::Url& url, Packager packager,
                                                           double delay, const void* owner) {
  // The call holds the URL and the packager (with the web view in it) until it fires.
  return pf::RunLoop::main().performAfter(
      owner ? owner : this, delay,
      [this, alive = std::weak_ptr<bool>(alive_), url, packager = std::move(packager)] {
        if (alive.expired()) return;
        delayedPosting(url, packager);
      });
}

pf::RunLoop::CallId GADNotificationCenter::scheduleParsedPosting(std::shared_ptr<const GADNotification> message,
                                                                 Packager packager, double delay, const void* owner) {
  if (!message) return 0;
  return pf::RunLoop::main().performAfter(
      owner ? owner : this, delay,
      [this, alive = std::weak_ptr<bool>(alive_), message = std::move(message), packager = std::move(packager)] {
        if (alive.expired()) return;
        postNotification(packager(message->name(), message->parameters()));
      });
}

void GADNotificationCenter::delayedPosting(const pf::Url& url, const Packager& packager) {
  postFromURL(url, packager);
}

std::string GADNotificationCenter::javaScriptForMessage(const std::string& name,
                                                        const std::optional<pf::Value>& userInfo) {
  std::string js = std::string(kGADReceiveMessageFunction) + "(" + GADJavaScriptLiteral::quoted(name);
  if (userInfo) js += ", " + scriptSafeJson(GADMacros::jsonify(userInfo).value_or(""));
  return js + ");";
}

void GADNotificationCenter::postJSNotificationUserInfoWebView(
    const std::string& name, const std::optional<pf::Value>& userInfo,
    const std::shared_ptr<pf::WebView>& webView) {
  if (!webView) return;
  webView->evaluateJavaScript(javaScriptForMessage(name, userInfo), nullptr);
}
