// The sandbox's own request handling (tools/sandbox, no server): a run of requests, one per
// line, through the three hosts' routers, each answer checked against a model of what the
// sandbox must do — which handler a path reaches, what the tracking and control endpoints
// do with their parameters, which creative an ad request gets, which landing page a load
// counts for, which requests carry a signal of the application to be read (whether it is
// genuine is fuzz/sandbox_signals.cpp's question) — and /stats.json checked to be JSON that
// agrees with the model.
//
// A line: <host><method><target>[\t<Host header>[\t<If-Modified-Since>[\t<Referer>]]]
//   host   'c' content, 's' static, anything else the ad host
//   method 'G' GET, 'H' HEAD, 'P' POST, 'O' OPTIONS, anything else GET
//   target path, then "?" and the query as sent (the path as libsoup hands it over, decoded)
// e.g. "aG/ad?slotname=x&creative=link\t127.0.0.1:47312".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <glib.h>

#include "platform/base/Url.h"
#include "platform/base/Value.h"
#include "sdk/encoding/GAD_SBJSON.h"

#include "QueryString.h"
#include "SandboxSites.h"
#include "TextEscape.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "sandbox_requests: %s\n", what);
    std::abort();
  }
}

constexpr size_t kMaxRequests = 64;
constexpr int kRefreshSeconds = 30;
constexpr int kSlowMs = 4000;

enum class Host { Content, Static, Ad };

// Which handler a path reaches: the longest registered path it starts with (up to a "?";
// "/" for an empty path), written out here apart from the Router.
std::string handlerPath(Host host, std::string_view path) {
  static const std::vector<std::string> content = {"/"};
  static const std::vector<std::string> statics = {"/", "/vize/sdk-core-v40.js"};
  static const std::vector<std::string> ad = {"/",           "/ad",           "/track/impression", "/track/click",
                                              "/track/event", "/control/next", "/control/reset",    "/stats.json",
                                              "/creatives.json", "/landing"};
  const auto& table = host == Host::Content ? content : host == Host::Static ? statics : ad;
  if (path.empty()) path = "/";
  path = path.substr(0, path.find('?'));
  std::string best;
  bool found = false;
  for (const auto& p : table) {
    if (path.substr(0, p.size()) == p && (!found || p.size() > best.size())) {
      best = p;
      found = true;
    }
  }
  return found ? best : "";
}

// The sandbox reads numbers with strtol and takes the whole text or nothing.
std::optional<long> wholeNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return value;
}

// The landing page a path names, written out here apart from StaticFiles: the segments
// after "/landing/", empty and "." ones left out; nothing when none is left or the path
// does not go on from "/landing" at a "/".
std::optional<std::string> landingPage(std::string_view path) {
  if (!path.starts_with("/landing")) return std::nullopt;
  path.remove_prefix(8);
  if (!path.empty() && path.front() != '/') return std::nullopt;
  std::string page;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = std::min(path.find('/', start), path.size());
    std::string_view segment = path.substr(start, end - start);
    if (!segment.empty() && segment != ".") page += (page.empty() ? "" : "/") + std::string(segment);
    start = end + 1;
  }
  if (page.empty()) return std::nullopt;
  return page;
}

struct Model {
  struct Queued {
    std::string name;
    long remaining;
    std::optional<int> delayMs;
  };
  int adRequests = 0, impressions = 0, clicks = 0, events = 0, script200 = 0, script304 = 0;
  int signals = 0;  // read, valid or not
  std::deque<Queued> queue;
  size_t rotation = 0;
  // The newest ad request as /stats.json must show it.
  std::optional<std::string> lastCreative, lastHow;
  int lastStatus = 0;
  struct Landing {
    int hits = 0;
    std::string referer;  // as sent, bytes and all
  };
  std::map<std::string, Landing> landing;

  void reset() { *this = Model(); }
};

class Run {
 public:
  Run()
      : www_(WwwRoot::locate("")),
        sites_({content_, static_, ad_}, www_, AdServer::Settings{kRefreshSeconds, kSlowMs}),
        catalogue_(sites_.catalogue()) {
    for (const auto& c : catalogue_.all())
      if (c.rotates) rotating_.push_back(&c);
  }

  void request(std::string_view line) {
    if (line.size() < 2) return;
    Request r;
    Host host = line[0] == 'c' ? Host::Content : line[0] == 's' ? Host::Static : Host::Ad;
    r.method = line[1] == 'H' ? "HEAD" : line[1] == 'P' ? "POST" : line[1] == 'O' ? "OPTIONS" : "GET";
    std::string_view rest = line.substr(2);
    std::vector<std::string_view> fields;
    for (size_t tab; (tab = rest.find('\t')) != std::string_view::npos; rest.remove_prefix(tab + 1)) {
      fields.push_back(rest.substr(0, tab));
    }
    fields.push_back(rest);
    std::string_view target = fields[0];
    size_t q = target.find('?');
    r.path = std::string(target.substr(0, q));
    r.query = q == std::string_view::npos ? "" : std::string(target.substr(q + 1));
    // Header values as libsoup delivers them: never a line break or NUL.
    auto headerValue = [](std::string_view v) {
      std::string out;
      for (char ch : v)
        if (ch != '\r' && ch != '\n' && ch != '\0') out += ch;
      return out;
    };
    if (fields.size() > 1) r.headers.emplace_back("Host", headerValue(fields[1]));
    if (fields.size() > 2) r.headers.emplace_back("If-Modified-Since", headerValue(fields[2]));
    if (fields.size() > 3) r.headers.emplace_back("Referer", headerValue(fields[3]));
    r.localOrigin = "http://127.0.0.1:47312";

    Router& router = host == Host::Content ? content_ : host == Host::Static ? static_ : ad_;
    Answer a = router.dispatch(r);
    checkAnswer(a);
    expect(host, r, a);
  }

  void finish() {
    Request r;
    r.path = "/stats.json";
    r.localOrigin = "http://127.0.0.1:47312";
    Answer a = ad_.dispatch(r);
    checkAnswer(a);
    checkStats(a);
  }

 private:
  // What every answer must be, whatever the request.
  static void checkAnswer(const Answer& a) {
    static const unsigned kKnown[] = {200, 204, 302, 304, 400, 404, 405, 500};
    bool known = false;
    for (unsigned s : kKnown) known |= a.status == s;
    check(known, "status the sandbox never sends");
    check(a.body.empty() || !a.contentType.empty(), "a body without a content type");
    check(a.delayMs >= 0 && a.delayMs <= 1000000, "delay out of range");
    // The head HttpHost would write by hand for this answer: well-formed lines only.
    std::string head = a.http1Head();
    check(head.starts_with("HTTP/1.1 " + std::to_string(a.status) + " "), "status line");
    check(head.ends_with("\r\n\r\n") && head.find("\r\n\r\n") == head.size() - 4, "head does not end once");
    size_t lineStart = head.find("\r\n") + 2;
    while (lineStart < head.size() - 2) {
      size_t end = head.find("\r\n", lineStart);
      std::string_view line(head.data() + lineStart, end - lineStart);
      check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos, "line break in a header");
      size_t colon = line.find(": ");
      check(colon != std::string_view::npos && colon > 0, "header line without a name");
      check(line.substr(0, colon).find_first_of(" \t:") == std::string_view::npos, "bad header name");
      lineStart = end + 2;
    }
  }

  static const std::string* header(const Answer& a, const char* name) { return a.find(name); }
  static bool headerIs(const Answer& a, const char* name, const std::string& value) {
    const std::string* v = a.find(name);
    return v && *v == value;
  }
  static bool headerStarts(const Answer& a, const char* name, const std::string& prefix) {
    const std::string* v = a.find(name);
    return v && v->starts_with(prefix);
  }

  void expect(Host host, const Request& r, const Answer& a) {
    const std::string handler = handlerPath(host, r.path);
    auto params = QueryString::parse(r.query);
    if (handler.empty()) {
      check(a.status == 404 && a.body.empty(), "a path no handler takes must get an empty 404");
      return;
    }
    if (host == Host::Content) {
      if (r.path == "/") {
        check(a.status == 302 && headerIs(a, "Location", "/classiclist.html"), "/ redirect");
      } else {
        expectFile(r, a);
      }
      return;
    }
    if (host == Host::Static) {
      if (handler == "/") {
        check(a.status == 404, "static host serves the script only");
      } else if (r.path != "/vize/sdk-core-v40.js") {
        check(a.status == 404, "no such script");
      } else if (a.status == 304) {
        check(r.header("If-Modified-Since") && a.body.empty(), "304 without If-Modified-Since");
        ++model_.script304;
      } else {
        check(a.status == 200 && a.body.find("VIZE_buildAdURL") != std::string::npos, "the script");
        ++model_.script200;
      }
      return;
    }
    if (handler == "/ad") {
      expectAd(r, a, params);
    } else if (handler.starts_with("/track/")) {
      int& count = handler == "/track/impression" ? model_.impressions
                   : handler == "/track/click"    ? model_.clicks
                                                  : model_.events;
      ++count;
      if (handler == "/track/click" && hasBarePiece(r.query)) ++model_.signals;
      auto to = QueryString::value(params, "to");
      check(headerIs(a, "Cache-Control", "no-store"), "tracking is not cached");
      if (to && !to->empty()) {
        check(a.status == 302 && headerIs(a, "Location", *to), "tracking redirect to `to`");
      } else {
        check(a.status == 200 && a.body == "counted\n", "tracking answer");
      }
    } else if (handler == "/control/next") {
      expectNext(a, params);
    } else if (handler == "/control/reset") {
      model_.reset();
      check(a.status == 200, "reset");
    } else if (handler == "/stats.json") {
      checkStats(a);
    } else if (handler == "/creatives.json") {
      auto tree = GAD_SBJSON().objectWithStringError(a.body);
      check(a.status == 200 && tree && tree->asArray() && tree->asArray()->size() == catalogue_.all().size(),
            "/creatives.json");
    } else if (handler == "/landing") {
      expectFile(r, a);
      auto page = landingPage(r.path);
      check(a.status != 200 || page, "a landing answer for a path that names no page");
      if (r.method == "GET" && a.status == 200) {
        auto& l = model_.landing[*page];
        ++l.hits;
        const std::string* referer = r.header("Referer");
        l.referer = referer ? *referer : "";
      }
    } else {
      check(handler == "/", "unmodelled handler");
      check(r.path == "/" ? a.status == 200 : a.status == 404, "dashboard at / only");
    }
  }

  // A piece between "&" and ";" that is not empty and holds no "=": where a click signal goes.
  static bool hasBarePiece(std::string_view query) {
    size_t start = 0;
    for (size_t i = 0; i <= query.size(); ++i) {
      if (i == query.size() || query[i] == '&' || query[i] == ';') {
        std::string_view piece = query.substr(start, i - start);
        if (!piece.empty() && piece.find('=') == std::string_view::npos) return true;
        start = i + 1;
      }
    }
    return false;
  }

  static void expectFile(const Request& r, const Answer& a) {
    if (r.method != "GET" && r.method != "HEAD") {
      check(a.status == 405, "files: GET or HEAD only");
    } else {
      check(a.status == 404 || (a.status == 200 && !a.body.empty()), "file");
    }
  }

  void expectNext(const Answer& a, const QueryString::Pairs& params) {
    auto number = [](const std::optional<std::string>& text, long fallback) -> std::optional<long> {
      if (!text) return fallback;
      auto v = wholeNumber(*text);
      if (!v || *v < 0 || *v > 1000000) return std::nullopt;
      return v;
    };
    std::string name = QueryString::value(params, "creative").value_or("");
    auto count = number(QueryString::value(params, "count"), 1);
    auto delay = number(QueryString::value(params, "delay_ms"), -1);
    bool ok = count && delay && *count >= 1 && catalogue_.find(name);
    check(a.status == (ok ? 200u : 400u), "/control/next accepts exactly a known creative and count >= 1");
    auto tree = GAD_SBJSON().objectWithStringError(a.body);
    check(tree && tree->isDictionary(), "/control/next answers JSON");
    if (!ok) return;
    model_.queue.push_back({name, *count, *delay >= 0 ? std::optional<int>(static_cast<int>(*delay)) : std::nullopt});
    long queued = 0;
    for (const auto& e : model_.queue) queued += e.remaining;
    check((*tree)["queued"].asInteger() == queued, "queued count");
    check((*tree)["creative"].stringRef() == name, "queued name");
  }

  void expectAd(const Request& r, const Answer& a, const QueryString::Pairs& params) {
    if (r.path != "/ad" && r.path != "/ad/hop" && r.path != "/ad/creative") {
      check(a.status == 404 && a.body == "unknown ad path\n", "unknown ad path");
      return;
    }
    check(headerIs(a, "X-Vize-Refresh-Rate", std::to_string(kRefreshSeconds)), "every /ad answer carries the refresh rate");
    check(headerIs(a, "Cache-Control", "no-store"), "ad answers are not cached");
    std::string origin = r.origin();
    const Creative* named = catalogue_.find(QueryString::value(params, "c").value_or(""));
    if (r.path == "/ad/hop") {
      check(named ? a.status == 302 &&
                        headerIs(a, "Location", origin + "/ad/creative?c=" + TextEscape::uriComponent(named->name))
                  : a.status == 404,
            "hop");
      return;
    }
    if (r.path == "/ad/creative") {
      check(named && named->href ? a.status == 200 && a.body.find("data-creative=\"" + named->name + "\"") !=
                                                          std::string::npos
                                 : a.status == 404,
            "preview");
      return;
    }

    ++model_.adRequests;
    if (QueryString::value(params, "ms")) ++model_.signals;
    std::string requested = QueryString::value(params, "creative").value_or("");
    auto slot = QueryString::value(params, "slotname");
    if (!requested.empty() && !catalogue_.find(requested)) {
      check(a.status == 400, "unknown creative");
      record(std::nullopt, "request", 400);
      return;
    }
    if (!slot || slot->empty()) {
      check(a.status == 400, "no slotname");
      record(std::nullopt, "rejected", 400);
      return;
    }
    const Creative* chosen = nullptr;
    std::string how;
    std::optional<int> queuedDelay;
    if (!requested.empty()) {
      chosen = catalogue_.find(requested);
      how = "request";
    } else if (!model_.queue.empty()) {
      auto& front = model_.queue.front();
      chosen = catalogue_.find(front.name);
      queuedDelay = front.delayMs;
      how = "queue";
      if (--front.remaining == 0) model_.queue.pop_front();
    } else {
      chosen = rotating_[model_.rotation++ % rotating_.size()];
      how = "rotation";
    }
    check(chosen != nullptr, "model chose nothing");
    record(chosen->name, how, expectCreative(a, *chosen, origin, queuedDelay, params));
  }

  // The answer for the creative; returns its status.
  int expectCreative(const Answer& a, const Creative& c, const std::string& origin, std::optional<int> queuedDelay,
                     const QueryString::Pairs& params) {
    auto tracking = [&]() {
      check(headerStarts(a, "X-Vize-Tracking-Urls", origin + "/track/impression?c=" + TextEscape::uriComponent(c.name)),
            "impression URL");
      check(header(a, "X-Vize-Interstitial-Timeout") != nullptr, "interstitial timeout");
    };
    switch (c.kind) {
      case Creative::Kind::Banner:
      case Creative::Kind::Slow:
        check(a.status == 200 && a.body.find("data-creative=\"" + c.name + "\"") != std::string::npos, "banner");
        tracking();
        if (c.kind == Creative::Kind::Slow) {
          std::optional<int> asked;
          if (auto d = QueryString::value(params, "delay_ms")) {
            auto v = wholeNumber(*d);
            if (v && *v >= 0 && *v <= 600000) asked = static_cast<int>(*v);
          }
          check(a.delayMs == queuedDelay.value_or(asked.value_or(kSlowMs)), "slow delay");
        } else {
          check(a.delayMs == 0, "only the slow creative waits");
        }
        return 200;
      case Creative::Kind::Redirect:
        check(a.status == 302 && headerStarts(a, "Location", origin + "/ad/hop?c="), "first hop");
        tracking();
        return 302;
      case Creative::Kind::NoFill:
        check(a.status == 200 && a.body.find_first_not_of(" \t\r\n") == std::string::npos, "no fill");
        return 200;
      case Creative::Kind::Status:
        check(a.status == static_cast<unsigned>(c.status), "status creative");
        check(c.status != 204 || a.body.empty(), "204 with a body");
        return c.status;
      case Creative::Kind::Truncated:
        check(a.status == 200 && a.promisedLength == 4096u && a.body.size() < 4096, "truncated");
        tracking();
        return 200;
      case Creative::Kind::NotUtf8:
        check(a.status == 200 && !pf::Url::isValidUtf8(a.body), "not-utf8");
        return 200;
    }
    check(false, "unknown kind");
    return 0;
  }

  void record(std::optional<std::string> creative, std::string how, int status) {
    model_.lastCreative = std::move(creative);
    model_.lastHow = std::move(how);
    model_.lastStatus = status;
  }

  void checkStats(const Answer& a) {
    check(a.status == 200 && pf::Url::isValidUtf8(a.body), "/stats.json must be UTF-8");
    auto tree = GAD_SBJSON().objectWithStringError(a.body);
    check(tree && tree->isDictionary(), "/stats.json must be a JSON object");
    const pf::Value& s = *tree;
    check(s["ad_requests"].asInteger() == model_.adRequests, "ad_requests");
    check(s["impressions"].asInteger() == model_.impressions, "impressions");
    check(s["clicks"].asInteger() == model_.clicks, "clicks");
    check(s["events"].asInteger() == model_.events, "events");
    auto valid = s["signals"]["valid"].asInteger(), invalid = s["signals"]["invalid"].asInteger();
    check(valid && invalid && *valid >= 0 && *invalid >= 0 && *valid + *invalid == model_.signals, "signals read");
    check(s["script"]["200"].asInteger() == model_.script200, "script 200");
    check(s["script"]["304"].asInteger() == model_.script304, "script 304");
    const auto* landing = s["landing"].asDictionary();
    check(landing && landing->size() == model_.landing.size(), "landing pages counted");
    for (const auto& [page, l] : model_.landing) {
      const pf::Value& shown = s["landing"][page];
      check(shown["hits"].asInteger() == l.hits, "landing hits");
      // The text as sent when it is UTF-8; otherwise only changed bytes are allowed.
      const std::string& referer = shown["referer"].stringRef();
      check(pf::Url::isValidUtf8(l.referer) ? referer == l.referer : referer.find("\uFFFD") != std::string::npos,
            "landing referer");
    }
    const auto* last = s["last_requests"].asArray();
    check(last && last->size() == std::min<size_t>(model_.adRequests, 8), "last_requests kept");
    if (!model_.lastHow || last->empty()) return;
    const pf::Value& newest = s["last_requests"][size_t{0}];
    check(newest["creative"].stringRef() == model_.lastCreative.value_or(""), "newest request's creative");
    check(newest["chosen_by"].stringRef() == *model_.lastHow, "newest request chosen by");
    check(newest["status"].asInteger() == model_.lastStatus, "newest request's status");
  }

  WwwRoot www_;
  Router content_, static_, ad_;
  SandboxSites sites_;
  const CreativeCatalogue& catalogue_;
  std::vector<const Creative*> rotating_;
  Model model_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Pages and the script come from the source tree (or ASHENMOOR_SANDBOX_WWW).
  std::string www = WwwRoot::locate("");
  if (!g_file_test((www + "/ad/creative.html").c_str(), G_FILE_TEST_IS_REGULAR)) {
    std::fprintf(stderr, "sandbox_requests: no www folder at %s\n", www.c_str());
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Run run;
  size_t count = 0;
  while (!text.empty() && count++ < kMaxRequests) {
    size_t end = text.find('\n');
    run.request(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  run.finish();
  return 0;
}
