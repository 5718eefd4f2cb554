#include "platform/gtk/GtkMailComposerPeer.h"

#include <sstream>

#include "platform/base/AsciiText.h"
#include "platform/base/Log.h"
#include "platform/gtk/GtkPeerWidget.h"
#include "platform/gtk/GtkViewBox.h"
#include "platform/ui/MailComposeViewController.h"

namespace pf {
namespace {

std::string escape(const std::string& text, const char* allowed) {
  char* e = g_uri_escape_string(text.c_str(), allowed, FALSE);
  std::string out = e;
  g_free(e);
  return out;
}

std::vector<std::string> splitAddresses(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream in(text);
  std::string piece;
  while (std::getline(in, piece, ','))
    if (auto t = trimAscii(piece, " \t\r\n"); !t.empty()) out.emplace_back(t);
  return out;
}

std::string joinAddresses(const std::vector<std::string>& list) {
  std::string out;
  for (auto& a : list) out += (out.empty() ? "" : ", ") + a;
  return out;
}

// Addresses keep "@" and the characters RFC 6068 lets stand in an address; "," separates them.
std::string encodeAddresses(const std::vector<std::string>& list) {
  std::string out;
  for (auto& a : list) out += (out.empty() ? "" : ",") + escape(a, "@!$'()*+;:");
  return out;
}

std::string crlf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string entryText(GtkWidget* entry) { return gtk_editable_get_text(GTK_EDITABLE(entry)); }

GtkWidget* addRow(GtkGrid* grid, int row, const char* label, const std::string& value) {
  GtkWidget* name = gtk_label_new(label);
  gtk_widget_add_css_class(name, "dim-label");
  gtk_label_set_xalign(GTK_LABEL(name), 1);
  GtkWidget* entry = gtk_entry_new();
  gtk_editable_set_text(GTK_EDITABLE(entry), value.c_str());
  gtk_widget_set_hexpand(entry, TRUE);
  gtk_grid_attach(grid, name, 0, row, 1, 1);
  gtk_grid_attach(grid, entry, 1, row, 1, 1);
  return entry;
}

}  // namespace

GtkMailComposerPeer::GtkMailComposerPeer(MailComposeViewController& composer) : composer_(composer) {}

GtkMailComposerPeer::~GtkMailComposerPeer() { teardown(); }

GtkMailComposerPeer* GtkMailComposerPeer::of(MailComposeViewController& composer) {
  return dynamic_cast<GtkMailComposerPeer*>(&composer.composerPeer());
}

std::string GtkMailComposerPeer::mailtoURL(const MailMessage& m) {
  std::string url = "mailto:" + encodeAddresses(m.to);
  std::vector<std::pair<const char*, std::string>> fields;
  if (!m.cc.empty()) fields.emplace_back("cc", encodeAddresses(m.cc));
  if (!m.bcc.empty()) fields.emplace_back("bcc", encodeAddresses(m.bcc));
  if (!m.subject.empty()) fields.emplace_back("subject", escape(m.subject, nullptr));
  if (!m.body.empty()) fields.emplace_back("body", escape(crlf(m.body), nullptr));
  char sep = '?';
  for (auto& [name, value] : fields) {
    url += sep + std::string(name) + "=" + value;
    sep = '&';
  }
  return url;
}

MailMessage GtkMailComposerPeer::formMessage() const {
  MailMessage m;
  if (!form_) return m;
  m.to = splitAddresses(entryText(to_));
  m.cc = splitAddresses(entryText(cc_));
  m.bcc = splitAddresses(entryText(bcc_));
  m.subject = entryText(subject_);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(body_));
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  char* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  m.body = text;
  g_free(text);
  m.bodyIsHTML = bodyIsHTML_;
  return m;
}

void GtkMailComposerPeer::present(const MailMessage& message) {
  teardown();
  bodyIsHTML_ = message.bodyIsHTML;
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  form_ = GObjectRef<GtkWidget>::ref(column);
  gtk_widget_add_css_class(column, "pf-mail-form");

  GtkWidget* bar = gtk_center_box_new();
  gtk_widget_add_css_class(bar, "pf-mail-bar");
  cancel_ = gtk_button_new_with_label("Cancel");
  send_ = gtk_button_new_with_label("Send");
  gtk_widget_add_css_class(send_, "suggested-action");
  gtk_center_box_set_start_widget(GTK_CENTER_BOX(bar), cancel_);
  gtk_center_box_set_center_widget(GTK_CENTER_BOX(bar), gtk_label_new("New Message"));
  gtk_center_box_set_end_widget(GTK_CENTER_BOX(bar), send_);
  gtk_box_append(GTK_BOX(column), bar);

  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 2);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 6);
  gtk_widget_set_margin_start(grid, 6);
  gtk_widget_set_margin_end(grid, 6);
  to_ = addRow(GTK_GRID(grid), 0, "To:", joinAddresses(message.to));
  cc_ = addRow(GTK_GRID(grid), 1, "Cc:", joinAddresses(message.cc));
  bcc_ = addRow(GTK_GRID(grid), 2, "Bcc:", joinAddresses(message.bcc));
  subject_ = addRow(GTK_GRID(grid), 3, "Subject:", message.subject);
  gtk_box_append(GTK_BOX(column), grid);

  body_ = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(body_), GTK_WRAP_WORD_CHAR);
  // A plain-text form: an HTML body is shown (and sent) as its text.
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(body_)), message.body.c_str(), -1);
  GtkWidget* scroller = gtk_scrolled_window_new();
  gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroller), body_);
  gtk_widget_set_vexpand(scroller, TRUE);
  gtk_box_append(GTK_BOX(column), scroller);

  g_signal_connect(send_, "clicked", G_CALLBACK(onSend), this);
  g_signal_connect(cancel_, "clicked", G_CALLBACK(onCancel), this);
  // The form fills the composer's own view, which the presentation puts on screen.
  if (GtkWidget* box = GtkPeerWidget::of(composer_.view()->peer()))
    GtkViewBox::insertContent(box, column);
  else
    Log::message("mail composer: its view has no desktop widget; the form is not shown");
}

void GtkMailComposerPeer::dismiss() { teardown(); }

void GtkMailComposerPeer::teardown() {
  if (!form_) return;
  g_signal_handlers_disconnect_by_data(send_, this);
  g_signal_handlers_disconnect_by_data(cancel_, this);
  if (gtk_widget_get_parent(form_.get())) gtk_widget_unparent(form_.get());
  form_.reset();
  to_ = cc_ = bcc_ = subject_ = body_ = send_ = cancel_ = nullptr;
}

void GtkMailComposerPeer::onSend(GtkButton*, gpointer self) {
  auto* peer = static_cast<GtkMailComposerPeer*>(self);
  std::string url = mailtoURL(peer->formMessage());
  GError* error = nullptr;
  GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
  bool sent = g_app_info_launch_default_for_uri(url.c_str(), G_APP_LAUNCH_CONTEXT(context), &error);
  g_object_unref(context);
  if (sent) {
    peer->composer_.userFinished(MailComposeResult::Sent);  // the delegate may end us: last
    return;
  }
  auto failure = Error::withDescription("MFMailComposeErrorDomain", 1,
                                        std::string("No mail application took the message: ") +
                                            (error ? error->message : "unknown"));
  g_clear_error(&error);
  peer->composer_.userFinished(MailComposeResult::Failed, failure);
}

void GtkMailComposerPeer::onCancel(GtkButton*, gpointer self) {
  static_cast<GtkMailComposerPeer*>(self)->composer_.userFinished(MailComposeResult::Cancelled);
}

}  // namespace pf
