#pragma once
// pf::Notification: what a NotificationCenter delivers — a name, the object that sent it and
// a user-info dictionary.
//
// The object is named by identity: its address, as the sender passes it (`this`, or `get()`
// of its shared_ptr). Observers registered for one object are matched against that address,
// so register and post with a pointer of the same type. A sender that hands out a reference
// also lets observers reach it (and keeps it alive while the notification exists); one that
// cannot (say, in its destructor) posts by identity only.
//
//   center.postNotification(pf::Notification("settings", webView, params));
//   ...
//   if (auto view = n.objectAs<GADWebView>()) ...   // only the type it was posted as
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <typeinfo>

#include "platform/base/Value.h"

namespace pf {

class Notification {
 public:
  explicit Notification(std::string name, Value userInfo = {})
      : name_(std::move(name)), userInfo_(std::move(userInfo)) {}

  Notification(std::string name, const void* sender, Value userInfo = {})
      : name_(std::move(name)), sender_(sender), userInfo_(std::move(userInfo)) {}

  template <typename T>
  Notification(std::string name, const std::shared_ptr<T>& object, Value userInfo = {})
      : name_(std::move(name)),
        object_(std::const_pointer_cast<std::remove_const_t<T>>(object)),
        objectType_(typeid(std::remove_const_t<T>)),
        sender_(object.get()),
        userInfo_(std::move(userInfo)) {}

  const std::string& name() const { return name_; }
  // The sender's identity (nullptr: none), what observers registered for an object compare.
  const void* sender() const { return sender_; }
  const Value& userInfo() const { return userInfo_; }

  // The sender itself when it was posted with a shared_ptr; empty when T is not exactly the
  // type it was posted as, so a wrong guess is never a wrong cast.
  template <typename T>
  std::shared_ptr<T> objectAs() const {
    if (!object_ || objectType_ != std::type_index(typeid(std::remove_const_t<T>))) return nullptr;
    return std::static_pointer_cast<T>(object_);
  }
  bool hasObject() const { return object_ != nullptr; }

 private:
  std::string name_;
  std::shared_ptr<void> object_;
  std::type_index objectType_ = typeid(void);
  const void* sender_ = nullptr;
  Value userInfo_;
};

}  // namespace pf
