#pragma once
// pf::GObjectRef<T>: one strong reference to a GObject, released on destruction.
//
// Two ways in, named so each call site says which it means:
//   auto session = GObjectRef<SoupSession>::adopt(soup_session_new());   // we own the new ref
//   auto monitor = GObjectRef<GNetworkMonitor>::ref(g_network_monitor_get_default());  // borrowed
//
// A floating reference (fresh GTK widgets) is sunk by ref(), so both roads end owning
// exactly one reference.
#include <glib-object.h>

#include <utility>

namespace pf {

template <typename T>
class GObjectRef {
 public:
  GObjectRef() = default;
  ~GObjectRef() { reset(); }

  static GObjectRef adopt(T* object) { return GObjectRef(object); }
  static GObjectRef ref(T* object) {
    if (object) g_object_ref_sink(object);
    return GObjectRef(object);
  }

  GObjectRef(const GObjectRef& other) : object_(other.object_) {
    if (object_) g_object_ref(object_);
  }
  GObjectRef(GObjectRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GObjectRef& operator=(GObjectRef other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  void reset() {
    if (auto* object = std::exchange(object_, nullptr)) g_object_unref(object);
  }
  T* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  explicit GObjectRef(T* object) : object_(object) {}
  T* object_ = nullptr;
};

}  // namespace pf
