#include "platform/sim/SimUIAlertView.h"

#include "platform/ui/Application.h"

namespace pf {

std::shared_ptr<AlertView> SimUIAlertView::topAlert() {
  auto& alerts = Application::sharedApplication()->visibleAlerts();
  for (auto it = alerts.rbegin(); it != alerts.rend(); ++it)
    if ((*it)->isVisible()) return *it;
  return nullptr;
}

bool SimUIAlertView::tap(AlertView& alert, const std::string& title) {
  for (int i = 0; i < alert.numberOfButtons(); ++i) {
    if (alert.buttonTitleAtIndex(i) == title) {
      alert.userClickedButtonAtIndex(i);
      return true;
    }
  }
  return false;
}

void SimUIAlertView::show(const std::string&, const std::string&, const std::vector<std::string>& buttons, int) {
  shown_ = true;
  ++timesShown_;
  buttons_ = buttons;
}

void SimUIAlertView::dismiss(bool) { shown_ = false; }

}  // namespace pf
