#pragma once

#include "Answer.h"
#include "Request.h"
#include "Router.h"
#include "Stats.h"

#include <vector>

// The pings ads send back: /track/impression, /track/click and /track/event, each with
// "c" (the creative) and optionally "to" (answer with a 302 to that URL, of any scheme,
// so a tracker meets redirects and the stop at a non-web scheme).
class TrackingEndpoints {
 public:
  TrackingEndpoints(Router& router, Stats& stats);
  TrackingEndpoints(const TrackingEndpoints&) = delete;
  TrackingEndpoints& operator=(const TrackingEndpoints&) = delete;

 private:
  Answer hit(const Request& request, Stats::Hit kind);
  Stats& stats_;
  std::vector<Router::Route> routes_;  // last: removed before stats_
};
