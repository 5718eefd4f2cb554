#pragma once
// pf::NotificationCenter: synchronous broadcast of named notifications.
//
// Observers register for a name (or every name) and optionally one sender, and are called at
// once, on the posting thread (the main thread), in registration order. Removing a
// registration is safe at any time, also during a delivery: a removed observer is not called
// afterwards, even later in the same post. An observer added during a delivery first hears
// the next post.
//
// Registrations are keyed by the observer's identity, usually its `this`, so an object can
// drop all of them at once (in its destructor, before its handlers' `this` dangles):
//
//   center.addObserver(this, pf::UIApplicationDidEnterBackgroundNotification, nullptr,
//                      [this](const pf::Notification&) { appDidBackground(); });
//   ...
//   center.removeObserver(this);
//
// defaultCenter() is the process's center; other instances (a subclass with its own shared
// instance, say) behave the same and are independent.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/base/Notification.h"

namespace pf {

// The application's lifecycle notifications, posted on the default center with the
// application as object.
inline constexpr char UIApplicationDidFinishLaunchingNotification[] =
    "UIApplicationDidFinishLaunchingNotification";
inline constexpr char UIApplicationWillResignActiveNotification[] =
    "UIApplicationWillResignActiveNotification";
inline constexpr char UIApplicationDidEnterBackgroundNotification[] =
    "UIApplicationDidEnterBackgroundNotification";
inline constexpr char UIApplicationWillEnterForegroundNotification[] =
    "UIApplicationWillEnterForegroundNotification";
inline constexpr char UIApplicationDidBecomeActiveNotification[] =
    "UIApplicationDidBecomeActiveNotification";
inline constexpr char UIApplicationWillTerminateNotification[] =
    "UIApplicationWillTerminateNotification";
inline constexpr char UIApplicationDidReceiveMemoryWarningNotification[] =
    "UIApplicationDidReceiveMemoryWarningNotification";

class NotificationCenter {
 public:
  using Handler = std::function<void(const Notification&)>;
  using Token = uint64_t;  // 0 is never a registration

  // The process's center; it lives for the whole process.
  static NotificationCenter& defaultCenter();

  NotificationCenter();
  virtual ~NotificationCenter();
  NotificationCenter(const NotificationCenter&) = delete;
  NotificationCenter& operator=(const NotificationCenter&) = delete;

  // Calls `handler` for every notification named `name` (empty: every name) sent by `sender`
  // (nullptr: any sender). `observer` (may be nullptr) is the key removeObserver uses.
  // An empty handler registers nothing and answers 0.
  Token addObserver(const void* observer, std::string_view name, const void* sender,
                    Handler handler);

  // Every registration of `observer`.
  void removeObserver(const void* observer);
  // The registrations of `observer` that match: an empty name matches every name, a null
  // sender every sender (so removeObserver(o, "x", nullptr) drops o's "x" registrations
  // whatever their sender).
  void removeObserver(const void* observer, std::string_view name, const void* sender);
  // One registration.
  void removeRegistration(Token token);

  void postNotification(const Notification& notification);
  void postNotificationName(std::string name, const void* sender = nullptr, Value userInfo = {}) {
    postNotification(Notification(std::move(name), sender, std::move(userInfo)));
  }
  template <typename T>
  void postNotificationName(std::string name, const std::shared_ptr<T>& object, Value userInfo = {}) {
    postNotification(Notification(std::move(name), object, std::move(userInfo)));
  }

  size_t registrationCount() const { return all_.size(); }
  bool hasObserver(const void* observer) const { return byObserver_.count(observer) != 0; }

 private:
  struct Registration;
  using Registrations = std::map<Token, std::shared_ptr<Registration>>;  // in registration order

  void unlink(const std::shared_ptr<Registration>& registration);

  Token nextToken_ = 1;
  Registrations all_;
  Registrations anyName_;
  std::unordered_map<std::string, Registrations> byName_;
  std::unordered_map<const void*, Registrations> byObserver_;
};

}  // namespace pf
