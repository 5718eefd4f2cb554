#pragma once
// pf::SimUIMailComposer: the sim backend's mail form: remembers the message it was shown; a
// test finishes it with a result.
//
//   pf::SimUIMailComposer::of(*composer)->finish(pf::MailComposeResult::Sent);
#include <optional>

#include "platform/ui/MailComposeViewController.h"
#include "platform/ui/MailComposerPeer.h"

namespace pf {

class SimUIMailComposer : public MailComposerPeer {
 public:
  explicit SimUIMailComposer(MailComposeViewController& composer) : composer_(composer) {}
  static SimUIMailComposer* of(MailComposeViewController& composer);

  void present(const MailMessage& message) override { shown_ = message; }
  void dismiss() override { shown_.reset(); }

  // The message on screen, none when the form is not shown.
  const std::optional<MailMessage>& shownMessage() const { return shown_; }
  void finish(MailComposeResult result) { composer_.userFinished(result); }

 private:
  MailComposeViewController& composer_;  // owns us
  std::optional<MailMessage> shown_;
};

}  // namespace pf
