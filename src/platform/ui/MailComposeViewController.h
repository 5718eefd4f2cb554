#pragma once
// pf::MailComposeViewController: the system's mail form as a controller to present modally
// (MFMailComposeViewController on the phone). The fields are set before it is presented;
// when the user sends, saves or cancels, the delegate hears the result and is expected to
// dismiss the composer.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Error.h"
#include "platform/ui/MailComposerPeer.h"
#include "platform/ui/ViewController.h"

namespace pf {

class MailComposeViewController;

enum class MailComposeResult { Cancelled = 0, Saved = 1, Sent = 2, Failed = 3 };

class MailComposeViewControllerDelegate {
 public:
  virtual ~MailComposeViewControllerDelegate() = default;
  virtual void mailComposeControllerDidFinishWithResult(const std::shared_ptr<MailComposeViewController>& /*c*/,
                                                        MailComposeResult /*result*/,
                                                        const std::optional<Error>& /*error*/) {}
};

class MailComposeViewController : public ViewController {
 public:
  static bool canSendMail();
  static std::shared_ptr<MailComposeViewController> create();
  ~MailComposeViewController() override;

  std::shared_ptr<MailComposeViewControllerDelegate> mailComposeDelegate() const { return delegate_.lock(); }
  void setMailComposeDelegate(std::weak_ptr<MailComposeViewControllerDelegate> d) { delegate_ = std::move(d); }

  void setToRecipients(std::vector<std::string> to) { message_.to = std::move(to); }
  void setCcRecipients(std::vector<std::string> cc) { message_.cc = std::move(cc); }
  void setBccRecipients(std::vector<std::string> bcc) { message_.bcc = std::move(bcc); }
  void setSubject(std::string subject) { message_.subject = std::move(subject); }
  void setMessageBody(std::string body, bool isHTML) {
    message_.body = std::move(body);
    message_.bodyIsHTML = isHTML;
  }
  const MailMessage& message() const { return message_; }

  // The user finished with the form (the backend or a test).
  void userFinished(MailComposeResult result, std::optional<Error> error = std::nullopt);

  MailComposerPeer& composerPeer() { return *peer_; }

  void viewWillAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;

 protected:
  MailComposeViewController();

 private:
  std::unique_ptr<MailComposerPeer> peer_;
  std::weak_ptr<MailComposeViewControllerDelegate> delegate_;  // not retained
  MailMessage message_;
  bool presented_ = false;
};

}  // namespace pf
