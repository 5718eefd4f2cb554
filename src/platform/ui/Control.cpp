#include "platform/ui/Control.h"

#include <algorithm>

#include "platform/base/Clock.h"
#include "platform/ui/Event.h"

namespace pf {

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  enabledChanged();
}

void Control::addTarget(const void* target, std::function<void()> action, unsigned events) {
  if (action) actions_.push_back({target, std::make_shared<std::function<void()>>(std::move(action)), events});
}

void Control::removeTarget(const void* target) {
  std::erase_if(actions_, [&](const Action& a) { return a.target == target; });
}

void Control::sendActionsForControlEvents(unsigned events) {
  auto keep = shared_from_this();  // an action may remove us from the tree
  auto actions = actions_;         // or change the list
  for (auto& a : actions)
    if (a.events & events) (*a.fn)();
}

void Control::touchUpInside() {
  if (enabled_ && !isHidden()) sendActionsForControlEvents(ControlEventTouchUpInside);
}

std::shared_ptr<Control> Control::owning(std::shared_ptr<View> view) {
  for (auto v = std::move(view); v; v = v->superview())
    if (auto control = std::dynamic_pointer_cast<Control>(v)) return control;
  return nullptr;
}

std::shared_ptr<View> Control::deliverTouch(View& root, Point point) {
  Event event(Event::Type::Touches, Clock::monotonic());
  auto hit = root.hitTest(point, &event);
  if (auto control = owning(hit)) control->touchUpInside();
  return hit;
}

}  // namespace pf
