#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a site answers a Request with, as plain data; HttpHost sends it with libsoup.
//
//   return Answer::text(404, "unknown ad path\n");
//   return Answer::json(200, stats.toJson());   // with Cache-Control: no-store
struct Answer {
  unsigned status = 200;
  std::string contentType;  // empty with an empty body: no body at all (204, 302, 304)
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // in the order set
  // The answer goes out after this many milliseconds (the request waits, paused).
  int delayMs = 0;
  // Set: the head promises this Content-Length, the body sent is shorter, and the
  // connection closes after it (libsoup always completes a body, so HttpHost writes
  // this answer on the raw connection, head serialized by http1Head()).
  std::optional<size_t> promisedLength;

  static Answer empty(unsigned status);
  static Answer content(unsigned status, std::string contentType, std::string body);
  static Answer html(unsigned status, std::string body);
  static Answer json(unsigned status, std::string body);  // not cached
  static Answer text(unsigned status, std::string body);
  // 302 to the location as given; any scheme ("itms-apps:" included) stays as it is.
  static Answer redirect(std::string location);

  // Sets a header, replacing one of the same name.
  Answer& header(std::string_view name, std::string value);
  Answer& noCache();
  // The value of the header of that name (any case), or nullptr.
  const std::string* find(std::string_view name) const;

  // "HTTP/1.1 <status> <reason>" with the content type, promisedLength as the
  // Content-Length, "Connection: close" and the headers, through the blank line. A header
  // libsoup would refuse to send (CR, LF or NUL anywhere; a colon or blank in the name) is
  // left out.
  std::string http1Head() const;
  static const char* reasonPhrase(unsigned status);
};
