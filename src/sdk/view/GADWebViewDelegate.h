#pragma once
// GADWebViewDelegate: the delegate of every web view of the ad layer, and the page-to-native
// end of the message bridge. It decides each navigation a page attempts: message URLs
// ("gmsg", "rodud") are never loaded but acted on — pings ("click", "httpTrack"), "open",
// "close", "log", "touch", "vibrate", "canOpenURLs", "evalInOpener" here, every other name
// posted on GADNotificationCenter with the web view as sender on the next run-loop pass;
// "mailto" goes to the mail form, "http", "https" and "about" load, "file" is refused and any
// other scheme is handed to the system through the opener. Every navigation is announced as
// "didReceiveWebAction" on the default notification center (a script-driven load of a bare
// host excepted), for the host application.
//
//   delegate_ = GADWebViewDelegate::create();
//   webView_->setDelegate(delegate_);              // the view does not retain it
//
// Subclasses (the banner's, the browser's, the overlay's) call the base operations.
// Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Value.h"
#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "sdk/network/GADClickTracker.h"
#include "sdk/notification/GADNotification.h"
#include "sdk/opener/GADOpener.h"

// Announced for every navigation that reaches a delegate (user info "u", and "a" for a
// message URL that parses), with the web view as object.
inline constexpr char GADWebViewDelegateDidReceiveWebAction[] = "didReceiveWebAction";

class GADWebViewDelegate : public pf::WebViewDelegate, public std::enable_shared_from_this<GADWebViewDelegate> {
 public:
  static std::shared_ptr<GADWebViewDelegate> create();
  ~GADWebViewDelegate() override;
  GADWebViewDelegate(const GADWebViewDelegate&) = delete;
  GADWebViewDelegate& operator=(const GADWebViewDelegate&) = delete;

  bool hasLoadedAtLeastOnce() const { return hasLoadedAtLeastOnce_; }
  const std::shared_ptr<GADOpener>& opener() const { return opener_; }
  std::shared_ptr<pf::ViewController> viewController() const { return viewController_.lock(); }
  void setViewController(std::weak_ptr<pf::ViewController> vc) { viewController_ = std::move(vc); }
  std::shared_ptr<pf::WebView> openingWebView() const { return openingWebView_.lock(); }
  void setOpeningWebView(std::weak_ptr<pf::WebView> view) { openingWebView_ = std::move(view); }
  // The banner the ad trace names for this view's messages and pings.
  void setTraceBanner(int banner) {
    traceBanner_ = banner;
    opener_->setTraceBanner(banner);
  }
  int traceBanner() const { return traceBanner_; }

  // pf::WebViewDelegate
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view, const pf::URLRequest& request,
                                         pf::WebViewNavigationType type) override;
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) override;
  // Once per delegate, after its first finished load.
  virtual void loadedFirstPage(const std::shared_ptr<pf::WebView>& /*view*/) {}

  // Tells the page the interface orientation: window.orientation reads 0, 180, 90 or -90,
  // and the page's onorientationchange handler runs when it has one.
  static void notifyWebViewOfOrientationChange(const std::shared_ptr<pf::WebView>& view, pf::InterfaceOrientation o);
  // Pings a click ("ai" and the signals module's token) or tracking URL; a new ping replaces
  // one still running.
  void trackURLStringAppendSpamSignals(const std::optional<std::string>& text, bool appendSignals);
  // "tx", "ty", "td" (-1 when missing) to the ad signals module.
  void processTouchSignals(const pf::Value& parameters);
  // Answers the page with "openableURLs": each URL text → whether an installed app opens it.
  void processCanOpenURLsWebView(const std::vector<std::string>& urls, const std::shared_ptr<pf::WebView>& view);
  // Runs `js` in the opening web view and answers the asking view with
  // "evalJavaScriptInOpenerResult" {"result": text}.
  void evaluateJavaScriptInOpener(const std::string& js, const std::shared_ptr<pf::WebView>& asking);
  // The parameter's integer value (as a leading decimal number, 0 for none), -1 when absent.
  static int intForKeyFromDictionary(std::string_view key, const pf::Value& dictionary);

 protected:
  GADWebViewDelegate();

 private:
  // Acts on a message URL; answers nothing (a message is never loaded).
  void handleMessage(const std::shared_ptr<pf::WebView>& view, const pf::Url& url,
                     std::shared_ptr<GADNotification> message);

  bool hasLoadedAtLeastOnce_ = false;
  std::shared_ptr<GADOpener> opener_;
  std::shared_ptr<GADClickTracker> tracker_;  // made on first ping
  std::weak_ptr<pf::ViewController> viewController_;
  std::weak_ptr<pf::WebView> openingWebView_;
  int traceBanner_ = 0;
};
