#pragma once

#include "QueryString.h"
#include "SignalReader.h"

#include <glib.h>

#include <deque>
#include <map>
#include <optional>
#include <string>

// What the sandbox has seen since it started or was last reset: script fetches, ad
// requests, tracking hits per creative, the application's signals (valid and invalid), the
// decoded parameters and signal of the latest ad requests, and the loads of each landing
// page with the Referer of the last one. Read by the
// dashboard and, as JSON, by tests.
class Stats {
 public:
  struct CreativeCounts {
    int served = 0;
    int impressions = 0;
    int clicks = 0;
    int events = 0;
  };
  struct AdRequest {
    gint64 when = 0;  // microseconds since 1970
    std::string creative;
    int status = 0;
    std::string how;  // "rotation", "queue" or "request"
    QueryString::Pairs params;
    std::optional<SignalReader::Reading> signal;  // none: the request carried no "ms"
  };
  struct LandingCounts {
    int hits = 0;
    std::string referer;  // of the last load; empty when it had none
  };
  enum class Hit { Impression, Click, Event };

  static constexpr size_t kKeptRequests = 8;

  void countScript(bool notModified);
  void countAdRequest(AdRequest request);
  void countHit(Hit hit, const std::string& creative);
  // A signal read on an ad request or a click ping (counted apart from the request itself).
  void countSignal(const SignalReader::Reading& reading);
  // A load of a landing page (its path below /landing/); referer as the request sent it.
  void countLanding(const std::string& page, const std::string* referer);
  void reset();

  int script200() const { return script200_; }
  int script304() const { return script304_; }
  int adRequests() const { return adRequests_; }
  int impressions() const { return impressions_; }
  int clicks() const { return clicks_; }
  int events() const { return events_; }
  int validSignals() const { return validSignals_; }
  int invalidSignals() const { return invalidSignals_; }
  const std::map<std::string, CreativeCounts>& creatives() const { return creatives_; }
  const std::map<std::string, LandingCounts>& landing() const { return landing_; }
  // Newest first.
  const std::deque<AdRequest>& lastRequests() const { return last_; }

  std::string toJson() const;

 private:
  int script200_ = 0;
  int script304_ = 0;
  int adRequests_ = 0;
  int impressions_ = 0;
  int clicks_ = 0;
  int events_ = 0;
  int validSignals_ = 0;
  int invalidSignals_ = 0;
  std::map<std::string, CreativeCounts> creatives_;
  std::map<std::string, LandingCounts> landing_;
  std::deque<AdRequest> last_;
};
