#pragma once

#include <libsoup/soup.h>

#include <map>
#include <string>

// A blocking libsoup client for the sandbox tests: one GET, everything about the answer.
class HttpClient {
 public:
  struct Response {
    guint status = 0;
    std::string body;
    std::map<std::string, std::string> headers;  // names lower-cased
    std::string error;                           // transport failure, empty if none
    std::string header(const std::string& lowerName) const {
      auto it = headers.find(lowerName);
      return it == headers.end() ? "" : it->second;
    }
    bool has(const std::string& lowerName) const { return headers.count(lowerName) != 0; }
  };

  HttpClient();
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  Response get(const std::string& url, bool followRedirects = false,
               const std::map<std::string, std::string>& requestHeaders = {});

 private:
  SoupSession* session_;
};
