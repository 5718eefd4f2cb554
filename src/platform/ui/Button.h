#pragma once
// pf::Button: a push button (UIButton on the phone). The image or title of a state falls
// back to the normal state's.
#include <map>
#include <memory>
#include <string>

#include "platform/ui/ButtonPeer.h"
#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

namespace pf {

enum class ButtonType { Custom = 0, RoundedRect = 1 };

class Button : public Control {
 public:
  static std::shared_ptr<Button> buttonWithType(ButtonType type);

  ButtonType buttonType() const { return type_; }
  void setImageForState(std::shared_ptr<const Image> image, ControlState state);
  std::shared_ptr<const Image> imageForState(ControlState state) const;
  void setTitleForState(std::string title, ControlState state);
  std::string titleForState(ControlState state) const;
  bool showsTouchWhenHighlighted() const { return showsTouch_; }
  void setShowsTouchWhenHighlighted(bool on);

 protected:
  explicit Button(ButtonType type);
  void enabledChanged() override;

 private:
  ButtonPeer* buttonPeer_;
  ButtonType type_;
  std::map<ControlState, std::shared_ptr<const Image>> images_;
  std::map<ControlState, std::string> titles_;
  bool showsTouch_ = false;
};

}  // namespace pf
