#include "platform/gtk/GtkViewBinding.h"

#include <algorithm>

#include "platform/gtk/GtkPeerWidget.h"
#include "platform/gtk/GtkViewBox.h"

namespace pf {

GtkWidget* GtkPeerWidget::of(ViewPeer& peer) {
  auto* p = dynamic_cast<GtkPeerWidget*>(&peer);
  return p ? p->peerWidget() : nullptr;
}

GtkViewBinding::GtkViewBinding() : box_(GObjectRef<GtkWidget>::ref(GtkViewBox::create())) {}

GtkViewBinding::~GtkViewBinding() {
  // Our box may still sit in a parent that outlives us (a superview being torn down).
  if (gtk_widget_get_parent(box_.get())) gtk_widget_unparent(box_.get());
}

void GtkViewBinding::setFrame(const Rect& frame, const Rect& bounds) {
  frame_ = frame;
  GtkViewBox::setChildFrame(box_.get(), frame);
  GtkViewBox::setBoundsOrigin(box_.get(), bounds.origin);
  gtk_widget_queue_allocate(box_.get());
}

void GtkViewBinding::setHidden(bool hidden) { gtk_widget_set_visible(box_.get(), !hidden); }

void GtkViewBinding::setBackgroundColor(const Color& color) { GtkViewBox::setBackground(box_.get(), color); }

void GtkViewBinding::setClipsToBounds(bool clips) {
  gtk_widget_set_overflow(box_.get(), clips ? GTK_OVERFLOW_HIDDEN : GTK_OVERFLOW_VISIBLE);
}

// The neutral hit test decides which view a touch is for; GTK only needs to skip widgets
// that take no touches, as the view tree does.
void GtkViewBinding::setUserInteractionEnabled(bool enabled) { gtk_widget_set_can_target(box_.get(), enabled); }

void GtkViewBinding::insertSubview(ViewPeer& child, size_t index) {
  index = std::min(index, subpeers_.size());
  subpeers_.insert(subpeers_.begin() + long(index), &child);
  GtkWidget* widget = GtkPeerWidget::of(child);
  if (!widget) return;
  // Below the next subview that has a widget; on top when there is none.
  GtkWidget* sibling = nullptr;
  for (size_t i = index + 1; i < subpeers_.size() && !sibling; ++i) {
    GtkWidget* w = GtkPeerWidget::of(*subpeers_[i]);
    if (w && gtk_widget_get_parent(w) == box_.get()) sibling = w;
  }
  if (GtkWidget* parent = gtk_widget_get_parent(widget)) {
    if (parent == box_.get() && sibling == widget) return;
    gtk_widget_unparent(widget);
  }
  GtkViewBox::insertChild(box_.get(), widget, sibling);
}

void GtkViewBinding::removeSubview(ViewPeer& child) {
  auto it = std::find(subpeers_.begin(), subpeers_.end(), &child);
  if (it != subpeers_.end()) subpeers_.erase(it);
  GtkWidget* widget = GtkPeerWidget::of(child);
  if (widget && gtk_widget_get_parent(widget) == box_.get()) gtk_widget_unparent(widget);
}

void GtkViewBinding::addContent(GtkWidget* content) { GtkViewBox::insertContent(box_.get(), content); }

}  // namespace pf
