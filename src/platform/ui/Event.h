#pragma once
/// @file
/// pf::Event: what reached the view tree.
namespace pf {

/// What reached the view tree. Hit testing passes it along so a view can tell a touch from
/// other events (the banner's web view notes touches only). The type numbers are the phone
/// toolkit's: 0 touches, 1 motion, 2 remote control.
class Event {
 public:
  /// The kind of event.
  enum class Type {
    Touches = 0,        ///< A finger (on the desktop: the primary pointer button).
    Motion = 1,         ///< The device moved.
    RemoteControl = 2,  ///< A remote control's button.
  };

  /// An event of `type` that happened at `timestamp` (pf::Clock::monotonic() seconds).
  explicit Event(Type type, double timestamp = 0) : type_(type), timestamp_(timestamp) {}
  /// The kind of event.
  Type type() const { return type_; }
  double timestamp() const { return timestamp_; }  ///< pf::Clock::monotonic() when it happened

 private:
  Type type_;
  double timestamp_;
};

}  // namespace pf
