#pragma once

#include "Answer.h"
#include "Request.h"
#include "Router.h"
#include "SignalReader.h"
#include "Stats.h"

#include <vector>

// The pings ads send back: /track/impression, /track/click and /track/event, each with
// "c" (the creative) and optionally "to" (answer with a 302 to that URL, of any scheme,
// so a tracker meets redirects and the stop at a non-web scheme). A click ping's signal —
// the last piece of its query without "=", as the application appends it — is read as a
// click signal for the ping's "ai" and counted valid or invalid; a ping without one counts
// no signal.
class TrackingEndpoints {
 public:
  TrackingEndpoints(Router& router, const SignalReader& signals, Stats& stats);
  TrackingEndpoints(const TrackingEndpoints&) = delete;
  TrackingEndpoints& operator=(const TrackingEndpoints&) = delete;

 private:
  Answer hit(const Request& request, Stats::Hit kind);
  const SignalReader& signals_;
  Stats& stats_;
  std::vector<Router::Route> routes_;  // last: removed before stats_
};
