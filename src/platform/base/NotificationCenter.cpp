#include "platform/base/NotificationCenter.h"

#include <vector>

namespace pf {

struct NotificationCenter::Registration {
  Token token;
  const void* observer;
  std::string name;  // empty: every name
  const void* sender;
  Handler handler;
  // Set when removed; a delivery in progress holds the registration and checks this before
  // each call. The handler itself is kept: it may be the one running.
  bool removed = false;
};

NotificationCenter& NotificationCenter::defaultCenter() {
  // Never destroyed: objects torn down during static destruction still remove themselves.
  static NotificationCenter* center = new NotificationCenter();
  return *center;
}

NotificationCenter::NotificationCenter() = default;

NotificationCenter::~NotificationCenter() {
  // A delivery still on the stack (a handler destroyed its center) must stop calling.
  for (auto& [token, registration] : all_) registration->removed = true;
}

NotificationCenter::Token NotificationCenter::addObserver(const void* observer, std::string_view name,
                                                          const void* sender, Handler handler) {
  if (!handler) return 0;
  const Token token = nextToken_++;
  auto registration = std::make_shared<Registration>(
      Registration{token, observer, std::string(name), sender, std::move(handler)});
  all_.emplace(token, registration);
  if (name.empty()) {
    anyName_.emplace(token, registration);
  } else {
    byName_[registration->name].emplace(token, registration);
  }
  byObserver_[observer].emplace(token, std::move(registration));
  return token;
}

void NotificationCenter::unlink(const std::shared_ptr<Registration>& registration) {
  registration->removed = true;
  const Token token = registration->token;
  if (registration->name.empty()) {
    anyName_.erase(token);
  } else if (auto n = byName_.find(registration->name); n != byName_.end()) {
    n->second.erase(token);
    if (n->second.empty()) byName_.erase(n);
  }
  if (auto o = byObserver_.find(registration->observer); o != byObserver_.end()) {
    o->second.erase(token);
    if (o->second.empty()) byObserver_.erase(o);
  }
  all_.erase(token);
}

void NotificationCenter::removeObserver(const void* observer) {
  auto o = byObserver_.find(observer);
  if (o == byObserver_.end()) return;
  // Handlers are destroyed after the center is consistent (their captures' destructors may
  // call back in).
  const Registrations removed = std::move(o->second);
  byObserver_.erase(o);
  for (const auto& [token, registration] : removed) unlink(registration);
}

void NotificationCenter::removeObserver(const void* observer, std::string_view name,
                                        const void* sender) {
  auto o = byObserver_.find(observer);
  if (o == byObserver_.end()) return;
  std::vector<std::shared_ptr<Registration>> matching;
  for (const auto& [token, registration] : o->second) {
    if (!name.empty() && registration->name != name) continue;
    if (sender && registration->sender != sender) continue;
    matching.push_back(registration);
  }
  for (const auto& registration : matching) unlink(registration);
}

void NotificationCenter::removeRegistration(Token token) {
  auto it = all_.find(token);
  if (it == all_.end()) return;
  const std::shared_ptr<Registration> registration = it->second;
  unlink(registration);
}

void NotificationCenter::postNotification(const Notification& notification) {
  // Who hears this post is decided now: the registrations for this name and for every name,
  // merged back into registration order, that accept the sender.
  std::vector<std::shared_ptr<Registration>> targets;
  const Registrations* named = nullptr;
  if (auto n = byName_.find(notification.name()); n != byName_.end()) named = &n->second;
  auto a = anyName_.begin();
  auto accepts = [&](const Registration& r) { return !r.sender || r.sender == notification.sender(); };
  auto take = [&](const std::shared_ptr<Registration>& r) {
    if (accepts(*r)) targets.push_back(r);
  };
  if (named) {
    for (const auto& [token, registration] : *named) {
      for (; a != anyName_.end() && a->first < token; ++a) take(a->second);
      take(registration);
    }
  }
  for (; a != anyName_.end(); ++a) take(a->second);

  // A handler may destroy whatever held the notification; deliver a copy (it also keeps
  // the sender alive until the last observer has seen it).
  const Notification delivered = notification;
  for (const auto& registration : targets) {
    if (registration->removed) continue;
    registration->handler(delivered);
  }
}

}  // namespace pf
