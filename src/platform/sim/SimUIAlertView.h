#pragma once
// pf::SimUIAlertView: the sim backend's alert box: remembers what it showed; a test taps a
// button of the alert on top.
//
//   auto alert = pf::SimUIAlertView::topAlert();
//   pf::SimUIAlertView::tap(*alert, "OK");
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewPeer.h"

namespace pf {

class SimUIAlertView : public AlertViewPeer {
 public:
  // The most recently shown alert still on screen, or none.
  static std::shared_ptr<AlertView> topAlert();
  // The user presses the button titled `title`; false when the alert has none.
  static bool tap(AlertView& alert, const std::string& title);

  void show(const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
            int cancelIndex) override;
  void dismiss(bool animated) override;

  bool isShown() const { return shown_; }
  const std::vector<std::string>& buttons() const { return buttons_; }
  int timesShown() const { return timesShown_; }

 private:
  bool shown_ = false;
  int timesShown_ = 0;
  std::vector<std::string> buttons_;
};

}  // namespace pf
