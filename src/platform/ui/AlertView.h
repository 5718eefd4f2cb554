#pragma once
// pf::AlertView: a modal notice with buttons (UIAlertView on the phone). The cancel button,
// when there is one, has index 0 and the others follow in order. While shown, the
// application keeps the alert alive, so the creator may drop it after show().
//
// A button the user presses: alertViewClickedButtonAtIndex, then the dismissal —
// alertViewWillDismissWithButtonIndex, and alertViewDidDismissWithButtonIndex when the
// dismissal animation ends (0.3 s later, on a later run-loop pass).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/AlertViewPeer.h"

namespace pf {

class AlertView : public std::enable_shared_from_this<AlertView> {
 public:
  static constexpr double kDismissDuration = 0.3;

  static std::shared_ptr<AlertView> create(std::string title, std::string message,
                                           std::weak_ptr<AlertViewDelegate> delegate,
                                           std::optional<std::string> cancelButtonTitle,
                                           std::vector<std::string> otherButtonTitles);
  ~AlertView();

  const std::string& title() const { return title_; }
  const std::string& message() const { return message_; }
  std::shared_ptr<AlertViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<AlertViewDelegate> d) { delegate_ = std::move(d); }  // not retained
  int numberOfButtons() const { return int(buttons_.size()); }
  std::string buttonTitleAtIndex(int index) const;
  int cancelButtonIndex() const { return cancelIndex_; }
  int addButtonWithTitle(std::string title);
  bool isVisible() const { return visible_; }

  void show();
  void dismissWithClickedButtonIndex(int index, bool animated);
  // The user pressed button `index` (the backend or a test).
  void userClickedButtonAtIndex(int index);

  AlertViewPeer& peer() { return *peer_; }

 private:
  AlertView() = default;

  std::unique_ptr<AlertViewPeer> peer_;
  std::string title_;
  std::string message_;
  std::weak_ptr<AlertViewDelegate> delegate_;
  std::vector<std::string> buttons_;
  int cancelIndex_ = -1;
  bool visible_ = false;
};

}  // namespace pf
