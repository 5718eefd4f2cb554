#include "sdk/request/GADRequest.h"

#include <cstdio>

#include "sdk/request/GADRequestPrivate.h"
#include "sdk/request/GADVersion.h"

std::shared_ptr<GADRequest> GADRequest::request() { return GADRequestPrivate::create(); }

std::shared_ptr<GADRequest> GADRequest::copy() const { return GADRequestPrivate::createWithRequest(*this); }

const std::string& GADRequest::sdkVersion() {
  static const std::string version = [] {
    char text[64];
    std::snprintf(text, sizeof text, "vize-sdk-i-v%d.%d.%d", GAD_SDK_VERSION_MAJOR, GAD_SDK_VERSION_MINOR,
                  GAD_SDK_VERSION_PATCH);
    return std::string(text);
  }();
  return version;
}
