#include "platform/gtk/GtkEmbeddedWindowPeer.h"

#include "platform/gtk/GtkViewBox.h"

namespace pf {

GtkEmbeddedWindowPeer::GtkEmbeddedWindowPeer(Window& window)
    : window_(window), widget_(GObjectRef<GtkWidget>::ref(GtkViewBox::create())) {
  gtk_widget_add_css_class(widget_.get(), "pf-embedded-window");
  // The window's box sits in ours at the window's frame; ours is what the host lays out.
  GtkViewBox::insertChild(widget_.get(), binding_.widget(), nullptr);
  touches_.emplace(window, widget_.get(), binding_.widget());
  g_signal_connect(widget_.get(), "map", G_CALLBACK(onMappedChanged), this);
  g_signal_connect(widget_.get(), "unmap", G_CALLBACK(onMappedChanged), this);
  minimizedWatch_.emplace(widget_.get(), [this] { keyWindowMayHaveMoved(); });
}

GtkEmbeddedWindowPeer::~GtkEmbeddedWindowPeer() {
  minimizedWatch_.reset();
  touches_.reset();
  g_signal_handlers_disconnect_by_data(widget_.get(), this);
  // Our box leaves the widget (the binding would take it out of whatever holds it); the
  // widget stays wherever the host put it, empty, until the host lets it go.
  if (gtk_widget_get_parent(binding_.widget()) == widget_.get()) gtk_widget_unparent(binding_.widget());
}

GtkEmbeddedWindowPeer* GtkEmbeddedWindowPeer::of(Window& window) {
  return dynamic_cast<GtkEmbeddedWindowPeer*>(&window.peer());
}

GtkWindow* GtkEmbeddedWindowPeer::topLevelWindow() const {
  GtkRoot* root = gtk_widget_get_root(widget_.get());
  return root && GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr;
}

bool GtkEmbeddedWindowPeer::isOnScreen() const {
  return gtk_widget_get_mapped(widget_.get()) && !minimizedWatch_->isMinimized();
}

void GtkEmbeddedWindowPeer::setFrame(const Rect& frame, const Rect& bounds) {
  // Drawn from the widget's corner whatever the window's origin: the host places the widget.
  GtkViewPeerOf<WindowPeer>::setFrame(Rect(0, 0, frame.width(), frame.height()), bounds);
  gtk_widget_set_size_request(widget_.get(), int(frame.width()), int(frame.height()));
}

void GtkEmbeddedWindowPeer::onMappedChanged(GtkWidget*, gpointer self) {
  static_cast<GtkEmbeddedWindowPeer*>(self)->keyWindowMayHaveMoved();
}

void GtkEmbeddedWindowPeer::keyWindowMayHaveMoved() {
  if (window_.isKeyWindow()) stateMayHaveChanged();
}

}  // namespace pf
