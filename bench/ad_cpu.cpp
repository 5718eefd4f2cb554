// The ad layer's own CPU per banner load, on the sim backend (a scripted engine and HTTP):
// loadRequest with a cached script → the build page's answer → the ad response → the
// finished load → adViewDidReceiveAd, and the impression ping. Its peer does what the engine
// and the network do in that load — the same fetches through pf::URLConnection, a build page
// made, loaded and navigating to its message, the ad page loaded — with no ad layer: the
// difference of the two is the ad layer's own CPU. The goal is a median under 50 µs.
//
//   bench_ad_cpu --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "platform/sim/SimEnvironment.h"
#include "platform/base/FileManager.h"
#include "platform/net/URLConnection.h"
#include "platform/ui/Bundle.h"
#include "platform/sim/SimUIWebView.h"
#include "platform/ui/ViewController.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/view/GADBannerView.h"
#include "sdk/view/GADWebView.h"

namespace {

struct Received : GADBannerViewDelegate {
  void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>&) override { ++count; }
  int count = 0;
};

void BM_AdLoadOnSim(benchmark::State& state) {
  pf::SimEnvironment sim;
  // An application bundle, as the application has (found once, as there).
  const std::string bundle = sim.root() + "/Ashenmoor.app";
  pf::FileManager::defaultManager().createDirectory(bundle, true);
  pf::FileManager::defaultManager().writeFileAtomically(
      bundle + "/Info.plist",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
      "<string>org.ashenmoor.Ashenmoor</string><key>CFBundleVersion</key><string>1.0</string></dict></plist>");
  pf::Bundle::setMainBundle(pf::Bundle::bundleAtPath(bundle));
  GADObjectPrivate::resetClassForTesting();
  GADStatistics::releaseSharedStatistics();
  sim.http().respond("http://127.0.0.1:47311/vize/sdk-core-v40.js",
                     pf::SimResponse::ok("window.VIZE_buildAdURL=function(p){};", "text/javascript"));
  sim.http().respondToPrefix("http://127.0.0.1:47312/ad",
                             pf::SimResponse::ok("<html><body><a href='http://adv.example/'>ad</a></body></html>")
                                 .header("X-Vize-Tracking-Urls", "http://127.0.0.1:47312/track/impression?c=b"));
  sim.http().respondToPrefix("http://127.0.0.1:47312/track/", pf::SimResponse::ok(""));
  auto root = pf::ViewController::create();
  auto heard = std::make_shared<Received>();
  auto banner = GADBannerView::create({0, 365, 320, 50});
  banner->setAdUnitID("a15c0f3e82d9b47");
  banner->setRootViewController(root);
  banner->setDelegate(heard);
  root->view()->addSubview(banner);
  const std::string answer = "gmsg://sandbox/loadAdURL?type=html&url=" +
                             GADNetworkUtilities::encodeURL("http://127.0.0.1:47312/ad?slotname=a15c0f3e82d9b47");
  auto ad = banner->privateObject();
  auto loadOnce = [&] {
    sim.http().clearRequests();  // the sim's request log would otherwise grow with the run
    banner->loadRequest(GADRequest::request());
    sim.clock().runUntilIdle();
    pf::SimUIWebView::of(*ad->buildAdWebView())->navigate(answer, pf::WebViewNavigationType::Other);
    sim.clock().runUntilIdle();
    pf::SimUIWebView::of(*ad->webView())->finishLoad();
    sim.clock().runUntilIdle();
  };
  loadOnce();  // the script is cached from here on
  for (auto _ : state) loadOnce();
  if (heard->count != int(state.iterations()) + 1) state.SkipWithError("a load did not reach adViewDidReceiveAd");
  banner->removeFromSuperview();
  banner.reset();
  GADStatistics::releaseSharedStatistics();
  GADObjectPrivate::resetClassForTesting();  // nothing of this run is saved after the sim folder goes
  pf::Bundle::setMainBundle(nullptr);
}
BENCHMARK(BM_AdLoadOnSim)->Unit(benchmark::kMicrosecond);

// What the engine and the network stand-ins cost for one such load, without the ad layer.
struct Fetch : pf::URLConnectionDelegate, std::enable_shared_from_this<Fetch> {
  void connectionDidReceiveData(pf::URLConnection&, std::string_view data) override { body.append(data); }
  void connectionDidFinishLoading(pf::URLConnection&) override { done = true; }
  void connectionDidFailWithError(pf::URLConnection&, const pf::Error&) override { done = true; }
  std::string body;
  bool done = false;
};
struct Refuse : pf::WebViewDelegate {
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>&, const pf::URLRequest& r,
                                         pf::WebViewNavigationType) override {
    return r.url().scheme() != "gmsg";
  }
};

void BM_SimEngineAndNetworkAlone(benchmark::State& state) {
  pf::SimEnvironment sim;
  const std::string html = "<html><body><a href='http://adv.example/'>ad</a></body></html>";
  sim.http().respondToPrefix("http://127.0.0.1:47312/ad", pf::SimResponse::ok(html));
  sim.http().respondToPrefix("http://127.0.0.1:47312/track/", pf::SimResponse::ok(""));
  auto refuse = std::make_shared<Refuse>();
  auto banner = pf::WebView::create({0, 0, 320, 50});
  banner->setDelegate(refuse);
  const std::string page = "<html><head><script>window.VIZE_buildAdURL=function(p){};</script><script>"
                           "VIZE_buildAdURL({});</script></head><body></body></html>";
  const auto adURL = *pf::Url::parse("http://127.0.0.1:47312/ad?slotname=a15c0f3e82d9b47&ms=AXIAAAAwxbV2");
  const auto pingURL = *pf::Url::parse("http://127.0.0.1:47312/track/impression?c=b");
  auto fetch = [&](const pf::Url& url) {
    auto f = std::make_shared<Fetch>();
    auto c = pf::URLConnection::create(pf::URLRequest(url), f, true);
    sim.clock().runUntilIdle();
    return f->body;
  };
  for (auto _ : state) {
    sim.http().clearRequests();
    auto build = pf::WebView::create({0, 0, 1, 1});
    build->setDelegate(refuse);
    build->loadHTMLString(page, pf::Url::parse("http://127.0.0.1:47312"));
    sim.clock().runUntilIdle();
    pf::SimUIWebView::of(*build)->navigate("gmsg://sandbox/loadAdURL?type=html&url=x", pf::WebViewNavigationType::Other);
    build.reset();
    std::string body = fetch(adURL);
    banner->loadHTMLString(body, adURL);
    sim.clock().runUntilIdle();
    pf::SimUIWebView::of(*banner)->finishLoad();
    fetch(pingURL);
    sim.clock().runUntilIdle();
  }
}
BENCHMARK(BM_SimEngineAndNetworkAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
