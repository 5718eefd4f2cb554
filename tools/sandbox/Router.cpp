#include "Router.h"

void Router::add(const std::string& path, Handler handler) {
  for (auto& entry : entries_) {
    if (entry.path == path) {
      entry.handler = std::move(handler);
      return;
    }
  }
  entries_.push_back({path, std::move(handler)});
}

Answer Router::dispatch(const Request& request) const {
  // libsoup looks up "/" for an empty path, and compares only the part before any "?".
  std::string_view path = request.path.empty() ? std::string_view("/") : std::string_view(request.path);
  path = path.substr(0, path.find('?'));
  const Entry* best = nullptr;
  for (const auto& entry : entries_) {
    if (path.starts_with(entry.path) && (!best || entry.path.size() > best->path.size())) best = &entry;
  }
  if (!best) return Answer::empty(404);
  return best->handler(request);
}
