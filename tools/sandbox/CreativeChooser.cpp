#include "CreativeChooser.h"

CreativeChooser::Choice CreativeChooser::choose(const std::string& requested) {
  if (!requested.empty()) {
    if (const Creative* c = catalogue_.find(requested)) return {c, "request", std::nullopt};
  }
  if (!queue_.empty()) {
    Queued& front = queue_.front();
    Choice choice{front.creative, "queue", front.delayMs};
    if (--front.remaining == 0) queue_.pop_front();
    return choice;
  }
  auto rotating = catalogue_.rotating();
  if (rotating.empty()) return {nullptr, "rotation", std::nullopt};
  const Creative* c = rotating[rotation_ % rotating.size()];
  ++rotation_;
  return {c, "rotation", std::nullopt};
}

bool CreativeChooser::enqueue(const std::string& name, int count, std::optional<int> delayMs) {
  const Creative* c = catalogue_.find(name);
  if (!c || count < 1) return false;
  queue_.push_back({c, count, delayMs});
  return true;
}

void CreativeChooser::reset() {
  queue_.clear();
  rotation_ = 0;
}

int CreativeChooser::queued() const {
  int total = 0;
  for (const auto& q : queue_) total += q.remaining;
  return total;
}

std::string CreativeChooser::queueSummary() const {
  std::string out;
  for (const auto& q : queue_) {
    if (!out.empty()) out += ", ";
    out += q.creative->name + " \u00d7" + std::to_string(q.remaining);
  }
  return out;
}
