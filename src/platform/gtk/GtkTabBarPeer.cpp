#include "platform/gtk/GtkTabBarPeer.h"

#include "platform/gtk/GtkImageTexture.h"
#include "platform/ui/TabBar.h"

namespace pf {

GtkTabBarPeer::GtkTabBarPeer(TabBar& tabBar) : tabBar_(tabBar), row_(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0)) {
  gtk_box_set_homogeneous(GTK_BOX(row_), TRUE);
  gtk_widget_add_css_class(binding_.widget(), "pf-tab-bar");
  binding_.addContent(row_);
}

GtkTabBarPeer::~GtkTabBarPeer() {
  for (GtkWidget* b : buttons_) g_signal_handlers_disconnect_by_data(b, this);
}

void GtkTabBarPeer::setItems(const std::vector<TabBarItem>& items) {
  for (GtkWidget* b : buttons_) {
    g_signal_handlers_disconnect_by_data(b, this);
    gtk_box_remove(GTK_BOX(row_), b);
  }
  buttons_.clear();
  for (const auto& item : items) {
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 1);
    gtk_widget_set_valign(column, GTK_ALIGN_CENTER);
    if (item.image) {
      gtk_box_append(GTK_BOX(column), GtkImageTexture::picture(*item.image));
    }
    GtkWidget* title = gtk_label_new(item.title.c_str());
    gtk_widget_add_css_class(title, "pf-tab-title");
    gtk_box_append(GTK_BOX(column), title);
    GtkWidget* button = gtk_button_new();
    gtk_widget_add_css_class(button, "flat");
    gtk_widget_add_css_class(button, "pf-tab");
    gtk_button_set_child(GTK_BUTTON(button), column);
    g_signal_connect(button, "clicked", G_CALLBACK(onClicked), this);
    gtk_box_append(GTK_BOX(row_), button);
    buttons_.push_back(button);
  }
  markSelected();
}

void GtkTabBarPeer::setSelectedIndex(size_t index) {
  selected_ = index;
  markSelected();
}

void GtkTabBarPeer::markSelected() {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (i == selected_)
      gtk_widget_add_css_class(buttons_[i], "pf-selected");
    else
      gtk_widget_remove_css_class(buttons_[i], "pf-selected");
  }
}

void GtkTabBarPeer::onClicked(GtkButton* button, gpointer self) {
  auto* peer = static_cast<GtkTabBarPeer*>(self);
  for (size_t i = 0; i < peer->buttons_.size(); ++i) {
    if (peer->buttons_[i] == GTK_WIDGET(button)) {
      peer->tabBar_.userSelectedIndex(i);  // may rebuild our buttons: nothing of ours after this
      return;
    }
  }
}

}  // namespace pf
