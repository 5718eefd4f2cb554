#pragma once

#include "Creative.h"
#include "CreativeCatalogue.h"

#include <deque>
#include <optional>
#include <string>

// Decides which creative answers an ad request, in this order: the creative the request
// names (the script passes extras.sandbox_creative on as "creative"), then what the
// control endpoint queued for the next requests, then the rotation of the default set.
class CreativeChooser {
 public:
  struct Choice {
    const Creative* creative = nullptr;
    std::string how;                // "request", "queue" or "rotation"
    std::optional<int> delayMs;     // for the slow creative, when the queue set one
  };

  explicit CreativeChooser(const CreativeCatalogue& catalogue) : catalogue_(catalogue) {}

  // The named creative must exist (checked by the caller). No creative (nullptr) only when
  // nothing is named or queued and the catalogue has none that rotates.
  Choice choose(const std::string& requested);
  // Returns false for an unknown name or a count below 1.
  bool enqueue(const std::string& name, int count, std::optional<int> delayMs);
  void reset();
  // Requests still queued, for the dashboard.
  int queued() const;
  std::string queueSummary() const;

 private:
  struct Queued {
    const Creative* creative;
    int remaining;
    std::optional<int> delayMs;
  };

  const CreativeCatalogue& catalogue_;
  std::deque<Queued> queue_;
  size_t rotation_ = 0;
};
