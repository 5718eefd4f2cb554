#pragma once

#include "Answer.h"
#include "Request.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The handlers of one host by path. A handler takes its path and everything that starts
// with it; the longest match wins, as libsoup's SoupServer matches its handlers (a plain
// prefix of the path up to any "?": "/ad" also takes "/ad/hop" and "/adx"). A path no
// handler takes gets 404 with no body, as libsoup answers it.
//
// add() returns the route: the handler stays while the Route lives, so an object whose
// handlers use it keeps its routes as members (declared last, so they go first) and can
// never be called once it is gone. The router must outlive its routes.
//
//   Router router;
//   Router::Route r = router.add("/stats.json", [&](const Request&) { return Answer::json(200, "{}"); });
//   Answer a = router.dispatch(request);
class Router {
 public:
  using Handler = std::function<Answer(const Request&)>;

  class [[nodiscard]] Route {
   public:
    Route() = default;
    Route(Route&& other) noexcept;
    Route& operator=(Route&& other) noexcept;
    ~Route();

   private:
    friend class Router;
    Route(Router* router, uint64_t id) : router_(router), id_(id) {}
    Router* router_ = nullptr;
    uint64_t id_ = 0;
  };

  Router() = default;
  Router(const Router&) = delete;
  Router& operator=(const Router&) = delete;

  // A later handler for the same path takes it over while its route lives.
  Route add(const std::string& path, Handler handler);
  Answer dispatch(const Request& request) const;

 private:
  struct Entry {
    std::string path;
    uint64_t id;
    Handler handler;
  };
  void remove(uint64_t id);

  std::vector<Entry> entries_;
  uint64_t lastId_ = 0;
};
