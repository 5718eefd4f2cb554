#include "platform/gtk/GtkAlertViewPeer.h"

#include "platform/gtk/GtkTopLevel.h"
#include "platform/ui/AlertView.h"

namespace pf {

GtkAlertViewPeer::GtkAlertViewPeer(AlertView& alert) : alert_(alert) {}

GtkAlertViewPeer::~GtkAlertViewPeer() { teardown(); }

GtkAlertViewPeer* GtkAlertViewPeer::of(AlertView& alert) { return dynamic_cast<GtkAlertViewPeer*>(&alert.peer()); }

void GtkAlertViewPeer::show(const std::string& title, const std::string& message,
                            const std::vector<std::string>& buttons, int cancelIndex) {
  teardown();
  cancelIndex_ = cancelIndex;
  defaultIndex_ = -1;
  for (size_t i = 0; i < buttons.size() && defaultIndex_ < 0; ++i)
    if (int(i) != cancelIndex) defaultIndex_ = int(i);
  if (defaultIndex_ < 0 && cancelIndex >= 0 && size_t(cancelIndex) < buttons.size()) defaultIndex_ = cancelIndex;
  window_ = GObjectRef<GtkWindow>::ref(GTK_WINDOW(gtk_window_new()));
  GtkWindow* w = window_.get();
  gtk_window_set_title(w, title.c_str());
  gtk_window_set_modal(w, TRUE);
  gtk_window_set_resizable(w, FALSE);
  gtk_window_set_decorated(w, FALSE);
  gtk_window_set_default_size(w, 270, -1);
  gtk_widget_add_css_class(GTK_WIDGET(w), "pf-alert");

  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_widget_add_css_class(column, "pf-alert-body");
  GtkWidget* heading = gtk_label_new(title.c_str());
  gtk_widget_add_css_class(heading, "pf-alert-title");
  gtk_label_set_wrap(GTK_LABEL(heading), TRUE);
  gtk_box_append(GTK_BOX(column), heading);
  if (!message.empty()) {
    GtkWidget* text = gtk_label_new(message.c_str());
    gtk_label_set_wrap(GTK_LABEL(text), TRUE);
    gtk_label_set_justify(GTK_LABEL(text), GTK_JUSTIFY_CENTER);
    gtk_label_set_max_width_chars(GTK_LABEL(text), 32);
    gtk_box_append(GTK_BOX(column), text);
  }
  bool sideBySide = buttons.size() == 2;
  GtkWidget* row = gtk_box_new(sideBySide ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL, 6);
  gtk_box_set_homogeneous(GTK_BOX(row), TRUE);
  buttons_.assign(buttons.size(), nullptr);
  for (size_t i = 0; i < buttons.size(); ++i) {
    GtkWidget* b = gtk_button_new_with_label(buttons[i].c_str());
    if (int(i) == cancelIndex) gtk_widget_add_css_class(b, "pf-alert-cancel");
    if (int(i) == defaultIndex_) gtk_widget_add_css_class(b, "pf-alert-default");
    g_signal_connect(b, "clicked", G_CALLBACK(onClicked), this);
    buttons_[i] = b;
  }
  for (size_t i = 0; i < buttons.size(); ++i)
    if (sideBySide || int(i) != cancelIndex) gtk_box_append(GTK_BOX(row), buttons_[i]);
  if (!sideBySide && cancelIndex >= 0 && size_t(cancelIndex) < buttons.size())
    gtk_box_append(GTK_BOX(row), buttons_[size_t(cancelIndex)]);
  gtk_box_append(GTK_BOX(column), row);
  gtk_window_set_child(w, column);
  g_signal_connect(w, "close-request", G_CALLBACK(onCloseRequest), this);
  // Escape means the cancel button, as closing the window does.
  GtkEventController* keys = gtk_shortcut_controller_new();
  gtk_shortcut_controller_add_shortcut(
      GTK_SHORTCUT_CONTROLLER(keys),
      gtk_shortcut_new(gtk_keyval_trigger_new(GDK_KEY_Escape, GdkModifierType(0)),
                       gtk_callback_action_new(
                           [](GtkWidget* window, GVariant*, gpointer) -> gboolean {
                             gtk_window_close(GTK_WINDOW(window));
                             return TRUE;
                           },
                           nullptr, nullptr)));
  gtk_widget_add_controller(GTK_WIDGET(w), keys);
  // Return means the default button. Seen before the focused widget (capture phase): a
  // focused cancel button must not take Return for itself.
  if (defaultIndex_ >= 0) {
    GtkEventController* enter = gtk_shortcut_controller_new();
    gtk_event_controller_set_propagation_phase(enter, GTK_PHASE_CAPTURE);
    for (guint key : {GDK_KEY_Return, GDK_KEY_KP_Enter, GDK_KEY_ISO_Enter})
      gtk_shortcut_controller_add_shortcut(
          GTK_SHORTCUT_CONTROLLER(enter),
          gtk_shortcut_new(gtk_keyval_trigger_new(key, GdkModifierType(0)),
                           gtk_callback_action_new(
                               [](GtkWidget*, GVariant*, gpointer self) -> gboolean {
                                 auto* peer = static_cast<GtkAlertViewPeer*>(self);
                                 peer->press(peer->defaultIndex_);
                                 return TRUE;
                               },
                               this, nullptr)));
    gtk_widget_add_controller(GTK_WIDGET(w), enter);
    gtk_window_set_default_widget(w, buttons_[size_t(defaultIndex_)]);
  }
  if (GtkTopLevel::keyGtkWindow()) {
    presentOverKeyWindow();
  } else {
    // Shown while launching, before any window is: it goes over the window once that is up,
    // not under it.
    pendingPresent_ = g_idle_add(
        [](gpointer self) -> gboolean {
          auto* peer = static_cast<GtkAlertViewPeer*>(self);
          peer->pendingPresent_ = 0;
          peer->presentOverKeyWindow();
          return G_SOURCE_REMOVE;
        },
        this);
  }
}

void GtkAlertViewPeer::presentOverKeyWindow() {
  if (!window_) return;
  if (GtkWindow* parent = GtkTopLevel::keyGtkWindow()) gtk_window_set_transient_for(window_.get(), parent);
  gtk_window_present(window_.get());
}

void GtkAlertViewPeer::dismiss(bool) { teardown(); }

void GtkAlertViewPeer::teardown() {
  if (pendingPresent_) {
    g_source_remove(pendingPresent_);
    pendingPresent_ = 0;
  }
  if (!window_) return;
  for (GtkWidget* b : buttons_) g_signal_handlers_disconnect_by_data(b, this);
  g_signal_handlers_disconnect_by_data(window_.get(), this);
  buttons_.clear();
  gtk_window_destroy(window_.get());
  window_.reset();
}

void GtkAlertViewPeer::press(int index) {
  // The alert dismisses itself (destroying our window) inside this call: it comes last.
  alert_.userClickedButtonAtIndex(index);
}

void GtkAlertViewPeer::onClicked(GtkButton* button, gpointer self) {
  auto* peer = static_cast<GtkAlertViewPeer*>(self);
  for (size_t i = 0; i < peer->buttons_.size(); ++i)
    if (peer->buttons_[i] == GTK_WIDGET(button)) return peer->press(int(i));
}

gboolean GtkAlertViewPeer::onCloseRequest(GtkWindow*, gpointer self) {
  auto* peer = static_cast<GtkAlertViewPeer*>(self);
  if (peer->cancelIndex_ >= 0) peer->press(peer->cancelIndex_);
  return TRUE;  // without a cancel button the alert stays until a button is pressed
}

}  // namespace pf
