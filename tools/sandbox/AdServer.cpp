#include "AdServer.h"

#include "QueryString.h"
#include "Reply.h"
#include "TextEscape.h"

#include <cstdlib>

struct AdServer::SlowAnswer {
  AdServer* server;
  SoupServerMessage* msg;  // referenced while paused
  const Creative* creative;
  std::string origin;
  guint source = 0;
  gulong disconnected = 0;
};

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

AdServer::AdServer(HttpHost& host, const CreativeCatalogue& catalogue, const WwwRoot& www,
                   CreativeChooser& chooser, Stats& stats, Settings settings)
    : host_(host), catalogue_(catalogue), page_(www), chooser_(chooser), stats_(stats), settings_(settings) {
  host_.route("/ad", [this](SoupServerMessage* msg) { route(msg); });
}

AdServer::~AdServer() {
  while (!slow_.empty()) finishSlow(slow_.front().get(), false);
}

void AdServer::route(SoupServerMessage* msg) {
  std::string path = Reply::path(msg);
  if (path == "/ad") {
    adRequest(msg);
  } else if (path == "/ad/hop") {
    hop(msg);
  } else if (path == "/ad/creative") {
    preview(msg);
  } else {
    Reply::text(msg, SOUP_STATUS_NOT_FOUND, "unknown ad path\n");
  }
}

void AdServer::adRequest(SoupServerMessage* msg) {
  Stats::AdRequest record;
  record.when = g_get_real_time();
  record.params = QueryString::parse(Reply::query(msg));
  Reply::noCache(msg);
  refreshHeader(msg);

  std::string requested = QueryString::value(record.params, "creative").value_or("");
  auto slotname = QueryString::value(record.params, "slotname");
  if (!requested.empty() && !catalogue_.find(requested)) {
    record.status = SOUP_STATUS_BAD_REQUEST;
    record.how = "request";
    Reply::text(msg, record.status, "unknown creative \"" + requested + "\"; see /creatives.json\n");
  } else if (!slotname || slotname->empty()) {
    record.status = SOUP_STATUS_BAD_REQUEST;
    record.how = "rejected";
    Reply::text(msg, record.status, "no slotname: the ad unit is unknown\n");
  } else {
    auto choice = chooser_.choose(requested);
    int delay = choice.delayMs.value_or(intValue(record.params, "delay_ms").value_or(settings_.slowDelayMs));
    record.creative = choice.creative->name;
    record.how = choice.how;
    record.status = answer(msg, *choice.creative, host_.originFor(msg), delay);
  }
  stats_.countAdRequest(std::move(record));
}

int AdServer::answer(SoupServerMessage* msg, const Creative& creative, const std::string& origin, int delayMs) {
  switch (creative.kind) {
    case Creative::Kind::Banner:
      answerBanner(msg, creative, origin);
      return SOUP_STATUS_OK;
    case Creative::Kind::Redirect:
      // First hop: the impression URL rides on a redirect response.
      trackingHeaders(msg, creative, origin, "hop-1");
      Reply::redirect(msg, origin + "/ad/hop?c=" + TextEscape::uriComponent(creative.name) + "&step=1");
      return SOUP_STATUS_FOUND;
    case Creative::Kind::NoFill:
      Reply::html(msg, SOUP_STATUS_OK, " \n\t\n  ");
      return SOUP_STATUS_OK;
    case Creative::Kind::Status:
      if (creative.status == SOUP_STATUS_NO_CONTENT) {
        soup_server_message_set_status(msg, SOUP_STATUS_NO_CONTENT, nullptr);
      } else {
        Reply::text(msg, creative.status, "no ad: sandbox creative " + creative.name + "\n");
      }
      return creative.status;
    case Creative::Kind::Truncated:
      answerTruncated(msg, creative, origin);
      return SOUP_STATUS_OK;
    case Creative::Kind::Slow:
      answerLater(msg, creative, origin, delayMs);
      return SOUP_STATUS_OK;
    case Creative::Kind::NotUtf8:
      Reply::body(msg, SOUP_STATUS_OK, "text/html; charset=iso-8859-1", CreativePage::latin1Page());
      return SOUP_STATUS_OK;
  }
  return SOUP_STATUS_INTERNAL_SERVER_ERROR;
}

void AdServer::hop(SoupServerMessage* msg) {
  auto params = QueryString::parse(Reply::query(msg));
  const Creative* creative = catalogue_.find(QueryString::value(params, "c").value_or(""));
  Reply::noCache(msg);
  refreshHeader(msg);
  if (!creative) {
    Reply::text(msg, SOUP_STATUS_NOT_FOUND, "unknown creative\n");
    return;
  }
  // Second hop carries no tracking of its own; the final answer does.
  Reply::redirect(msg, host_.originFor(msg) + "/ad/creative?c=" + TextEscape::uriComponent(creative->name));
}

void AdServer::preview(SoupServerMessage* msg) {
  auto params = QueryString::parse(Reply::query(msg));
  const Creative* creative = catalogue_.find(QueryString::value(params, "c").value_or(""));
  Reply::noCache(msg);
  refreshHeader(msg);
  if (!creative || !creative->href) {
    Reply::text(msg, SOUP_STATUS_NOT_FOUND, "no banner creative of that name\n");
    return;
  }
  answerBanner(msg, *creative, host_.originFor(msg));
}

void AdServer::answerBanner(SoupServerMessage* msg, const Creative& creative, const std::string& origin) {
  trackingHeaders(msg, creative, origin, creative.kind == Creative::Kind::Redirect ? "final" : "");
  Reply::html(msg, SOUP_STATUS_OK, page_.render(creative, origin));
}

void AdServer::trackingHeaders(SoupServerMessage* msg, const Creative& creative, const std::string& origin,
                               const std::string& tag) {
  std::string c = TextEscape::uriComponent(creative.name);
  std::string impressions = origin + "/track/impression?c=" + c + (tag.empty() ? "" : "&hop=" + tag);
  if (!creative.secondPing.empty()) impressions += " " + origin + creative.secondPing;
  Reply::header(msg, "X-Vize-Tracking-Urls", impressions);
  if (creative.clickTracking && tag != "hop-1") {
    Reply::header(msg, "X-Vize-Click-Tracking-Urls", origin + "/track/click?c=" + c);
  }
  if (!creative.orientation.empty()) Reply::header(msg, "X-Vize-Orientation", creative.orientation);
  Reply::header(msg, "X-Vize-Interstitial-Timeout", "8");
}

void AdServer::refreshHeader(SoupServerMessage* msg) {
  if (settings_.refreshSeconds > 0) {
    Reply::header(msg, "X-Vize-Refresh-Rate", std::to_string(settings_.refreshSeconds));
  }
}

void AdServer::answerTruncated(SoupServerMessage* msg, const Creative& creative, const std::string& origin) {
  // libsoup always completes a body it was given, so write this answer on the raw
  // connection: a Content-Length of 4096, a fraction of it, then close.
  std::string page = page_.render(*catalogue_.find("link"), origin);
  std::string head =
      "HTTP/1.1 200 OK\r\n"
      "Content-Type: text/html; charset=utf-8\r\n"
      "Content-Length: 4096\r\n"
      "Connection: close\r\n"
      "X-Vize-Tracking-Urls: " + origin + "/track/impression?c=" + creative.name + "\r\n";
  if (settings_.refreshSeconds > 0) head += "X-Vize-Refresh-Rate: " + std::to_string(settings_.refreshSeconds) + "\r\n";
  head += "\r\n";
  std::string partial = head + page.substr(0, std::min<size_t>(page.size(), 700));
  host_.logLine(msg, "200 (closed after " + std::to_string(partial.size() - head.size()) + " of 4096 body bytes)");
  GIOStream* stream = soup_server_message_steal_connection(msg);
  if (!stream) return;
  GOutputStream* out = g_io_stream_get_output_stream(stream);
  g_output_stream_write_all(out, partial.data(), partial.size(), nullptr, nullptr, nullptr);
  g_output_stream_flush(out, nullptr, nullptr);
  g_io_stream_close(stream, nullptr, nullptr);
  g_object_unref(stream);
}

void AdServer::answerLater(SoupServerMessage* msg, const Creative& creative, const std::string& origin, int delayMs) {
  auto slow = std::make_unique<SlowAnswer>(SlowAnswer{this, msg, &creative, origin});
  SlowAnswer* raw = slow.get();
  g_object_ref(msg);
  soup_server_message_pause(msg);
  raw->source = g_timeout_add(static_cast<guint>(delayMs), [](gpointer data) -> gboolean {
    auto* s = static_cast<SlowAnswer*>(data);
    s->source = 0;
    s->server->finishSlow(s, true);
    return G_SOURCE_REMOVE;
  }, raw);
  // A client that gives up must not leave a timer behind.
  raw->disconnected = g_signal_connect(msg, "disconnected", G_CALLBACK(+[](SoupServerMessage*, gpointer data) {
    auto* s = static_cast<SlowAnswer*>(data);
    s->server->finishSlow(s, false);
  }), raw);
  slow_.push_back(std::move(slow));
}

void AdServer::finishSlow(SlowAnswer* slow, bool send) {
  if (slow->source) g_source_remove(slow->source);
  if (slow->disconnected) g_signal_handler_disconnect(slow->msg, slow->disconnected);
  if (send) {
    answerBanner(slow->msg, *slow->creative, slow->origin);
    soup_server_message_unpause(slow->msg);
  }
  g_object_unref(slow->msg);
  slow_.remove_if([slow](const auto& p) { return p.get() == slow; });
}
