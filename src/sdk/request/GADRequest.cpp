#include "sdk/request/GADRequest.h"

#include <cstdio>

#include "sdk/request/GADRequestPrivate.h"

std::shared_ptr<GADRequest> GADRequest::request() { return GADRequestPrivate::create(); }

std::shared_ptr<GADRequest> GADRequest::copy() const { return GADRequestPrivate::createWithRequest(*this); }

const std::string& GADRequest::sdkVersion() {
  static const std::string version = [] {
    char text[64];
    std::snprintf(text, sizeof text, "vize-sdk-i-v%d.%d.%d", 4, 1, 1);
    return std::string(text);
  }();
  return version;
}
