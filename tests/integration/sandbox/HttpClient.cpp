#include "HttpClient.h"

#include <cctype>

HttpClient::HttpClient() : session_(soup_session_new_with_options("timeout", 20, nullptr)) {}

HttpClient::~HttpClient() { g_object_unref(session_); }

HttpClient::Response HttpClient::get(const std::string& url, bool followRedirects,
                                     const std::map<std::string, std::string>& requestHeaders) {
  Response response;
  g_autoptr(SoupMessage) msg = soup_message_new("GET", url.c_str());
  if (!msg) {
    response.error = "bad URL";
    return response;
  }
  if (!followRedirects) soup_message_add_flags(msg, SOUP_MESSAGE_NO_REDIRECT);
  for (const auto& [name, value] : requestHeaders) {
    soup_message_headers_replace(soup_message_get_request_headers(msg), name.c_str(), value.c_str());
  }
  g_autoptr(GError) error = nullptr;
  g_autoptr(GBytes) body = soup_session_send_and_read(session_, msg, nullptr, &error);
  response.status = soup_message_get_status(msg);
  if (error) response.error = error->message;
  if (body) {
    gsize size = 0;
    auto* data = static_cast<const char*>(g_bytes_get_data(body, &size));
    response.body.assign(data ? data : "", size);
  }
  SoupMessageHeadersIter iter;
  soup_message_headers_iter_init(&iter, soup_message_get_response_headers(msg));
  const char* name;
  const char* value;
  while (soup_message_headers_iter_next(&iter, &name, &value)) {
    std::string lower(name);
    for (auto& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    response.headers[lower] = value;
  }
  return response;
}
