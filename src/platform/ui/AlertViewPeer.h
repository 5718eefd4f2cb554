#pragma once
// pf::AlertViewPeer: shows an alert's box. A button the user presses is reported with
// AlertView::userClickedButtonAtIndex.
#include <string>
#include <vector>

namespace pf {

class AlertViewPeer {
 public:
  AlertViewPeer() = default;
  AlertViewPeer(const AlertViewPeer&) = delete;
  AlertViewPeer& operator=(const AlertViewPeer&) = delete;
  virtual ~AlertViewPeer() = default;

  // Buttons in index order; `cancelIndex` is -1 when there is no cancel button.
  virtual void show(const std::string& /*title*/, const std::string& /*message*/,
                    const std::vector<std::string>& /*buttons*/, int /*cancelIndex*/) {}
  virtual void dismiss(bool /*animated*/) {}
};

}  // namespace pf
