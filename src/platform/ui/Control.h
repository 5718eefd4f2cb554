#pragma once
// pf::Control: a view that sends actions (the original's UIControl). Only the event the
// system relies on is modelled: touch up inside, sent when a touch that a window hit-tests
// to the control (or into it) ends there. A disabled control takes the touch and sends
// nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

enum ControlEvents : unsigned { ControlEventTouchUpInside = 1u << 6 };  // 64, as the original's
enum class ControlState : unsigned { Normal = 0, Highlighted = 1, Disabled = 2, Selected = 4 };

class Control : public View {
 public:
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // The action runs for `events`; `target` (may be nullptr) is the key for removeTarget.
  // The original did not retain targets: capture weakly.
  void addTarget(const void* target, std::function<void()> action, unsigned events);
  void removeTarget(const void* target);
  void sendActionsForControlEvents(unsigned events);

  // A touch ended inside (the window or a backend calls this).
  void touchUpInside();

 protected:
  Control(const Rect& frame, std::unique_ptr<ViewPeer> peer) : View(frame, std::move(peer)) {}
  virtual void enabledChanged() {}

 private:
  struct Action {
    const void* target;
    std::shared_ptr<std::function<void()>> fn;
    unsigned events;
  };
  bool enabled_ = true;
  std::vector<Action> actions_;
};

}  // namespace pf
