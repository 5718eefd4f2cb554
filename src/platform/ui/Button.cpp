#include "platform/ui/Button.h"

#include "platform/ui/UIBackend.h"

namespace pf {

std::shared_ptr<Button> Button::buttonWithType(ButtonType type) {
  return std::shared_ptr<Button>(new Button(type));
}

Button::Button(ButtonType type) : Control(Rect(), UIBackend::current().makeButtonPeer(*this)), type_(type) {
  buttonPeer_ = static_cast<ButtonPeer*>(&peer());
}

void Button::setImageForState(std::shared_ptr<const Image> image, ControlState state) {
  images_[state] = image;
  buttonPeer_->setImage(std::move(image), state);
}

std::shared_ptr<const Image> Button::imageForState(ControlState state) const {
  if (auto it = images_.find(state); it != images_.end() && it->second) return it->second;
  auto normal = images_.find(ControlState::Normal);
  return normal == images_.end() ? nullptr : normal->second;
}

void Button::setTitleForState(std::string title, ControlState state) {
  titles_[state] = title;
  buttonPeer_->setTitle(title, state);
}

std::string Button::titleForState(ControlState state) const {
  if (auto it = titles_.find(state); it != titles_.end()) return it->second;
  auto normal = titles_.find(ControlState::Normal);
  return normal == titles_.end() ? std::string() : normal->second;
}

void Button::setShowsTouchWhenHighlighted(bool on) {
  showsTouch_ = on;
  buttonPeer_->setShowsTouchWhenHighlighted(on);
}

void Button::enabledChanged() { buttonPeer_->setEnabled(isEnabled()); }

}  // namespace pf
