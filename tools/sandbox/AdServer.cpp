#include "AdServer.h"

#include "QueryString.h"
#include "TextEscape.h"

#include <glib.h>

#include <cstdlib>

namespace {

std::optional<int> intValue(const QueryString::Pairs& params, const char* key) {
  auto text = QueryString::value(params, key);
  if (!text || text->empty()) return std::nullopt;
  char* end = nullptr;
  long value = std::strtol(text->c_str(), &end, 10);
  if (*end != '\0' || value < 0 || value > 600000) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

AdServer::AdServer(Router& router, const CreativeCatalogue& catalogue, const WwwRoot& www,
                   CreativeChooser& chooser, const SignalReader& signals, Stats& stats, Settings settings)
    : catalogue_(catalogue),
      page_(www),
      chooser_(chooser),
      signals_(signals),
      stats_(stats),
      settings_(settings),
      route_(router.add("/ad", [this](const Request& request) { return route(request); })) {}

Answer AdServer::route(const Request& request) {
  if (request.path == "/ad") return adRequest(request);
  if (request.path == "/ad/hop") return hop(request);
  if (request.path == "/ad/creative") return preview(request);
  return Answer::text(404, "unknown ad path\n");
}

Answer AdServer::adRequest(const Request& request) {
  Stats::AdRequest record;
  record.when = g_get_real_time();
  record.params = QueryString::parse(request.query);
  if (auto ms = QueryString::value(record.params, "ms")) {
    record.signal = signals_.readRequestSignal(*ms);
    stats_.countSignal(*record.signal);
  }

  Answer reply;
  std::string requested = QueryString::value(record.params, "creative").value_or("");
  auto slotname = QueryString::value(record.params, "slotname");
  if (!requested.empty() && !catalogue_.find(requested)) {
    record.how = "request";
    reply = Answer::text(400, "unknown creative \"" + requested + "\"; see /creatives.json\n");
  } else if (!slotname || slotname->empty()) {
    record.how = "rejected";
    reply = Answer::text(400, "no slotname: the ad unit is unknown\n");
  } else {
    auto choice = chooser_.choose(requested);
    record.how = choice.how;
    if (choice.creative) {
      int delay = choice.delayMs.value_or(intValue(record.params, "delay_ms").value_or(settings_.slowDelayMs));
      record.creative = choice.creative->name;
      reply = answer(*choice.creative, request.origin(), delay);
    } else {
      reply = Answer::text(500, "no creative to serve: the catalogue has none that rotates\n");
    }
  }
  reply.noCache();
  refreshHeader(reply);
  record.status = static_cast<int>(reply.status);
  stats_.countAdRequest(std::move(record));
  return reply;
}

Answer AdServer::answer(const Creative& creative, const std::string& origin, int delayMs) {
  switch (creative.kind) {
    case Creative::Kind::Banner:
      return answerBanner(creative, origin);
    case Creative::Kind::Redirect: {
      // First hop: the impression URL rides on a redirect response.
      Answer a = Answer::redirect(origin + "/ad/hop?c=" + TextEscape::uriComponent(creative.name) + "&step=1");
      trackingHeaders(a, creative, origin, "hop-1");
      return a;
    }
    case Creative::Kind::NoFill:
      return Answer::html(200, " \n\t\n  ");
    case Creative::Kind::Status:
      if (creative.status == 204) return Answer::empty(204);
      return Answer::text(static_cast<unsigned>(creative.status), "no ad: sandbox creative " + creative.name + "\n");
    case Creative::Kind::Truncated:
      return answerTruncated(creative, origin);
    case Creative::Kind::Slow: {
      Answer a = answerBanner(creative, origin);
      a.delayMs = delayMs;
      return a;
    }
    case Creative::Kind::NotUtf8:
      return Answer::content(200, "text/html; charset=iso-8859-1", CreativePage::latin1Page());
  }
  return Answer::empty(500);
}

Answer AdServer::hop(const Request& request) {
  auto params = QueryString::parse(request.query);
  const Creative* creative = catalogue_.find(QueryString::value(params, "c").value_or(""));
  // Second hop carries no tracking of its own; the final answer does.
  Answer a = creative ? Answer::redirect(request.origin() + "/ad/creative?c=" + TextEscape::uriComponent(creative->name))
                      : Answer::text(404, "unknown creative\n");
  a.noCache();
  refreshHeader(a);
  return a;
}

Answer AdServer::preview(const Request& request) {
  auto params = QueryString::parse(request.query);
  const Creative* creative = catalogue_.find(QueryString::value(params, "c").value_or(""));
  Answer a = creative && creative->href ? answerBanner(*creative, request.origin())
                                        : Answer::text(404, "no banner creative of that name\n");
  a.noCache();
  refreshHeader(a);
  return a;
}

Answer AdServer::answerBanner(const Creative& creative, const std::string& origin) {
  Answer a = Answer::html(200, page_.render(creative, origin));
  trackingHeaders(a, creative, origin, creative.kind == Creative::Kind::Redirect ? "final" : "");
  return a;
}

void AdServer::trackingHeaders(Answer& answer, const Creative& creative, const std::string& origin,
                               const std::string& tag) {
  std::string c = TextEscape::uriComponent(creative.name);
  std::string impressions = origin + "/track/impression?c=" + c + (tag.empty() ? "" : "&hop=" + tag);
  if (!creative.secondPing.empty()) impressions += " " + origin + creative.secondPing;
  answer.header("X-Vize-Tracking-Urls", impressions);
  if (creative.clickTracking && tag != "hop-1") {
    answer.header("X-Vize-Click-Tracking-Urls", origin + "/track/click?c=" + c);
  }
  if (!creative.orientation.empty()) answer.header("X-Vize-Orientation", creative.orientation);
  answer.header("X-Vize-Interstitial-Timeout", "8");
}

void AdServer::refreshHeader(Answer& answer) {
  if (settings_.refreshSeconds > 0) {
    answer.header("X-Vize-Refresh-Rate", std::to_string(settings_.refreshSeconds));
  }
}

Answer AdServer::answerTruncated(const Creative& creative, const std::string& origin) {
  // A Content-Length of 4096, a fraction of it, then the connection closes. The body is the
  // start of the link banner's page; should the catalogue ever lose "link", of its own.
  const Creative* look = catalogue_.find("link");
  std::string page = page_.render(look ? *look : creative, origin);
  Answer a = Answer::html(200, page.substr(0, std::min<size_t>(page.size(), 700)));
  a.promisedLength = 4096;
  // The headers of any filled answer; adRequest() adds the refresh rate, as to every answer.
  trackingHeaders(a, creative, origin, "");
  return a;
}
