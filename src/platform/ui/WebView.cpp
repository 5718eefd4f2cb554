#include "platform/ui/WebView.h"

#include "platform/net/URLError.h"
#include "platform/ui/Device.h"
#include "platform/ui/UIBackend.h"

namespace pf {

std::shared_ptr<WebView> WebView::create(const Rect& frame) {
  return std::shared_ptr<WebView>(new WebView(frame));
}

WebView::WebView(const Rect& frame)
    : View(frame, UIBackend::current().makeWebViewPeer(*this, *this)) {
  webPeer_ = static_cast<WebViewPeer*>(&peer());
  // The scroller is bookkeeping here; the engine draws the scrolling.
  scrollView_ = std::shared_ptr<ScrollView>(
      new ScrollView(Rect(0, 0, frame.width(), frame.height()), std::make_unique<ViewPeer>()));
  scrollView_->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
  WebViewPeer* peer = webPeer_;
  scrollView_->setScrollsToTopHandler([peer](bool on) { peer->setScrollsToTop(on); });
  addSubview(scrollView_);
}

WebView::~WebView() {
  // The scroller may be held elsewhere: it must not reach our peer any more.
  scrollView_->setScrollsToTopHandler(nullptr);
}

std::shared_ptr<WebView> WebView::self() {
  return std::static_pointer_cast<WebView>(weak_from_this().lock());
}

// ---- navigation ----

bool WebView::decide(const URLRequest& request, WebViewNavigationType type) {
  auto keep = self();
  if (auto d = delegate_.lock())
    if (!d->webViewShouldStartLoadWithRequest(keep, request, type)) return false;
  if (loadsInProgress_ > 0) {
    loadsInProgress_ = 0;
    if (auto d = delegate_.lock())
      d->webViewDidFailLoadWithError(keep, URLError::make(URLError::Cancelled, request.url()));
  }
  request_ = request;
  return true;
}

void WebView::loadRequest(const URLRequest& request) {
  auto keep = self();
  if (decide(request, WebViewNavigationType::Other)) webPeer_->loadRequest(request);
}

void WebView::loadHTMLString(const std::string& html, const std::optional<Url>& baseURL) {
  auto keep = self();
  URLRequest request(baseURL ? *baseURL : *Url::parse("about:blank"));
  if (decide(request, WebViewNavigationType::Other)) webPeer_->loadHTMLString(html, baseURL);
}

bool WebView::canGoBack() const { return webPeer_->historyRequest(-1).has_value(); }
bool WebView::canGoForward() const { return webPeer_->historyRequest(+1).has_value(); }

void WebView::goBack() {
  auto keep = self();
  auto target = webPeer_->historyRequest(-1);
  if (target && decide(*target, WebViewNavigationType::BackForward)) webPeer_->goBack();
}

void WebView::goForward() {
  auto keep = self();
  auto target = webPeer_->historyRequest(+1);
  if (target && decide(*target, WebViewNavigationType::BackForward)) webPeer_->goForward();
}

void WebView::reload() {
  auto keep = self();
  if (request_ && decide(URLRequest(*request_), WebViewNavigationType::Reload)) webPeer_->reload();
}

void WebView::stopLoading() {
  auto keep = self();
  webPeer_->stopLoading();
  if (loadsInProgress_ == 0) return;
  loadsInProgress_ = 0;
  if (auto d = delegate_.lock()) {
    auto url = request_ ? request_->url() : *Url::parse("about:blank");
    d->webViewDidFailLoadWithError(keep, URLError::make(URLError::Cancelled, url));
  }
}

bool WebView::peerShouldStartLoad(const URLRequest& request, WebViewNavigationType type) {
  return decide(request, type);
}

void WebView::peerDidStartLoad() {
  auto keep = self();
  ++loadsInProgress_;
  if (auto d = delegate_.lock()) d->webViewDidStartLoad(keep);
}

void WebView::peerDidFinishLoad() {
  if (loadsInProgress_ == 0) return;  // the load was interrupted and reported already
  auto keep = self();
  --loadsInProgress_;
  if (auto d = delegate_.lock()) d->webViewDidFinishLoad(keep);
}

void WebView::peerDidFailLoad(const Error& error) {
  if (loadsInProgress_ == 0) return;
  auto keep = self();
  --loadsInProgress_;
  if (auto d = delegate_.lock()) d->webViewDidFailLoadWithError(keep, error);
}

// ---- scripts ----

void WebView::evaluateJavaScript(const std::string& script, ScriptCallback callback) {
  uint64_t ticket = nextTicket_++;
  scripts_.push_back(PendingScript{ticket, std::move(callback), false, std::nullopt});
  webPeer_->evaluateJavaScript(ticket, script);
}

void WebView::peerDidEvaluateJavaScript(uint64_t ticket, std::optional<std::string> result) {
  for (auto& s : scripts_) {
    if (s.ticket == ticket && !s.answered) {
      s.answered = true;
      s.result = std::move(result);
      break;
    }
  }
  deliverAnsweredScripts();
}

// Answers go out in request order: one that comes early waits for those before it.
void WebView::deliverAnsweredScripts() {
  if (delivering_) return;  // a callback that evaluates again: the outer loop carries on
  auto keep = self();
  delivering_ = true;
  while (!scripts_.empty() && scripts_.front().answered) {
    PendingScript s = std::move(scripts_.front());
    scripts_.pop_front();
    if (s.callback) s.callback(std::move(s.result));
  }
  delivering_ = false;
}

// ---- settings ----

void WebView::setScalesPageToFit(bool on) {
  scalesPageToFit_ = on;
  webPeer_->setScalesPageToFit(on);
}

void WebView::setDataDetectorTypes(unsigned types) {
  dataDetectorTypes_ = types;
  if (!Device::offers(Capability::ExtendedDataDetectors))
    types &= DataDetectorPhoneNumber | DataDetectorLink;
  webPeer_->setDataDetectorTypes(types);
}

void WebView::setAllowsInlineMediaPlayback(bool on) {
  if (!Device::offers(Capability::InlineMediaPlayback)) return;
  allowsInlineMediaPlayback_ = on;
  webPeer_->setAllowsInlineMediaPlayback(on);
}

void WebView::setMediaPlaybackRequiresUserAction(bool on) {
  if (!Device::offers(Capability::MediaPlaybackRequiresUserAction)) return;
  mediaPlaybackRequiresUserAction_ = on;
  webPeer_->setMediaPlaybackRequiresUserAction(on);
}

void WebView::setMediaPlaybackAllowsAirPlay(bool on) {
  if (!Device::offers(Capability::MediaPlaybackAllowsAirPlay)) return;
  mediaPlaybackAllowsAirPlay_ = on;
  webPeer_->setMediaPlaybackAllowsAirPlay(on);
}

}  // namespace pf
