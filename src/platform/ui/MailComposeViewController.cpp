#include "platform/ui/MailComposeViewController.h"

#include "platform/ui/UIBackend.h"

namespace pf {

bool MailComposeViewController::canSendMail() { return UIBackend::current().canSendMail(); }

std::shared_ptr<MailComposeViewController> MailComposeViewController::create() {
  auto c = std::shared_ptr<MailComposeViewController>(new MailComposeViewController());
  registerLive(c);
  return c;
}

MailComposeViewController::MailComposeViewController()
    : peer_(UIBackend::current().makeMailComposerPeer(*this)) {}

MailComposeViewController::~MailComposeViewController() {
  if (presented_) peer_->dismiss();
}

void MailComposeViewController::viewWillAppear(bool) {
  if (presented_) return;
  presented_ = true;
  peer_->present(message_);
}

void MailComposeViewController::viewDidDisappear(bool) {
  if (!presented_) return;
  presented_ = false;
  peer_->dismiss();
}

void MailComposeViewController::userFinished(MailComposeResult result, std::optional<Error> error) {
  auto self = std::static_pointer_cast<MailComposeViewController>(shared_from_this());
  if (auto d = delegate_.lock()) d->mailComposeControllerDidFinishWithResult(self, result, error);
}

}  // namespace pf
