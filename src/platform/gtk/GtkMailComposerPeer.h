#pragma once
// pf::GtkMailComposerPeer: the mail form, drawn in the composer controller's own view (so it
// is presented and dismissed like any modal screen): To, Cc, Bcc, Subject and a plain-text
// body, with Cancel and Send. Send hands a "mailto" URL with everything the person left in
// the form to the desktop's mail handler (GIO's default for the scheme); the composer hears
// Sent, or Failed when no handler takes it. Cancel is Cancelled.
#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "platform/gtk/GObjectRef.h"
#include "platform/ui/MailComposerPeer.h"

namespace pf {

class MailComposeViewController;

class GtkMailComposerPeer : public MailComposerPeer {
 public:
  explicit GtkMailComposerPeer(MailComposeViewController& composer);
  ~GtkMailComposerPeer() override;

  void present(const MailMessage& message) override;
  void dismiss() override;

  // The "mailto" URL of `message` (RFC 6068): addresses and fields percent-encoded, line
  // breaks of the body as CR LF.
  static std::string mailtoURL(const MailMessage& message);
  // What the form holds now (the person may have edited it).
  MailMessage formMessage() const;
  static GtkMailComposerPeer* of(MailComposeViewController& composer);

  // While presented.
  GtkWidget* form() const { return form_.get(); }
  GtkWidget* sendButton() const { return send_; }
  GtkWidget* cancelButton() const { return cancel_; }

 private:
  static void onSend(GtkButton*, gpointer self);
  static void onCancel(GtkButton*, gpointer self);
  void teardown();

  MailComposeViewController& composer_;  // owns us
  GObjectRef<GtkWidget> form_;
  GtkWidget* to_ = nullptr;  // all owned by form_
  GtkWidget* cc_ = nullptr;
  GtkWidget* bcc_ = nullptr;
  GtkWidget* subject_ = nullptr;
  GtkWidget* body_ = nullptr;
  GtkWidget* send_ = nullptr;
  GtkWidget* cancel_ = nullptr;
  bool bodyIsHTML_ = false;
};

}  // namespace pf
