#include "Reply.h"

void Reply::body(SoupServerMessage* msg, guint status, const char* contentType, std::string_view body) {
  soup_server_message_set_status(msg, status, nullptr);
  soup_server_message_set_response(msg, contentType, SOUP_MEMORY_COPY, body.data(), body.size());
}

void Reply::html(SoupServerMessage* msg, guint status, std::string_view body) {
  Reply::body(msg, status, "text/html; charset=utf-8", body);
}

void Reply::json(SoupServerMessage* msg, guint status, std::string_view body) {
  noCache(msg);
  Reply::body(msg, status, "application/json", body);
}

void Reply::text(SoupServerMessage* msg, guint status, std::string_view body) {
  Reply::body(msg, status, "text/plain; charset=utf-8", body);
}

void Reply::redirect(SoupServerMessage* msg, const std::string& location) {
  // Set by hand: soup_server_message_set_redirect() resolves the target against the request
  // URI, which turns a non-web scheme such as "itms-apps:" into nonsense.
  soup_server_message_set_status(msg, SOUP_STATUS_FOUND, nullptr);
  header(msg, "Location", location);
}

void Reply::header(SoupServerMessage* msg, const char* name, const std::string& value) {
  soup_message_headers_replace(soup_server_message_get_response_headers(msg), name, value.c_str());
}

void Reply::noCache(SoupServerMessage* msg) { header(msg, "Cache-Control", "no-store"); }

// A request libsoup could not parse (a bad percent-escape, a bad Host) has no URI; libsoup
// answers it with 400 itself, but "request-finished" still reports it.
std::string Reply::query(SoupServerMessage* msg) {
  GUri* uri = soup_server_message_get_uri(msg);
  const char* q = uri ? g_uri_get_query(uri) : nullptr;
  return q ? q : "";
}

std::string Reply::path(SoupServerMessage* msg) {
  GUri* uri = soup_server_message_get_uri(msg);
  const char* p = uri ? g_uri_get_path(uri) : nullptr;
  return p ? p : "";
}
