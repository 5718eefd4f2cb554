#include "platform/gtk/GtkButtonPeer.h"

#include "platform/gtk/GtkImageTexture.h"

namespace pf {

GtkButtonPeer::GtkButtonPeer() : title_(GTK_LABEL(gtk_label_new(""))) {
  gtk_widget_add_css_class(binding_.widget(), "pf-button");
  binding_.addContent(GTK_WIDGET(title_));
}

template <typename T>
T GtkButtonPeer::forState(const std::map<ControlState, T>& m, ControlState state) {
  if (auto it = m.find(state); it != m.end()) return it->second;
  if (auto it = m.find(ControlState::Normal); it != m.end()) return it->second;
  return T();
}

void GtkButtonPeer::setImage(std::shared_ptr<const Image> image, ControlState state) {
  images_[state] = std::move(image);
  refresh();
}

void GtkButtonPeer::setTitle(const std::string& title, ControlState state) {
  titles_[state] = title;
  refresh();
}

void GtkButtonPeer::setEnabled(bool enabled) {
  enabled_ = enabled;
  refresh();
}

void GtkButtonPeer::setShowsTouchWhenHighlighted(bool on) {
  if (on)
    gtk_widget_add_css_class(binding_.widget(), "pf-glows");
  else
    gtk_widget_remove_css_class(binding_.widget(), "pf-glows");
}

std::string GtkButtonPeer::shownTitle() const { return gtk_label_get_text(title_); }

void GtkButtonPeer::refresh() {
  ControlState state = enabled_ ? ControlState::Normal : ControlState::Disabled;
  auto image = forState(images_, state);
  if (image != shownImage_) {
    if (picture_) gtk_widget_unparent(picture_);
    picture_ = nullptr;
    shownImage_ = image;
    if (image) {
      picture_ = GtkImageTexture::picture(*image);
      binding_.addContent(picture_);
    }
  }
  gtk_label_set_text(title_, forState(titles_, state).c_str());
  gtk_widget_set_opacity(binding_.widget(), enabled_ || images_.count(ControlState::Disabled) ? 1.0 : 0.5);
}

}  // namespace pf
