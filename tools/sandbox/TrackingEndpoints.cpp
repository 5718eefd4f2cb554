#include "TrackingEndpoints.h"

#include "QueryString.h"
#include "Reply.h"

TrackingEndpoints::TrackingEndpoints(HttpHost& host, Stats& stats) : stats_(stats) {
  host.route("/track/impression", [this](SoupServerMessage* msg) { hit(msg, Stats::Hit::Impression); });
  host.route("/track/click", [this](SoupServerMessage* msg) { hit(msg, Stats::Hit::Click); });
  host.route("/track/event", [this](SoupServerMessage* msg) { hit(msg, Stats::Hit::Event); });
}

void TrackingEndpoints::hit(SoupServerMessage* msg, Stats::Hit kind) {
  auto params = QueryString::parse(Reply::query(msg));
  stats_.countHit(kind, QueryString::value(params, "c").value_or(""));
  Reply::noCache(msg);
  if (auto to = QueryString::value(params, "to"); to && !to->empty()) {
    Reply::redirect(msg, *to);
    return;
  }
  Reply::text(msg, SOUP_STATUS_OK, "counted\n");
}
