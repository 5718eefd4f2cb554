#pragma once
// pf::Event: what reached the view tree. Hit testing passes it along so a view can tell a
// touch from other events (the banner's web view notes touches only). The type numbers are
// the phone toolkit's: 0 touches, 1 motion, 2 remote control.
namespace pf {

class Event {
 public:
  enum class Type { Touches = 0, Motion = 1, RemoteControl = 2 };

  explicit Event(Type type, double timestamp = 0) : type_(type), timestamp_(timestamp) {}
  Type type() const { return type_; }
  double timestamp() const { return timestamp_; }  // pf::Clock::monotonic() when it happened

 private:
  Type type_;
  double timestamp_;
};

}  // namespace pf
