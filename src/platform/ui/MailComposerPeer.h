#pragma once
// pf::MailComposerPeer: the system's mail form. It shows the message when the composer
// appears; the user's choice comes back through MailComposeViewController::userFinished.
#include <string>
#include <vector>

namespace pf {

struct MailMessage {
  std::vector<std::string> to;
  std::vector<std::string> cc;
  std::vector<std::string> bcc;
  std::string subject;
  std::string body;
  bool bodyIsHTML = false;
};

class MailComposerPeer {
 public:
  MailComposerPeer() = default;
  MailComposerPeer(const MailComposerPeer&) = delete;
  MailComposerPeer& operator=(const MailComposerPeer&) = delete;
  virtual ~MailComposerPeer() = default;

  virtual void present(const MailMessage& /*message*/) {}
  virtual void dismiss() {}
};

}  // namespace pf
