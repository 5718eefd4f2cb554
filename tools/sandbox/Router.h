#pragma once

#include "Answer.h"
#include "Request.h"

#include <functional>
#include <string>
#include <vector>

// The handlers of one host by path. A handler takes its path and everything that starts
// with it; the longest match wins, as libsoup's SoupServer matches its handlers (a plain
// prefix of the path up to any "?": "/ad" also takes "/ad/hop" and "/adx"). A path no
// handler takes gets 404 with no body, as libsoup answers it.
//
//   Router router;
//   router.add("/stats.json", [&](const Request&) { return Answer::json(200, stats.toJson()); });
//   Answer a = router.dispatch(request);
class Router {
 public:
  using Handler = std::function<Answer(const Request&)>;

  // A second handler for the same path replaces the first.
  void add(const std::string& path, Handler handler);
  Answer dispatch(const Request& request) const;

 private:
  struct Entry {
    std::string path;
    Handler handler;
  };
  std::vector<Entry> entries_;
};
