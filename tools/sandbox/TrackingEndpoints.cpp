#include "TrackingEndpoints.h"

#include "QueryString.h"

TrackingEndpoints::TrackingEndpoints(Router& router, Stats& stats) : stats_(stats) {
  routes_.push_back(router.add("/track/impression", [this](const Request& r) { return hit(r, Stats::Hit::Impression); }));
  routes_.push_back(router.add("/track/click", [this](const Request& r) { return hit(r, Stats::Hit::Click); }));
  routes_.push_back(router.add("/track/event", [this](const Request& r) { return hit(r, Stats::Hit::Event); }));
}

Answer TrackingEndpoints::hit(const Request& request, Stats::Hit kind) {
  auto params = QueryString::parse(request.query);
  stats_.countHit(kind, QueryString::value(params, "c").value_or(""));
  auto to = QueryString::value(params, "to");
  Answer a = to && !to->empty() ? Answer::redirect(*to) : Answer::text(200, "counted\n");
  a.noCache();
  return a;
}
