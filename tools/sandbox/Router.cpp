#include "Router.h"

#include <utility>

Router::Route::Route(Route&& other) noexcept
    : router_(std::exchange(other.router_, nullptr)), id_(other.id_) {}

Router::Route& Router::Route::operator=(Route&& other) noexcept {
  if (this != &other) {
    if (router_) router_->remove(id_);
    router_ = std::exchange(other.router_, nullptr);
    id_ = other.id_;
  }
  return *this;
}

Router::Route::~Route() {
  if (router_) router_->remove(id_);
}

Router::Route Router::add(const std::string& path, Handler handler) {
  entries_.push_back({path, ++lastId_, std::move(handler)});
  return Route(this, lastId_);
}

void Router::remove(uint64_t id) {
  std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

Answer Router::dispatch(const Request& request) const {
  // libsoup looks up "/" for an empty path, and compares only the part before any "?".
  std::string_view path = request.path.empty() ? std::string_view("/") : std::string_view(request.path);
  path = path.substr(0, path.find('?'));
  const Entry* best = nullptr;
  for (const auto& entry : entries_) {
    // Entries are in the order added: at equal length the later one wins.
    if (path.starts_with(entry.path) && (!best || entry.path.size() >= best->path.size())) best = &entry;
  }
  if (!best) return Answer::empty(404);
  return best->handler(request);
}
