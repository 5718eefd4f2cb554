#pragma once
// One banner on the sim backend, from a fresh install: the scripted ad core script and ad
// server on the sandbox's default hosts, a page controller as root, a delegate that records
// every callback, and the ad trace and console captured. The build page and the banner's web
// view are sim engines the test drives (the script answers by navigating, the ad finishes
// loading when the test says).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Log.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimUIWebView.h"
#include "platform/ui/ViewController.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/view/GADBannerView.h"
#include "sdk/view/GADWebView.h"

struct RecordingBannerDelegate : GADBannerViewDelegate {
  struct Call {
    std::string name;
    long code = -1;
    bool onMainThread = true;
  };
  void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>&) override { note("received"); }
  void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>&, const GADRequestError& e) override {
    note("failed", e.code());
  }
  void adViewWillLeaveApplication(const std::shared_ptr<GADBannerView>&) override { note("leave"); }
  void note(std::string name, long code = -1);

  std::vector<Call> calls;
  std::function<void(const Call&)> onCall;  // runs inside the callback
};

class BannerWorld {
 public:
  static constexpr const char* kScriptURL = "http://127.0.0.1:47311/vize/sdk-core-v40.js";
  static constexpr const char* kAdPrefix = "http://127.0.0.1:47312/ad";
  static constexpr const char* kTrackPrefix = "http://127.0.0.1:47312/track/";

  explicit BannerWorld(const std::string& profile = "phone-4.0");
  ~BannerWorld();

  // The script host answers 200 with a script (and Last-Modified).
  void serveScript();
  // The ad server's answer to every "/ad" request (30 s refresh and one impression URL
  // unless the response says otherwise).
  void serveAd(pf::SimResponse response);
  static pf::SimResponse adPage(const std::string& body = "<html><body>ad</body></html>");

  void load();  // a publisher's loadRequest, then the run loop until idle
  // The build page navigates to gmsg://sandbox/<message>; the run loop runs until idle.
  void scriptSends(const std::string& message);
  // The usual answer: loadAdURL with the ad server's URL.
  void scriptBuildsURL(const std::string& type = "html");
  void finishAdLoad();
  // serveScript, serveAd(response), load, scriptBuildsURL: the ad server has answered.
  void loadAd(pf::SimResponse response);
  // loadAd(adPage()), finishAdLoad.
  void showAd();
  void tap();  // a touch on the banner, as the user's finger gives it

  GADObjectPrivate& ad() { return *banner->privateObject(); }
  pf::SimUIWebView& buildPage() { return *pf::SimUIWebView::of(*ad().buildAdWebView()); }
  pf::SimUIWebView& adPageView() { return *pf::SimUIWebView::of(*ad().webView()); }
  // The "state" values of the trace so far; the trace's and the console's lines that hold `fragment`.
  std::vector<int> states() const;
  size_t traced(const std::string& fragment) const;
  size_t logged(const std::string& fragment) const;
  std::vector<std::string> callbackNames() const;
  size_t requestsTo(const std::string& prefix);

  pf::SimEnvironment sim;
  std::vector<std::string> trace;
  std::vector<std::string> log;
  std::shared_ptr<pf::ViewController> root;
  std::shared_ptr<RecordingBannerDelegate> delegate;
  std::shared_ptr<GADBannerView> banner;

 private:
  static void forgetShared();
  pf::Log::Sink previousLog_;
};
