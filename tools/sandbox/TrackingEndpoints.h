#pragma once

#include "HttpHost.h"
#include "Stats.h"

// The pings ads send back: /track/impression, /track/click and /track/event, each with
// "c" (the creative) and optionally "to" (answer with a 302 to that URL, of any scheme,
// so a tracker meets redirects and the stop at a non-web scheme).
class TrackingEndpoints {
 public:
  TrackingEndpoints(HttpHost& host, Stats& stats);

 private:
  void hit(SoupServerMessage* msg, Stats::Hit kind);
  Stats& stats_;
};
