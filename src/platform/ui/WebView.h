#pragma once
// pf::WebView: a view that shows web pages (UIWebView on the phone), drawn by the
// backend's engine.
//
// Every navigation goes through the delegate's decision, with its navigation type: the loads
// the view starts itself (loadRequest, loadHTMLString — whose request is its base URL, or
// "about:blank" — reload, goBack, goForward) are decided at once, inside the call; those the
// page starts (links, forms, scripts, redirects) when the engine meets them. A navigation
// the delegate refuses changes nothing. A load in progress that another allowed navigation
// or stopLoading() interrupts fails with the URL error "cancelled" (-999) first.
//
// Script evaluation is asynchronous (the engine has no synchronous call): the callback gets
// the result as text, or none when the script failed or the view is gone; callbacks come in
// the order of the requests, never inside evaluateJavaScript itself.
//
//   auto web = pf::WebView::create({0, 0, 320, 365});
//   web->setDelegate(pageDelegate);
//   web->loadRequest(pf::URLRequest(*pf::Url::parse("http://site.example/more.html")));
//   web->evaluateJavaScript("document.title", [](std::optional<std::string> title) { … });
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/URLRequest.h"
#include "platform/ui/Capability.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"
#include "platform/ui/WebViewDelegate.h"
#include "platform/ui/WebViewPeer.h"

namespace pf {

class WebView : public View, private WebViewPeerHost {
 public:
  // Data detector bits (the phone toolkit's numbers); address and calendar events only where
  // Capability::ExtendedDataDetectors is offered.
  enum DataDetectorTypes : unsigned {
    DataDetectorNone = 0,
    DataDetectorPhoneNumber = 1,
    DataDetectorLink = 2,
    DataDetectorAddress = 4,
    DataDetectorCalendarEvent = 8,
    DataDetectorAll = ~0u,
  };
  using ScriptCallback = std::function<void(std::optional<std::string>)>;

  static std::shared_ptr<WebView> create(const Rect& frame = {});
  ~WebView() override;

  std::shared_ptr<WebViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { delegate_ = std::move(delegate); }  // not retained

  void loadRequest(const URLRequest& request);
  void loadHTMLString(const std::string& html, const std::optional<Url>& baseURL);
  // The request of the page shown or being loaded; none before the first allowed load.
  const std::optional<URLRequest>& request() const { return request_; }
  bool isLoading() const { return loadsInProgress_ > 0; }
  bool canGoBack() const;
  bool canGoForward() const;
  void goBack();
  void goForward();
  void reload();
  void stopLoading();

  void evaluateJavaScript(const std::string& script, ScriptCallback callback);

  bool scalesPageToFit() const { return scalesPageToFit_; }
  void setScalesPageToFit(bool on);
  unsigned dataDetectorTypes() const { return dataDetectorTypes_; }
  void setDataDetectorTypes(unsigned types);
  // Each of these three answers false and ignores settings where the device does not offer
  // it (ask Device::offers first, as phone code asks the view).
  bool allowsInlineMediaPlayback() const { return allowsInlineMediaPlayback_; }
  void setAllowsInlineMediaPlayback(bool on);
  bool mediaPlaybackRequiresUserAction() const { return mediaPlaybackRequiresUserAction_; }
  void setMediaPlaybackRequiresUserAction(bool on);
  bool mediaPlaybackAllowsAirPlay() const { return mediaPlaybackAllowsAirPlay_; }
  void setMediaPlaybackAllowsAirPlay(bool on);

  // The page's scroller; it is also the web view's first subview, as on the phone.
  std::shared_ptr<ScrollView> scrollView() const { return scrollView_; }

  WebViewPeer& webPeer() { return *webPeer_; }

 protected:
  explicit WebView(const Rect& frame);

 private:
  struct PendingScript {
    uint64_t ticket;
    ScriptCallback callback;
    bool answered = false;
    std::optional<std::string> result;
  };

  // WebViewPeerHost
  bool peerShouldStartLoad(const URLRequest& request, WebViewNavigationType type) override;
  void peerDidStartLoad() override;
  void peerDidFinishLoad() override;
  void peerDidFailLoad(const Error& error) override;
  void peerDidEvaluateJavaScript(uint64_t ticket, std::optional<std::string> result) override;

  std::shared_ptr<WebView> self();
  // Asks the delegate; on "yes" makes `request` current and interrupts a load in progress.
  bool decide(const URLRequest& request, WebViewNavigationType type);
  void deliverAnsweredScripts();

  WebViewPeer* webPeer_;
  std::weak_ptr<WebViewDelegate> delegate_;
  std::optional<URLRequest> request_;
  int loadsInProgress_ = 0;
  bool scalesPageToFit_ = false;
  unsigned dataDetectorTypes_ = DataDetectorPhoneNumber;
  bool allowsInlineMediaPlayback_ = false;
  bool mediaPlaybackRequiresUserAction_ = true;
  bool mediaPlaybackAllowsAirPlay_ = false;
  std::shared_ptr<ScrollView> scrollView_;
  uint64_t nextTicket_ = 1;
  std::deque<PendingScript> scripts_;
  bool delivering_ = false;
};

}  // namespace pf
