#include "ScriptHost.h"

#include "Reply.h"

namespace {
constexpr const char* kScriptFile = "static/vize/sdk-core-v40.js";
}

ScriptHost::ScriptHost(HttpHost& host, const WwwRoot& www, Stats& stats) : www_(www), stats_(stats) {
  host.route(kScriptPath, [this](SoupServerMessage* msg) { serveScript(msg); });
  host.route("/", [](SoupServerMessage* msg) {
    Reply::text(msg, SOUP_STATUS_NOT_FOUND, std::string("This host serves ") + kScriptPath + " only.\n");
  });
}

void ScriptHost::serveScript(SoupServerMessage* msg) {
  if (Reply::path(msg) != kScriptPath) {
    Reply::text(msg, SOUP_STATUS_NOT_FOUND, "no such script\n");
    return;
  }
  auto body = www_.read(kScriptFile);
  auto modified = www_.modified(kScriptFile);
  if (!body || !modified) {
    Reply::text(msg, SOUP_STATUS_INTERNAL_SERVER_ERROR, "the script file is missing from the www folder\n");
    return;
  }
  // A modification time GLib cannot hold as a date (past the year 9999) gets no header.
  g_autoptr(GDateTime) lastModified = g_date_time_new_from_unix_utc(*modified);
  g_autofree char* lastModifiedText = lastModified ? soup_date_time_to_string(lastModified, SOUP_DATE_HTTP) : nullptr;
  if (lastModifiedText) Reply::header(msg, "Last-Modified", lastModifiedText);
  Reply::header(msg, "Cache-Control", "no-cache");

  const char* since = soup_message_headers_get_one(soup_server_message_get_request_headers(msg), "If-Modified-Since");
  if (since) {
    g_autoptr(GDateTime) sinceTime = soup_date_time_new_from_http_string(since);
    if (sinceTime && g_date_time_to_unix(sinceTime) >= *modified) {
      stats_.countScript(true);
      soup_server_message_set_status(msg, SOUP_STATUS_NOT_MODIFIED, nullptr);
      return;
    }
  }
  stats_.countScript(false);
  Reply::body(msg, SOUP_STATUS_OK, "application/javascript; charset=utf-8", *body);
}
