#include "platform/gtk/GtkToolbarPeer.h"

#include <algorithm>

#include "platform/gtk/GtkImageTexture.h"
#include "platform/gtk/GtkViewBox.h"

namespace pf {
namespace {

const char* iconFor(BarButtonSystemItem item) {
  switch (item) {
    case BarButtonSystemItem::Add: return "list-add-symbolic";
    case BarButtonSystemItem::Compose: return "document-edit-symbolic";
    case BarButtonSystemItem::Reply: return "mail-reply-sender-symbolic";
    case BarButtonSystemItem::Action: return "send-to-symbolic";
    case BarButtonSystemItem::Organize: return "folder-symbolic";
    case BarButtonSystemItem::Bookmarks: return "user-bookmarks-symbolic";
    case BarButtonSystemItem::Search: return "system-search-symbolic";
    case BarButtonSystemItem::Refresh: return "view-refresh-symbolic";
    case BarButtonSystemItem::Stop: return "process-stop-symbolic";
    case BarButtonSystemItem::Camera: return "camera-photo-symbolic";
    case BarButtonSystemItem::Trash: return "user-trash-symbolic";
    case BarButtonSystemItem::Play: return "media-playback-start-symbolic";
    case BarButtonSystemItem::Pause: return "media-playback-pause-symbolic";
    case BarButtonSystemItem::Rewind: return "media-seek-backward-symbolic";
    case BarButtonSystemItem::FastForward: return "media-seek-forward-symbolic";
    default: return nullptr;
  }
}

const char* titleFor(BarButtonSystemItem item) {
  switch (item) {
    case BarButtonSystemItem::Done: return "Done";
    case BarButtonSystemItem::Cancel: return "Cancel";
    case BarButtonSystemItem::Edit: return "Edit";
    case BarButtonSystemItem::Save: return "Save";
    default: return "";
  }
}

}  // namespace

GtkToolbarPeer::GtkToolbarPeer() { gtk_widget_add_css_class(binding_.widget(), "pf-toolbar"); }

GtkToolbarPeer::~GtkToolbarPeer() {
  for (auto& s : slots_) {
    g_signal_handlers_disconnect_by_data(s.button.get(), this);
    if (gtk_widget_get_parent(s.button.get())) gtk_widget_unparent(s.button.get());
  }
}

void GtkToolbarPeer::dress(Slot& slot, const BarButtonItem& item) {
  auto* button = GTK_BUTTON(slot.button.get());
  if (item.image()) {
    if (slot.shownImage != item.image()) {
      gtk_button_set_child(button, GtkImageTexture::picture(*item.image()));
      slot.shownImage = item.image();
    }
  } else if (item.systemItem() && iconFor(*item.systemItem())) {
    slot.shownImage.reset();
    gtk_button_set_icon_name(button, iconFor(*item.systemItem()));
  } else {
    slot.shownImage.reset();
    gtk_button_set_label(button, item.systemItem() ? titleFor(*item.systemItem()) : item.title().c_str());
  }
  gtk_widget_set_sensitive(GTK_WIDGET(button), item.isEnabled());
  gtk_widget_set_tooltip_text(GTK_WIDGET(button),
                              item.accessibilityLabel().empty() ? nullptr : item.accessibilityLabel().c_str());
  if (item.style() == BarButtonItemStyle::Plain)
    gtk_widget_add_css_class(GTK_WIDGET(button), "flat");
  else
    gtk_widget_remove_css_class(GTK_WIDGET(button), "flat");
}

void GtkToolbarPeer::setItems(const std::vector<std::shared_ptr<BarButtonItem>>& items,
                              const std::vector<Rect>& frames) {
  std::vector<Slot> kept;
  for (size_t i = 0; i < items.size() && i < frames.size(); ++i) {
    const auto& item = items[i];
    if (item->isSpace() || item->customView()) continue;
    auto old = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.key == item.get(); });
    Slot slot;
    if (old != slots_.end() && !old->item.expired()) {
      slot = std::move(*old);
      slots_.erase(old);
    } else {
      slot = Slot{item, item.get(), GObjectRef<GtkWidget>::ref(gtk_button_new()), nullptr};
      g_signal_connect(slot.button.get(), "clicked", G_CALLBACK(onClicked), this);
      binding_.addContent(slot.button.get());
    }
    dress(slot, *item);
    GtkViewBox::setChildFrame(slot.button.get(), frames[i]);
    kept.push_back(std::move(slot));
  }
  for (auto& gone : slots_) {
    g_signal_handlers_disconnect_by_data(gone.button.get(), this);
    if (gtk_widget_get_parent(gone.button.get())) gtk_widget_unparent(gone.button.get());
  }
  slots_ = std::move(kept);
}

void GtkToolbarPeer::itemChanged(const BarButtonItem& item) {
  for (auto& slot : slots_)
    if (slot.key == &item) dress(slot, item);
}

void GtkToolbarPeer::setTintColor(const std::optional<Color>& tint) {
  if (tint) binding_.setBackgroundColor(*tint);
}

GtkButton* GtkToolbarPeer::buttonFor(const BarButtonItem& item) const {
  for (auto& s : slots_)
    if (s.key == &item) return GTK_BUTTON(s.button.get());
  return nullptr;
}

void GtkToolbarPeer::onClicked(GtkButton* button, gpointer self) {
  auto* peer = static_cast<GtkToolbarPeer*>(self);
  for (auto& s : peer->slots_) {
    if (s.button.get() != GTK_WIDGET(button)) continue;
    if (auto item = s.item.lock()) item->performAction();  // may re-lay out or end the toolbar
    return;
  }
}

}  // namespace pf
