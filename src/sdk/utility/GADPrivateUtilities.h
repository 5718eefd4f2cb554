#pragma once
// GADPrivateUtilities: the process-wide registry that attaches a private companion to a
// public object (a banner's GADObjectPrivate, a web view's GADWebViewPrivate…).
//
// Keys are objects compared by identity (their address) and are not retained: the key
// object removes its entry when it is destroyed. Values are owned by the registry while
// stored; it holds the only strong reference the public object needs.
//
//   GADPrivateUtilities::setPrivateObjectForKey(GADObjectPrivate::create(...), this);
//   auto object = GADPrivateUtilities::privateObjectForKey<GADObjectPrivate>(this);
//   GADPrivateUtilities::removePrivateObjectForKey(this);       // in the destructor
//
// A value is read back as the type it was stored as; asking for another type gives none, so
// a wrong guess is never a bad cast. A released companion may itself use the registry in its
// destructor (a web view's companion goes with its ad object's); that is safe.
// Main thread only.
#include <cstddef>
#include <memory>
#include <typeindex>
#include <typeinfo>

class GADPrivateUtilities {
 public:
  GADPrivateUtilities() = delete;

  // Stores `value` under `key`, releasing what was stored there; an empty value removes the
  // entry. A null key is ignored.
  template <typename T>
  static void setPrivateObjectForKey(std::shared_ptr<T> value, const void* key) {
    if (!value) {
      removePrivateObjectForKey(key);
      return;
    }
    store(std::shared_ptr<void>(std::move(value)), typeid(T), key);
  }

  // The companion stored under `key` when it was stored as a T, else none.
  template <typename T>
  static std::shared_ptr<T> privateObjectForKey(const void* key) {
    return std::static_pointer_cast<T>(lookUp(typeid(T), key));
  }

  static void removePrivateObjectForKey(const void* key);

  // Number of entries (tests).
  static size_t count();
  // Releases every entry (between tests).
  static void removeAllForTesting();

 private:
  static void store(std::shared_ptr<void> value, std::type_index type, const void* key);
  static std::shared_ptr<void> lookUp(std::type_index type, const void* key);
};
