#include "sdk/view/GADWebViewDelegate.h"

#include <algorithm>
#include <cctype>

#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/notification/GADNotification.h"
#include "sdk/notification/GADNotificationCenter.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/utility/GADAdTrace.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/utility/GADNumberUtilities.h"
#include "sdk/viewcontroller/GADViewController.h"

namespace {

std::string lowerCased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

size_t characterCount(const std::string& utf8) {
  return std::count_if(utf8.begin(), utf8.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; });
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

std::optional<std::string> parameter(const pf::Value& parameters, std::string_view key) {
  if (!parameters.contains(key)) return std::nullopt;
  return parameters[key].stringRef();
}

}  // namespace

std::shared_ptr<GADWebViewDelegate> GADWebViewDelegate::create() {
  return std::shared_ptr<GADWebViewDelegate>(new GADWebViewDelegate());
}

GADWebViewDelegate::GADWebViewDelegate() : opener_(GADOpener::create()) {}

GADWebViewDelegate::~GADWebViewDelegate() {
  if (tracker_) tracker_->reset();  // its transfer stops and its background task ends
}

bool GADWebViewDelegate::webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view,
                                                           const pf::URLRequest& request,
                                                           pf::WebViewNavigationType type) {
  const pf::Url& url = request.url();
  const std::string scheme = lowerCased(url.scheme());
  // Our own fetches present the same user agent as the web views.
  if (auto agent = request.valueForHTTPHeaderField("User-Agent")) GADNetworkUtilities::setUserAgentString(*agent);
  opener_->setViewController(viewController_);

  pf::Value announcement = pf::Value::dictionary({{"u", url.absoluteString()}});
  if (GADNotification::isNotificationURL(url)) {
    auto message = GADNotification::notificationFromURL(url);
    if (message) announcement.set("a", message->name());
    pf::NotificationCenter::defaultCenter().postNotificationName(GADWebViewDelegateDidReceiveWebAction, view,
                                                                 announcement);
    if (GADAdTrace::enabled())
      GADAdTrace::write(traceBanner_, "message",
                        {{"name", message ? pf::Value(message->name()) : pf::Value()}});
    handleMessage(view, url, std::move(message));
    return false;  // a message is never loaded
  }

  if (!(type == pf::WebViewNavigationType::Other && characterCount(url.path()) < 2))
    pf::NotificationCenter::defaultCenter().postNotificationName(GADWebViewDelegateDidReceiveWebAction, view,
                                                                 announcement);
  if (scheme == "mailto") {
    opener_->openEmailComposer(url);
    return false;
  }
  if (scheme == "file") return false;
  if (scheme == "about" || scheme == "http" || scheme == "https") return true;
  opener_->openApp(url);
  return false;
}

void GADWebViewDelegate::handleMessage(const std::shared_ptr<pf::WebView>& view, const pf::Url& url,
                                       std::shared_ptr<GADNotification> message) {
  const std::string name = message ? message->name() : std::string();
  const pf::Value params = message ? message->parameters() : pf::Value();
  if (!message) {
    // Dropped where it is posted; still announced above.
  } else if (name == "click") {
    trackURLStringAppendSpamSignals(parameter(params, "u"), true);
    return;
  } else if (name == "close") {
    // Only a full-screen controller has a screen to give up.
    if (auto screen = std::dynamic_pointer_cast<GADViewController>(viewController())) screen->relinquishScreen();
    return;
  } else if (name == "httpTrack") {
    trackURLStringAppendSpamSignals(parameter(params, "u"), false);
    return;
  } else if (name == "log") {
    pf::Log::message(parameter(params, "string").value_or("(null)"));
    return;
  } else if (name == "open") {
    auto keep = opener_;  // the opening may end with this delegate
    keep->openNotification(*message);
    return;
  } else if (name == "touch") {
    processTouchSignals(params);
    return;
  } else if (name == "vibrate") {
    pf::Application::sharedApplication()->playSystemSound(pf::Application::kSystemSoundVibrate);
    return;
  } else if (name == "canOpenURLs") {
    auto urls = parameter(params, "urls");
    processCanOpenURLsWebView(urls ? splitAt(*urls, ',') : std::vector<std::string>{}, view);
    return;
  } else if (name == "evalInOpener") {
    if (!openingWebView()) return;
    // The delayed call keeps this delegate and the asking view, as a delayed message did.
    std::string js = parameter(params, "js").value_or("");
    pf::RunLoop::main().performAfter(this, 0.0, [self = shared_from_this(), js, view] {
      self->evaluateJavaScriptInOpener(js, view);
    });
    return;
  }
  if (message)
    GADNotificationCenter::defaultCenter().postNotificationObjectWithDelay(std::move(message), view, 0.0);
  else
    GADNotificationCenter::defaultCenter().postNotificationFromURLObjectWithDelay(url, view, 0.0);  // dropped there
}

void GADWebViewDelegate::webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) {
  notifyWebViewOfOrientationChange(view, pf::Application::sharedApplication()->statusBarOrientation());
  if (!hasLoadedAtLeastOnce_) {
    hasLoadedAtLeastOnce_ = true;
    loadedFirstPage(view);
  }
}

void GADWebViewDelegate::notifyWebViewOfOrientationChange(const std::shared_ptr<pf::WebView>& view,
                                                          pf::InterfaceOrientation o) {
  int angle;
  switch (o) {
    case pf::InterfaceOrientation::Portrait: angle = 0; break;
    case pf::InterfaceOrientation::PortraitUpsideDown: angle = 180; break;
    case pf::InterfaceOrientation::LandscapeRight: angle = 90; break;
    case pf::InterfaceOrientation::LandscapeLeft: angle = -90; break;
    default: return;
  }
  if (!view) return;
  // A page without an onorientationchange handler still learns the orientation; calling a
  // missing handler would only throw in the page.
  view->evaluateJavaScript("window.__defineGetter__('orientation',function(){return " + std::to_string(angle) +
                               ";});if(typeof window.onorientationchange==='function')window.onorientationchange();",
                           [](std::optional<std::string>) {});
}

void GADWebViewDelegate::trackURLStringAppendSpamSignals(const std::optional<std::string>& text, bool appendSignals) {
  if (!tracker_) {
    tracker_ = GADClickTracker::create();
    tracker_->setTraceInfo(traceBanner_, "message");
  }
  std::optional<pf::Url> url = text ? pf::Url::parse(*text) : std::nullopt;
  if (url && appendSignals) {
    if (auto ai = GADNetworkUtilities::parameterValueForKeyFromURL("ai", *url)) {
      std::string token;
      if (gad_gmcs(*ai, token)) {
        if (auto signed_ = GADNetworkUtilities::appendQueryKeyValueToURL(token, std::nullopt, *url)) url = signed_;
      }
    }
  }
  tracker_->trackURL(url);
}

void GADWebViewDelegate::processTouchSignals(const pf::Value& parameters) {
  gad_htg(intForKeyFromDictionary("tx", parameters), intForKeyFromDictionary("ty", parameters),
          intForKeyFromDictionary("td", parameters));
}

void GADWebViewDelegate::processCanOpenURLsWebView(const std::vector<std::string>& urls,
                                                   const std::shared_ptr<pf::WebView>& view) {
  pf::Value answers = GADIdentifierUtilities::sharedInstance()->canOpenURLs(urls);
  GADNotificationCenter::defaultCenter().postJSNotificationUserInfoWebView("openableURLs", answers, view);
}

void GADWebViewDelegate::evaluateJavaScriptInOpener(const std::string& js, const std::shared_ptr<pf::WebView>& asking) {
  auto opening = openingWebView();
  if (!opening) return;
  opening->evaluateJavaScript(js, [asking](std::optional<std::string> result) {
    GADNotificationCenter::defaultCenter().postJSNotificationUserInfoWebView(
        "evalJavaScriptInOpenerResult", pf::Value::dictionary({{"result", result.value_or("")}}), asking);
  });
}

int GADWebViewDelegate::intForKeyFromDictionary(std::string_view key, const pf::Value& dictionary) {
  if (!dictionary.contains(key)) return -1;
  return GADNumberUtilities::leadingInt(dictionary[key].stringRef());
}
