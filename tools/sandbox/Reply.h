#pragma once

#include <libsoup/soup.h>

#include <string>
#include <string_view>

// Short ways to answer a request.
class Reply {
 public:
  static void body(SoupServerMessage* msg, guint status, const char* contentType, std::string_view body);
  static void html(SoupServerMessage* msg, guint status, std::string_view body);
  static void json(SoupServerMessage* msg, guint status, std::string_view body);
  static void text(SoupServerMessage* msg, guint status, std::string_view body);
  static void redirect(SoupServerMessage* msg, const std::string& location);
  static void header(SoupServerMessage* msg, const char* name, const std::string& value);
  static void noCache(SoupServerMessage* msg);
  // Request helpers; empty when the request has no URI (libsoup refused it).
  static std::string query(SoupServerMessage* msg);
  static std::string path(SoupServerMessage* msg);
};
