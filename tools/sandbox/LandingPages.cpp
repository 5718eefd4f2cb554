#include "LandingPages.h"

namespace {
constexpr const char* kPrefix = "/landing";
}

LandingPages::LandingPages(Router& router, const WwwRoot& www, Stats& stats, int delayMs)
    : files_(www, "ad/landing"),
      stats_(stats),
      delayMs_(delayMs),
      route_(router.add(kPrefix, [this](const Request& request) { return serve(request); })) {}

Answer LandingPages::serve(const Request& request) {
  Answer a = files_.serve(request, kPrefix);
  if (request.method == "GET" && a.status == 200) {
    // A 200 means the path named a file, so it has a name.
    stats_.countLanding(StaticFiles::fileOf(request.path, kPrefix).value_or(""), request.header("Referer"));
    a.delayMs = delayMs_;
  }
  return a;
}
