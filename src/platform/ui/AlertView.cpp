#include "platform/ui/AlertView.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/UIBackend.h"

namespace pf {

std::shared_ptr<AlertView> AlertView::create(std::string title, std::string message,
                                             std::weak_ptr<AlertViewDelegate> delegate,
                                             std::optional<std::string> cancelButtonTitle,
                                             std::vector<std::string> otherButtonTitles) {
  auto a = std::shared_ptr<AlertView>(new AlertView());
  a->peer_ = UIBackend::current().makeAlertViewPeer(*a);
  a->title_ = std::move(title);
  a->message_ = std::move(message);
  a->delegate_ = std::move(delegate);
  if (cancelButtonTitle) {
    a->cancelIndex_ = 0;
    a->buttons_.push_back(std::move(*cancelButtonTitle));
  }
  for (auto& t : otherButtonTitles) a->buttons_.push_back(std::move(t));
  return a;
}

AlertView::~AlertView() { RunLoop::main().cancelPendingCalls(this); }

std::string AlertView::buttonTitleAtIndex(int index) const {
  return index >= 0 && index < int(buttons_.size()) ? buttons_[size_t(index)] : std::string();
}

int AlertView::addButtonWithTitle(std::string title) {
  buttons_.push_back(std::move(title));
  return int(buttons_.size()) - 1;
}

void AlertView::show() {
  if (visible_) return;
  auto self = shared_from_this();
  if (auto d = delegate_.lock()) d->willPresentAlertView(self);
  visible_ = true;
  Application::sharedApplication()->alertShown(self);
  peer_->show(title_, message_, buttons_, cancelIndex_);
  if (auto d = delegate_.lock()) d->didPresentAlertView(self);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool animated) {
  if (!visible_) return;
  auto self = shared_from_this();
  if (auto d = delegate_.lock()) d->alertViewWillDismissWithButtonIndex(self, index);
  visible_ = false;
  peer_->dismiss(animated);
  auto finish = [self, index] {
    // The application lets go of the alert only now: the delegate hears it alive.
    if (auto d = self->delegate_.lock()) d->alertViewDidDismissWithButtonIndex(self, index);
    Application::sharedApplication()->alertDismissed(*self);
  };
  if (animated)
    RunLoop::main().performAfter(this, kDismissDuration, finish);
  else
    finish();
}

void AlertView::userClickedButtonAtIndex(int index) {
  if (!visible_ || index < 0 || index >= int(buttons_.size())) return;
  auto self = shared_from_this();
  if (auto d = delegate_.lock()) d->alertViewClickedButtonAtIndex(self, index);
  dismissWithClickedButtonIndex(index, true);
}

}  // namespace pf
