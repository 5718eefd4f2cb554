#include "Dashboard.h"

#include "TextEscape.h"

#include <glib.h>

#include <utility>
#include <vector>

namespace {

std::string html(std::string_view text) { return TextEscape::html(text); }

void replaceAll(std::string& text, const std::string& key, const std::string& value) {
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
    text.replace(at, key.size(), value);
  }
}

std::string tile(const std::string& label, const std::string& value, const std::string& note = "") {
  return "<div class=\"tile\"><div class=\"value\">" + html(value) + "</div><div class=\"label\">" + html(label) +
         "</div>" + (note.empty() ? "" : "<div class=\"note\">" + html(note) + "</div>") + "</div>";
}

std::string clock(gint64 microseconds) {
  g_autoptr(GDateTime) t = g_date_time_new_from_unix_local(microseconds / G_USEC_PER_SEC);
  g_autofree char* text = t ? g_date_time_format(t, "%H:%M:%S") : nullptr;
  return text ? text : "?";
}

std::string statusClass(int status) {
  if (status >= 200 && status < 300) return "ok";
  if (status >= 300 && status < 400) return "redirect";
  return "bad";
}

}  // namespace

Dashboard::Dashboard(Router& router, const WwwRoot& www, const CreativeCatalogue& catalogue,
                     const CreativeChooser& chooser, const Stats& stats)
    : www_(www), catalogue_(catalogue), chooser_(chooser), stats_(stats) {
  route_ = router.add("/", [this](const Request& request) {
    if (request.path != "/") return Answer::text(404, "not found; the dashboard is at /\n");
    return Answer::html(200, render()).noCache();
  });
}

std::string Dashboard::render() const {
  std::string page = www_.read("ad/dashboard.html").value_or("<p>dashboard template missing</p>{{TILES}}");
  const std::vector<std::pair<std::string, std::string>> fields = {
      {"{{CONTENT}}", html(origins_.content)}, {"{{SCRIPT}}", html(origins_.script)},
      {"{{AD}}", html(origins_.ad)},           {"{{TILES}}", tiles()},
      {"{{CREATIVES}}", creativeRows()},       {"{{LANDING}}", landingRows()},
      {"{{REQUESTS}}", requestCards()},
  };
  for (const auto& [key, value] : fields) replaceAll(page, key, value);
  return page;
}

std::string Dashboard::tiles() const {
  std::string queue = chooser_.queued() ? chooser_.queueSummary() : "rotation";
  return tile("script fetches", std::to_string(stats_.script200() + stats_.script304()),
              std::to_string(stats_.script200()) + " \u00d7 200 \u00b7 " + std::to_string(stats_.script304()) +
                  " \u00d7 304") +
         tile("ad requests", std::to_string(stats_.adRequests())) +
         tile("impressions", std::to_string(stats_.impressions())) + tile("clicks", std::to_string(stats_.clicks())) +
         tile("events", std::to_string(stats_.events()), "httpTrack and partner pings") +
         tile("valid signals", std::to_string(stats_.validSignals()),
              std::to_string(stats_.invalidSignals()) + " invalid \u00b7 ms and click tokens") +
         tile("next ads", std::to_string(chooser_.queued()), queue);
}

std::string Dashboard::creativeRows() const {
  std::string rows;
  for (const auto& c : catalogue_.all()) {
    Stats::CreativeCounts counts;
    if (auto it = stats_.creatives().find(c.name); it != stats_.creatives().end()) counts = it->second;
    bool idle = counts.served + counts.impressions + counts.clicks + counts.events == 0;
    rows += std::string("<tr") + (idle ? " class=\"idle\"" : "") + "><td><code>" + html(c.name) + "</code>" +
            (c.rotates ? "" : " <span class=\"pill\">on demand</span>") + "<div class=\"summary\">" +
            html(c.summary) + "</div></td><td>" + std::to_string(counts.served) + "</td><td>" +
            std::to_string(counts.impressions) + "</td><td>" + std::to_string(counts.clicks) + "</td><td>" +
            std::to_string(counts.events) + "</td></tr>\n";
  }
  return rows;
}

std::string Dashboard::landingRows() const {
  if (stats_.landing().empty()) return "<tr class=\"idle\"><td colspan=\"3\">No landing page loaded yet.</td></tr>\n";
  std::string rows;
  for (const auto& [page, l] : stats_.landing()) {
    rows += "<tr><td><code>" + html(page) + "</code></td><td>" + std::to_string(l.hits) + "</td><td class=\"referer\">" +
            (l.referer.empty() ? "<span class=\"none\">(none)</span>" : html(l.referer)) + "</td></tr>\n";
  }
  return rows;
}

std::string Dashboard::requestCards() const {
  if (stats_.lastRequests().empty()) {
    return "<p class=\"empty\">No ad requests yet. Start the application, or open " + html(origins_.ad) +
           "/ad?slotname=test in a browser.</p>";
  }
  std::string cards;
  for (const auto& r : stats_.lastRequests()) {
    cards += "<section class=\"request\"><header><span class=\"time\">" + clock(r.when) + "</span> <span class=\"status " +
             statusClass(r.status) + "\">" + std::to_string(r.status) + "</span> <code>" +
             html(r.creative.empty() ? "(none)" : r.creative) + "</code> <span class=\"how\">" + html(r.how) +
             "</span></header>";
    if (r.signal && r.signal->record) {
      cards += "<div class=\"signal ok\">signal: " + html(r.signal->record->summary()) + "</div>";
    } else if (r.signal) {
      cards += "<div class=\"signal bad\">signal invalid: " + html(SignalReader::describe(r.signal->fault)) + "</div>";
    }
    cards += "<table class=\"params\">";
    for (const auto& [k, v] : r.params) {
      cards += "<tr><th>" + html(k) + "</th><td>" + html(v) + "</td></tr>";
    }
    cards += "</table></section>\n";
  }
  return cards;
}
