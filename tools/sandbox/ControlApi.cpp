#include "ControlApi.h"

#include "QueryString.h"
#include "Reply.h"
#include "TextEscape.h"

#include <cstdlib>

ControlApi::ControlApi(HttpHost& host, const CreativeCatalogue& catalogue, CreativeChooser& chooser, Stats& stats)
    : catalogue_(catalogue), chooser_(chooser), stats_(stats) {
  host.route("/control/next", [this](SoupServerMessage* msg) { next(msg); });
  host.route("/control/reset", [this](SoupServerMessage* msg) {
    stats_.reset();
    chooser_.reset();
    Reply::json(msg, SOUP_STATUS_OK, "{\"reset\": true}");
  });
  host.route("/stats.json", [this](SoupServerMessage* msg) { Reply::json(msg, SOUP_STATUS_OK, stats_.toJson()); });
  host.route("/creatives.json", [this](SoupServerMessage* msg) { creatives(msg); });
}

void ControlApi::next(SoupServerMessage* msg) {
  auto params = QueryString::parse(Reply::query(msg));
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
    Reply::json(msg, SOUP_STATUS_BAD_REQUEST,
                "{\"error\": " + TextEscape::json("need creative=<known name> and count >= 1; see /creatives.json") + "}");
    return;
  }
  Reply::json(msg, SOUP_STATUS_OK,
              "{\"creative\": " + TextEscape::json(name) + ", \"count\": " + std::to_string(*count) +
                  ", \"queued\": " + std::to_string(chooser_.queued()) + "}");
}

void ControlApi::creatives(SoupServerMessage* msg) const {
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
  Reply::json(msg, SOUP_STATUS_OK, out);
}
