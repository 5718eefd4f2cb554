#include "TrackingEndpoints.h"

#include "QueryString.h"

TrackingEndpoints::TrackingEndpoints(Router& router, const SignalReader& signals, Stats& stats)
    : signals_(signals), stats_(stats) {
  routes_.push_back(router.add("/track/impression", [this](const Request& r) { return hit(r, Stats::Hit::Impression); }));
  routes_.push_back(router.add("/track/click", [this](const Request& r) { return hit(r, Stats::Hit::Click); }));
  routes_.push_back(router.add("/track/event", [this](const Request& r) { return hit(r, Stats::Hit::Event); }));
}

Answer TrackingEndpoints::hit(const Request& request, Stats::Hit kind) {
  auto params = QueryString::parse(request.query);
  stats_.countHit(kind, QueryString::value(params, "c").value_or(""));
  if (kind == Stats::Hit::Click) {
    auto bare = QueryString::bareNames(request.query);
    if (!bare.empty()) stats_.countSignal(signals_.readClickSignal(bare.back(), QueryString::rawValues(request.query, "ai")));
  }
  auto to = QueryString::value(params, "to");
  Answer a = to && !to->empty() ? Answer::redirect(*to) : Answer::text(200, "counted\n");
  a.noCache();
  return a;
}
