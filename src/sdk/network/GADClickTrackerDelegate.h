#pragma once
// GADClickTrackerDelegate: how a GADClickTracker's ping ended. Both optional; at most one call
// per ping, on the main thread.
#include <optional>

#include "platform/base/Error.h"
#include "platform/base/Url.h"

class GADClickTracker;

class GADClickTrackerDelegate {
 public:
  virtual ~GADClickTrackerDelegate() = default;
  // The ping reached its end: `url` is the last URL it was sent to (a non-web redirect
  // target when the ping stopped there).
  virtual void trackerDidRedirect(GADClickTracker& /*tracker*/, const pf::Url& /*url*/) {}
  // The ping failed (the error is none for an HTTP status other than 200 and 304).
  virtual void trackerDidFailWithError(GADClickTracker& /*tracker*/, const std::optional<pf::Error>& /*error*/) {}
};
