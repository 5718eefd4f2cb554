#include "BannerWorld.h"

#include "AdLayerTest.h"
#include "platform/base/RunLoop.h"
#include "sdk/utility/GADAdTrace.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/utility/GADPrivateUtilities.h"
#include "sdk/viewcontroller/GADViewController.h"

void RecordingBannerDelegate::note(std::string name, long code) {
  calls.push_back({std::move(name), code, pf::RunLoop::main().isMainThread()});
  if (onCall) onCall(calls.back());
}

void BannerWorld::forgetShared() {
  forgetAdLayerSharedObjects();
  GADObjectPrivate::resetClassForTesting();
}

BannerWorld::BannerWorld(const std::string& profile)
    : sim(profile), root(pf::ViewController::create()), delegate(std::make_shared<RecordingBannerDelegate>()) {
  forgetShared();
  GADAdTrace::setSinkForTesting([this](const std::string& line) { trace.push_back(line); });
  previousLog_ = pf::Log::setSink([this](const std::string& line) { log.push_back(line); });
  sim.http().respondToPrefix(kTrackPrefix, pf::SimResponse::ok(""));
  banner = GADBannerView::create({0, 365, 320, 50});
  banner->setAdUnitID("a15c0f3e82d9b47");
  banner->setRootViewController(root);
  banner->setDelegate(delegate);
  root->view()->addSubview(banner);
}

BannerWorld::~BannerWorld() {
  // A screen still up keeps itself alive: give it back, so nothing outlives the test.
  for (int i = 0; i < 4; ++i) {
    auto screen = std::dynamic_pointer_cast<GADViewController>(root->modalViewController());
    if (!screen) break;
    if (auto top = std::dynamic_pointer_cast<GADViewController>(screen->topPresentedController())) top->relinquishScreen();
    sim.clock().advance(1);
  }
  banner.reset();
  root.reset();
  pf::Log::setSink(std::move(previousLog_));
  GADAdTrace::setSinkForTesting(nullptr);
  forgetShared();
  GADPrivateUtilities::removeAllForTesting();
}

void BannerWorld::serveScript() {
  sim.http().respond(kScriptURL, pf::SimResponse::ok("window.VIZE_buildAdURL=function(p){};", "text/javascript")
                                     .header("Last-Modified", "Sat, 05 Dec 2026 10:00:00 GMT"));
}

pf::SimResponse BannerWorld::adPage(const std::string& body) {
  return pf::SimResponse::ok(body)
      .header("X-Vize-Refresh-Rate", "30")
      .header("X-Vize-Tracking-Urls", std::string(kTrackPrefix) + "impression?c=t");
}

void BannerWorld::serveAd(pf::SimResponse response) { sim.http().respondToPrefix(kAdPrefix, std::move(response)); }

void BannerWorld::load() {
  banner->loadRequest(GADRequest::request());
  sim.clock().runUntilIdle();
}

void BannerWorld::scriptSends(const std::string& message) {
  buildPage().navigate("gmsg://sandbox/" + message, pf::WebViewNavigationType::Other);
  sim.clock().runUntilIdle();
}

void BannerWorld::scriptBuildsURL(const std::string& type) {
  scriptSends("loadAdURL?url=" + GADNetworkUtilities::encodeURL(std::string(kAdPrefix) + "?slotname=a15c0f3e82d9b47") +
              "&type=" + type);
}

void BannerWorld::finishAdLoad() {
  adPageView().finishLoad();
  sim.clock().runUntilIdle();
}

void BannerWorld::loadAd(pf::SimResponse response) {
  serveScript();
  serveAd(std::move(response));
  load();
  scriptBuildsURL();
}

void BannerWorld::showAd() {
  loadAd(adPage());
  finishAdLoad();
}

void BannerWorld::tap() {
  pf::Event touch(pf::Event::Type::Touches);
  banner->hitTest({10, 10}, &touch);
}

std::vector<int> BannerWorld::states() const {
  std::vector<int> out;
  for (const auto& line : trace)
    if (auto at = line.find("\"state\":"); at != std::string::npos && line.find("\"event\":\"state\"") != std::string::npos)
      out.push_back(std::stoi(line.substr(at + 8)));
  return out;
}

static size_t linesHolding(const std::vector<std::string>& lines, const std::string& fragment) {
  size_t n = 0;
  for (const auto& line : lines) n += line.find(fragment) != std::string::npos;
  return n;
}

size_t BannerWorld::traced(const std::string& fragment) const { return linesHolding(trace, fragment); }
size_t BannerWorld::logged(const std::string& fragment) const { return linesHolding(log, fragment); }

std::vector<std::string> BannerWorld::callbackNames() const {
  std::vector<std::string> names;
  for (const auto& c : delegate->calls) names.push_back(c.code >= 0 ? c.name + " " + std::to_string(c.code) : c.name);
  return names;
}

size_t BannerWorld::requestsTo(const std::string& prefix) {
  size_t n = 0;
  for (const auto& r : sim.http().requests()) n += r.url().absoluteString().rfind(prefix, 0) == 0;
  return n;
}
