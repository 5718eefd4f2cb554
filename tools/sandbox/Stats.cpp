#include "Stats.h"

#include "TextEscape.h"

void Stats::countScript(bool notModified) { ++(notModified ? script304_ : script200_); }

void Stats::countAdRequest(AdRequest request) {
  ++adRequests_;
  if (!request.creative.empty()) ++creatives_[request.creative].served;
  last_.push_front(std::move(request));
  if (last_.size() > kKeptRequests) last_.pop_back();
}

void Stats::countHit(Hit hit, const std::string& creative) {
  // Hits without a known creative still count in the totals; the per-creative table
  // only lists names the pings carried.
  CreativeCounts* counts = creative.empty() ? nullptr : &creatives_[creative];
  switch (hit) {
    case Hit::Impression:
      ++impressions_;
      if (counts) ++counts->impressions;
      break;
    case Hit::Click:
      ++clicks_;
      if (counts) ++counts->clicks;
      break;
    case Hit::Event:
      ++events_;
      if (counts) ++counts->events;
      break;
  }
}

void Stats::countSignal(const SignalReader::Reading& reading) {
  ++(reading.record ? validSignals_ : invalidSignals_);
}

void Stats::countLanding(const std::string& page, const std::string* referer) {
  LandingCounts& counts = landing_[page];
  ++counts.hits;
  counts.referer = referer ? *referer : std::string();
}

void Stats::reset() { *this = Stats(); }

std::string Stats::toJson() const {
  std::string out = "{\"script\": {\"200\": " + std::to_string(script200_) +
                    ", \"304\": " + std::to_string(script304_) + "}";
  out += ", \"ad_requests\": " + std::to_string(adRequests_);
  out += ", \"impressions\": " + std::to_string(impressions_);
  out += ", \"clicks\": " + std::to_string(clicks_);
  out += ", \"events\": " + std::to_string(events_);
  out += ", \"signals\": {\"valid\": " + std::to_string(validSignals_) +
         ", \"invalid\": " + std::to_string(invalidSignals_) + "}";
  out += ", \"creatives\": {";
  bool first = true;
  for (const auto& [name, c] : creatives_) {
    if (!first) out += ", ";
    first = false;
    out += TextEscape::json(name) + ": {\"served\": " + std::to_string(c.served) +
           ", \"impressions\": " + std::to_string(c.impressions) +
           ", \"clicks\": " + std::to_string(c.clicks) + ", \"events\": " + std::to_string(c.events) + "}";
  }
  out += "}, \"landing\": {";
  first = true;
  for (const auto& [page, l] : landing_) {
    if (!first) out += ", ";
    first = false;
    // A Referer may hold any bytes: TextEscape::json keeps the text UTF-8.
    out += TextEscape::json(page) + ": {\"hits\": " + std::to_string(l.hits) +
           ", \"referer\": " + TextEscape::json(l.referer) + "}";
  }
  out += "}, \"last_requests\": [";
  first = true;
  for (const auto& r : last_) {
    if (!first) out += ", ";
    first = false;
    out += "{\"time_us\": " + std::to_string(r.when) + ", \"creative\": " + TextEscape::json(r.creative) +
           ", \"status\": " + std::to_string(r.status) + ", \"chosen_by\": " + TextEscape::json(r.how) +
           ", \"signal\": ";
    if (!r.signal) {
      out += "null";
    } else if (r.signal->record) {
      out += "{\"valid\": true, \"record\": " + r.signal->record->json() + "}";
    } else {
      out += "{\"valid\": false, \"reason\": " + TextEscape::json(SignalReader::describe(r.signal->fault)) + "}";
    }
    out += ", \"params\": [";
    bool firstParam = true;
    for (const auto& [k, v] : r.params) {
      if (!firstParam) out += ", ";
      firstParam = false;
      out += "[" + TextEscape::json(k) + ", " + TextEscape::json(v) + "]";
    }
    out += "]}";
  }
  out += "]}";
  return out;
}
