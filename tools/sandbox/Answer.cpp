#include "Answer.h"

#include <algorithm>
#include <cctype>

namespace {

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

// What libsoup itself refuses to send: a line break or NUL anywhere, a name that is empty or
// holds a colon or blank.
bool writable(std::string_view name, std::string_view value) {
  return !name.empty() && name.find_first_of(std::string_view(":\r\n\t \0", 6)) == std::string_view::npos &&
         value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

Answer Answer::empty(unsigned status) {
  Answer a;
  a.status = status;
  return a;
}

Answer Answer::content(unsigned status, std::string contentType, std::string body) {
  Answer a;
  a.status = status;
  a.contentType = std::move(contentType);
  a.body = std::move(body);
  return a;
}

Answer Answer::html(unsigned status, std::string body) {
  return Answer::content(status, "text/html; charset=utf-8", std::move(body));
}

Answer Answer::json(unsigned status, std::string body) {
  Answer a = Answer::content(status, "application/json", std::move(body));
  a.noCache();
  return a;
}

Answer Answer::text(unsigned status, std::string body) {
  return Answer::content(status, "text/plain; charset=utf-8", std::move(body));
}

Answer Answer::redirect(std::string location) {
  // Set by hand: soup_server_message_set_redirect() resolves the target against the request
  // URI, which turns a non-web scheme such as "itms-apps:" into nonsense.
  Answer a = empty(302);
  a.header("Location", std::move(location));
  return a;
}

Answer& Answer::header(std::string_view name, std::string value) {
  std::erase_if(headers, [&](const auto& h) { return sameName(h.first, name); });
  headers.emplace_back(std::string(name), std::move(value));
  return *this;
}

Answer& Answer::noCache() { return header("Cache-Control", "no-store"); }

const std::string* Answer::find(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (sameName(key, name)) return &value;
  }
  return nullptr;
}

std::string Answer::http1Head() const {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
  if (!contentType.empty() && writable("Content-Type", contentType)) head += "Content-Type: " + contentType + "\r\n";
  head += "Content-Length: " + std::to_string(promisedLength.value_or(body.size())) + "\r\n";
  head += "Connection: close\r\n";
  // Written by hand, so checked by hand: a value from the request (the Host in a tracking
  // URL) must not end the line early or start another.
  for (const auto& [name, value] : headers) {
    if (writable(name, value)) head += name + ": " + value + "\r\n";
  }
  head += "\r\n";
  return head;
}

const char* Answer::reasonPhrase(unsigned status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Unknown";
  }
}
