#pragma once
// pf::Control: a view that sends actions (UIControl on the phone). Only the event the
// system relies on is modelled: touch up inside, sent when a touch that a window hit-tests
// to the control (or into it) ends there. A disabled control takes the touch and sends
// nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

enum ControlEvents : unsigned { ControlEventTouchUpInside = 1u << 6 };  // 64, as on the phone
enum class ControlState : unsigned { Normal = 0, Highlighted = 1, Disabled = 2, Selected = 4 };

class Control : public View {
 public:
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // The action runs for `events`; `target` (may be nullptr) is the key for removeTarget.
  // Targets are not retained (nor are they on the phone): capture weakly.
  void addTarget(const void* target, std::function<void()> action, unsigned events);
  void removeTarget(const void* target);
  void sendActionsForControlEvents(unsigned events);

  // A touch ended inside (the window or a backend calls this).
  void touchUpInside();

  // The innermost control at or above `view`: a touch that lands in `view` is its.
  static std::shared_ptr<Control> owning(std::shared_ptr<View> view);
  // A touch at `point` in `root`'s coordinates, as the screen delivers it: `root` hit-tests
  // it as a touch event and the control owning the view found takes it. Returns that view.
  static std::shared_ptr<View> deliverTouch(View& root, Point point);

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
