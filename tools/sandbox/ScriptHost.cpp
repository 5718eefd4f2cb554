#include "ScriptHost.h"

// Only libsoup's HTTP dates (written and read as a real server does); no server here.
#include <libsoup/soup.h>

namespace {
constexpr const char* kScriptFile = "static/vize/sdk-core-v40.js";
}

ScriptHost::ScriptHost(Router& router, const WwwRoot& www, Stats& stats) : www_(www), stats_(stats) {
  routes_.push_back(router.add(kScriptPath, [this](const Request& request) { return serveScript(request); }));
  routes_.push_back(router.add("/", [](const Request&) {
    return Answer::text(404, std::string("This host serves ") + kScriptPath + " only.\n");
  }));
}

Answer ScriptHost::serveScript(const Request& request) {
  if (request.path != kScriptPath) return Answer::text(404, "no such script\n");
  auto body = www_.read(kScriptFile);
  auto modified = www_.modified(kScriptFile);
  if (!body || !modified) return Answer::text(500, "the script file is missing from the www folder\n");

  Answer a;
  // A modification time GLib cannot hold as a date (past the year 9999) gets no header.
  g_autoptr(GDateTime) lastModified = g_date_time_new_from_unix_utc(*modified);
  g_autofree char* lastModifiedText = lastModified ? soup_date_time_to_string(lastModified, SOUP_DATE_HTTP) : nullptr;
  if (lastModifiedText) a.header("Last-Modified", lastModifiedText);
  a.header("Cache-Control", "no-cache");

  if (const std::string* since = request.header("If-Modified-Since")) {
    g_autoptr(GDateTime) sinceTime = soup_date_time_new_from_http_string(since->c_str());
    if (sinceTime && g_date_time_to_unix(sinceTime) >= *modified) {
      stats_.countScript(true);
      a.status = 304;
      return a;
    }
  }
  stats_.countScript(false);
  a.status = 200;
  a.contentType = "application/javascript; charset=utf-8";
  a.body = std::move(*body);
  return a;
}
