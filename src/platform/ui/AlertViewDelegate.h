#pragma once
// pf::AlertViewDelegate: what an alert tells its delegate (UIAlertViewDelegate
// on the phone). All optional.
#include <memory>

namespace pf {

class AlertView;

class AlertViewDelegate {
 public:
  virtual ~AlertViewDelegate() = default;
  virtual void willPresentAlertView(const std::shared_ptr<AlertView>& /*alert*/) {}
  virtual void didPresentAlertView(const std::shared_ptr<AlertView>& /*alert*/) {}
  // The user pressed a button (not called for dismissWithClickedButtonIndex from code).
  virtual void alertViewClickedButtonAtIndex(const std::shared_ptr<AlertView>& /*alert*/, int /*index*/) {}
  virtual void alertViewWillDismissWithButtonIndex(const std::shared_ptr<AlertView>& /*alert*/, int /*index*/) {}
  virtual void alertViewDidDismissWithButtonIndex(const std::shared_ptr<AlertView>& /*alert*/, int /*index*/) {}
};

}  // namespace pf
