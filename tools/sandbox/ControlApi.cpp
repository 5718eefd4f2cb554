#include "ControlApi.h"

#include "QueryString.h"
#include "TextEscape.h"

#include <cstdlib>

ControlApi::ControlApi(Router& router, const CreativeCatalogue& catalogue, CreativeChooser& chooser, Stats& stats)
    : catalogue_(catalogue), chooser_(chooser), stats_(stats) {
  routes_.push_back(router.add("/control/next", [this](const Request& request) { return next(request); }));
  routes_.push_back(router.add("/control/reset", [this](const Request&) {
    stats_.reset();
    chooser_.reset();
    return Answer::json(200, "{\"reset\": true}");
  }));
  routes_.push_back(router.add("/stats.json", [this](const Request&) { return Answer::json(200, stats_.toJson()); }));
  routes_.push_back(router.add("/creatives.json", [this](const Request&) { return creatives(); }));
}

Answer ControlApi::next(const Request& request) {
  auto params = QueryString::parse(request.query);
  std::string name = QueryString::value(params, "creative").value_or("");
  auto parse = [](const std::optional<std::string>& text, int fallback) -> std::optional<int> {
    if (!text) return fallback;
    char* end = nullptr;
    long value = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || value < 0 || value > 1000000) return std::nullopt;
    return static_cast<int>(value);
  };
  auto count = parse(QueryString::value(params, "count"), 1);
  auto delay = parse(QueryString::value(params, "delay_ms"), -1);
  if (!count || !delay || !chooser_.enqueue(name, *count, *delay >= 0 ? std::optional<int>(*delay) : std::nullopt)) {
    return Answer::json(
        400, "{\"error\": " + TextEscape::json("need creative=<known name> and count >= 1; see /creatives.json") + "}");
  }
  return Answer::json(200, "{\"creative\": " + TextEscape::json(name) + ", \"count\": " + std::to_string(*count) +
                               ", \"queued\": " + std::to_string(chooser_.queued()) + "}");
}

Answer ControlApi::creatives() const {
  std::string out = "[";
  for (const auto& c : catalogue_.all()) {
    if (out.size() > 1) out += ", ";
    out += "{\"name\": " + TextEscape::json(c.name) + ", \"kind\": " + TextEscape::json(Creative::kindName(c.kind)) +
           ", \"rotates\": " + (c.rotates ? "true" : "false") + ", \"status\": " +
           std::to_string(c.kind == Creative::Kind::Status ? c.status : (c.kind == Creative::Kind::Redirect ? 302 : 200)) +
           ", \"click_tracking\": " + (c.clickTracking ? "true" : "false") +
           ", \"orientation\": " + TextEscape::json(c.orientation) + ", \"summary\": " + TextEscape::json(c.summary) + "}";
  }
  out += "]";
  return Answer::json(200, out);
}
