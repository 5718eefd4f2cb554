#include "sdk/statistics/GADStatistics.h"

#include <cctype>
#include <cmath>

#include "platform/base/AsciiText.h"
#include "platform/base/Clock.h"
#include "platform/base/Crypto.h"
#include "platform/base/NotificationCenter.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/utility/GADConfiguration.h"
#include "sdk/utility/GADNetworkUtilities.h"

namespace {

constexpr char kSharedIdentifier[] = "shared";

// Never destroyed: at exit the user defaults may already be gone, and saving into them from
// a static destructor would touch a dead object. What was not synchronized is not saved, as
// when the process is killed.
std::shared_ptr<GADStatistics>& sharedSlot() {
  static auto* shared = new std::shared_ptr<GADStatistics>();
  return *shared;
}

// Page messages ("gmsg", "rodud") are never clicks.
bool isMessageURL(const pf::Url& url) { return url.scheme() == "gmsg" || url.scheme() == "rodud"; }

bool isUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

size_t characterCount(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text) n += !isUtf8Continuation(c);
  return n;
}

// `text` without its first `count` characters. Counted in characters, not bytes, so a cut
// never splits one: text that is not UTF-8 cannot be saved with the timings.
std::string dropCharacters(std::string_view text, size_t count) {
  size_t i = 0;
  for (size_t seen = 0; i < text.size() && seen < count; ++seen) {
    ++i;
    while (i < text.size() && isUtf8Continuation(static_cast<unsigned char>(text[i]))) ++i;
  }
  return std::string(text.substr(i));
}

// The host is the domain or lies below it ("ads.example.com" in "example.com"); a host that
// merely ends in the same letters ("badexample.com") is someone else's.
bool isOnDomain(const std::string& host, const std::string& domain) {
  if (domain.empty() || host.size() < domain.size()) return false;
  std::string h = pf::toLowerAscii(host), d = pf::toLowerAscii(domain);
  if (h == d) return true;
  return h.size() > d.size() && h.compare(h.size() - d.size(), d.size(), d) == 0 &&
         h[h.size() - d.size() - 1] == '.';
}

}  // namespace

std::shared_ptr<GADStatistics> GADStatistics::sharedStatistics() {
  auto& shared = sharedSlot();
  if (!shared) shared = create();
  return shared;
}

void GADStatistics::releaseSharedStatistics() { sharedSlot().reset(); }

std::shared_ptr<GADStatistics> GADStatistics::create(std::shared_ptr<pf::UserDefaults> defaults) {
  return std::shared_ptr<GADStatistics>(new GADStatistics(std::move(defaults)));
}

GADStatistics::GADStatistics(std::shared_ptr<pf::UserDefaults> defaults)
    : sessionId_(makeSessionId()),
      statistics_(GADStatisticsCore::create(kSharedIdentifier, defaults)),
      timingMgr_(GADTimingManager::create(kSharedIdentifier, defaults)) {
  // Counters such as "preqs" must survive the process: save when the user leaves and when
  // the application ends. Removed in the destructor, so `this` never dangles here.
  auto& center = pf::NotificationCenter::defaultCenter();
  for (const char* name : {pf::UIApplicationDidEnterBackgroundNotification, pf::UIApplicationWillTerminateNotification})
    center.addObserver(this, name, nullptr, [this](const pf::Notification&) { synchronize(); });
}

GADStatistics::~GADStatistics() { pf::NotificationCenter::defaultCenter().removeObserver(this); }

const std::vector<std::string>& GADStatistics::allTimingNames() {
  static const std::vector<std::string> names{
      kGADParameterPriorRequestLatency,       kGADParameterPriorClickLatency,
      kGADParameterPriorClickString,          kGADParameterPriorPreClickLatency,
      kGADParameterPriorClickRedirectLatency, kGADParameterPriorLandingPageLoad,
      kGADParameterPriorLandingPageDuration,  kGADParameterTimeSinceFirstRequest};
  return names;
}

uint32_t GADStatistics::makeSessionId() {
  // Seeded from the wall-clock second, one draw of random() stretched over 32 bits.
  double now = pf::Clock::now();
  unsigned seed = std::isfinite(now) && std::fabs(now) < 9.2e18
                      ? static_cast<unsigned>(static_cast<uint32_t>(static_cast<int64_t>(now)))
                      : 0;
  pf::Crypto::seedRandom(seed);
  long r = pf::Crypto::random();
  double id = (static_cast<double>(r) - 1) / 2147483647.0 * 4294967295.0;
  return id > 0 ? static_cast<uint32_t>(id) : 0;
}

uint32_t GADStatistics::clickAgeMilliseconds(const std::shared_ptr<GADTiming>& click) const {
  if (!click) return 0;
  auto date = click->valueForKey(kGADStatisticsClickDateKey).asDate();
  if (!date) return 0;
  double ms = std::fabs(pf::Clock::now() - *date) * 1000.0;
  // A date far off (a clock set years wrong) saturates instead of wrapping.
  if (!(ms < 4294967295.0)) return ms >= 4294967295.0 ? 4294967295u : 0;
  return static_cast<uint32_t>(ms);
}

pf::Value GADStatistics::parameters() {
  pf::Value params = pf::Value::dictionary();
  params.set(kGADParameterSessionID, pf::Value(sessionId_));

  auto click = timingMgr_->timingForCategory(kGADParameterPriorClickLatency);
  // A pre-click period that ended without a click is not reported.
  if (!click) timingMgr_->removeTimingForCategory(kGADParameterPriorPreClickLatency);

  uint32_t backgroundedClickAge = 0;
  if (statistics_->dictionary().contains(kGADParameterPriorClickBackgroundedApp)) {
    backgroundedClickAge = clickAgeMilliseconds(click);
  }
  if (click) click->removeValueForKey(kGADStatisticsClickDateKey);

  for (const std::string& name : allTimingNames()) {
    auto timing = timingMgr_->timingForCategory(name);
    if (!timing) continue;
    params.set(name, timing->elapsedMillisecondsString());
    pf::Value userData = timing->keysAndValues();
    for (const auto& [key, value] : *userData.asDictionary()) params.set(key, value);
    if (name != kGADParameterTimeSinceFirstRequest) timingMgr_->removeTimingForCategory(name);
  }

  // The click left the application: its latency is the time since the click itself.
  if (backgroundedClickAge != 0) params.set(kGADParameterPriorClickLatency, pf::Value(backgroundedClickAge));

  for (const char* key : {kGADParameterTotalAdRequests, kGADParameterPriorClickBreakOut,
                          kGADParameterAppOpenInterstitialTimedOut, kGADParameterAppOpenInterstitialNoFill,
                          kGADParameterPriorClickBackgroundedApp, kGADParameterPriorLandingPageNavCount,
                          kGADParameterPriorLandingPageSSLNavCount, kGADParameterPriorClickCount}) {
    pf::Value stored = statistics_->numberForKey(key);
    int64_t n = GADStatisticsCore::integerValue(stored);
    if (n == 0) continue;
    // A number goes out as stored; anything else read back from a damaged store as its integer.
    params.set(key, stored.isNumber() ? stored : pf::Value(static_cast<long long>(n)));
  }

  for (const char* flag : {kGADParameterPriorClickBreakOut, kGADParameterAppOpenInterstitialTimedOut,
                           kGADParameterAppOpenInterstitialNoFill, kGADParameterPriorClickBackgroundedApp}) {
    resetFlagWithParameterName(flag);
  }
  resetPageNavigationCount();
  resetSSLPageNavigationCount();
  resetClickCount();
  return params;
}

std::shared_ptr<GADTiming> GADStatistics::recordClick() {
  incrementClickCount();
  startTimingNamed(kGADParameterPriorClickLatency);
  startTimingNamed(kGADParameterPriorClickRedirectLatency);
  endTimingNamed(kGADParameterPriorPreClickLatency);
  auto click = timingNamed(kGADParameterPriorClickLatency);
  click->setValueForKey(pf::Value::date(pf::Clock::now()), kGADStatisticsClickDateKey);
  return click;
}

std::optional<pf::Url> GADStatistics::urlForClick(const std::optional<pf::Url>& url) {
  if (url) return urlForClick(*url);
  recordClick();
  endTimingNamed(kGADParameterPriorClickRedirectLatency);
  return std::nullopt;
}

pf::Url GADStatistics::urlForClick(const pf::Url& url) {
  if (isMessageURL(url) || url.absoluteString() == "about:blank") return url;

  auto click = recordClick();

  pf::Url out = url;
  auto ai = GADNetworkUtilities::parameterValueForKeyFromURL("ai", url);
  if (ai && !ai->empty()) {
    click->setValueForKey(*ai, kGADParameterPriorClickString);
    std::string token;
    if (gad_gmcs(*ai, token)) {
      // A token that would not make a URL leaves the click URL as it was.
      if (auto rewritten = GADNetworkUtilities::appendQueryKeyValueToURL(token, std::nullopt, url)) {
        out = *rewritten;
      }
    }
  }

  endTimingNamed(kGADParameterPriorClickRedirectLatency);
  return out;
}

void GADStatistics::addClickTrackingURL(const pf::Url& url) {
  if (!isOnDomain(url.host(), GADConfiguration::adNetworkDomain())) return;
  std::string path = url.path();
  if (characterCount(path) < 5) return;
  auto click = timingNamed(kGADParameterPriorClickLatency);
  if (!click) return;
  click->setValueForKey(dropCharacters(path, 4), kGADParameterPriorImpressionTicketString);
}

void GADStatistics::startTimingNamed(const std::string& name) {
  timingMgr_->removeTimingForCategory(name);
  timingMgr_->addTimingWithCategory(name)->start();
}

void GADStatistics::endTimingNamed(const std::string& name) {
  if (auto timing = timingMgr_->timingForCategory(name)) timing->end();
}

std::shared_ptr<GADTiming> GADStatistics::timingNamed(const std::string& name) const {
  return timingMgr_->timingForCategory(name);
}

void GADStatistics::removeTimingNamed(const std::string& name) { timingMgr_->removeTimingForCategory(name); }

bool GADStatistics::isTimingClick() const {
  auto click = timingNamed(kGADParameterPriorClickLatency);
  return click && click->isActive();
}

int64_t GADStatistics::incrementAdRequestCount() {
  return statistics_->addValueNumberForKey(1, kGADParameterTotalAdRequests);
}

int64_t GADStatistics::adRequestCount() const {
  return GADStatisticsCore::integerValue(statistics_->numberForKey(kGADParameterTotalAdRequests));
}

void GADStatistics::setAdRequestCount(int64_t count) {
  statistics_->setNumberForKey(pf::Value(static_cast<long long>(count)), kGADParameterTotalAdRequests);
}

void GADStatistics::incrementClickCount() { statistics_->addValueNumberForKey(1, kGADParameterPriorClickCount); }
void GADStatistics::resetClickCount() { statistics_->setNumberForKey(pf::Value(0), kGADParameterPriorClickCount); }

void GADStatistics::incrementPageNavigationCount() {
  statistics_->addValueNumberForKey(1, kGADParameterPriorLandingPageNavCount);
}
void GADStatistics::resetPageNavigationCount() {
  statistics_->setNumberForKey(pf::Value(0), kGADParameterPriorLandingPageNavCount);
}

void GADStatistics::incrementSSLPageNavigationCount() {
  statistics_->addValueNumberForKey(1, kGADParameterPriorLandingPageSSLNavCount);
}
void GADStatistics::resetSSLPageNavigationCount() {
  statistics_->setNumberForKey(pf::Value(0), kGADParameterPriorLandingPageSSLNavCount);
}

void GADStatistics::setFlagWithParameterName(const std::string& name) { statistics_->setNumberForKey(pf::Value(1), name); }
void GADStatistics::resetFlagWithParameterName(const std::string& name) { statistics_->removeObjectForKey(name); }

void GADStatistics::synchronize() {
  statistics_->synchronize();
  timingMgr_->synchronize();
}
