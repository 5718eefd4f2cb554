#include "platform/gtk/GtkViewBox.h"

#include <cmath>

namespace {

struct PfViewBox {
  GtkWidget parent_instance;
  GdkRGBA background;
  double boundsX;
  double boundsY;
};
struct PfViewBoxClass {
  GtkWidgetClass parent_class;
};

G_DEFINE_TYPE(PfViewBox, pf_view_box, GTK_TYPE_WIDGET)

GQuark frameQuark() {
  static GQuark q = g_quark_from_static_string("pf-view-frame");
  return q;
}

PfViewBox* asBox(GtkWidget* w) { return G_TYPE_CHECK_INSTANCE_CAST(w, pf_view_box_get_type(), PfViewBox); }

void pf_view_box_init(PfViewBox* self) {
  self->background = GdkRGBA{0, 0, 0, 0};
  self->boundsX = self->boundsY = 0;
}

void pfViewBoxDispose(GObject* object) {
  // A GTK 4 container unparents its children itself.
  GtkWidget* w = GTK_WIDGET(object);
  while (GtkWidget* child = gtk_widget_get_first_child(w)) gtk_widget_unparent(child);
  G_OBJECT_CLASS(pf_view_box_parent_class)->dispose(object);
}

// The neutral layer sized us: we ask for nothing, so no child content can grow a view.
void pfViewBoxMeasure(GtkWidget*, GtkOrientation, int, int* minimum, int* natural, int* minBaseline,
                      int* natBaseline) {
  *minimum = *natural = 0;
  *minBaseline = *natBaseline = -1;
}

void pfViewBoxAllocate(GtkWidget* widget, int width, int height, int) {
  PfViewBox* self = asBox(widget);
  for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child)) {
    if (!gtk_widget_should_layout(child)) continue;
    auto* frame = static_cast<pf::Rect*>(g_object_get_qdata(G_OBJECT(child), frameQuark()));
    double x = 0, y = 0, w = width, h = height;
    if (frame) {
      x = frame->minX() - self->boundsX;
      y = frame->minY() - self->boundsY;
      w = frame->width();
      h = frame->height();
    }
    int cw = std::max(0, int(std::lround(w))), ch = std::max(0, int(std::lround(h)));
    // GTK wants every child measured before it is allocated. A framed child gets its frame;
    // content fills the box, unless it asks to be aligned (an image at its point size).
    int minW = 0, natW = 0, minH = 0, natH = 0;
    gtk_widget_measure(child, GTK_ORIENTATION_HORIZONTAL, -1, &minW, &natW, nullptr, nullptr);
    if (!frame && gtk_widget_get_halign(child) != GTK_ALIGN_FILL && natW < cw) {
      x += gtk_widget_get_halign(child) == GTK_ALIGN_CENTER ? (cw - natW) / 2.0
           : gtk_widget_get_halign(child) == GTK_ALIGN_END  ? cw - natW
                                                             : 0;
      cw = natW;
    }
    gtk_widget_measure(child, GTK_ORIENTATION_VERTICAL, cw, &minH, &natH, nullptr, nullptr);
    if (!frame && gtk_widget_get_valign(child) != GTK_ALIGN_FILL && natH < ch) {
      y += gtk_widget_get_valign(child) == GTK_ALIGN_CENTER ? (ch - natH) / 2.0
           : gtk_widget_get_valign(child) == GTK_ALIGN_END  ? ch - natH
                                                             : 0;
      ch = natH;
    }
    graphene_point_t at = GRAPHENE_POINT_INIT(float(x), float(y));
    gtk_widget_allocate(child, cw, ch, -1, gsk_transform_translate(nullptr, &at));
  }
}

void pfViewBoxSnapshot(GtkWidget* widget, GtkSnapshot* snapshot) {
  PfViewBox* self = asBox(widget);
  if (self->background.alpha > 0) {
    graphene_rect_t r = GRAPHENE_RECT_INIT(0, 0, float(gtk_widget_get_width(widget)),
                                           float(gtk_widget_get_height(widget)));
    gtk_snapshot_append_color(snapshot, &self->background, &r);
  }
  for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child))
    gtk_widget_snapshot_child(widget, child, snapshot);
}

void pf_view_box_class_init(PfViewBoxClass* klass) {
  G_OBJECT_CLASS(klass)->dispose = pfViewBoxDispose;
  GtkWidgetClass* w = GTK_WIDGET_CLASS(klass);
  w->measure = pfViewBoxMeasure;
  w->size_allocate = pfViewBoxAllocate;
  w->snapshot = pfViewBoxSnapshot;
}

}  // namespace

namespace pf {

GtkWidget* GtkViewBox::create() { return GTK_WIDGET(g_object_new(pf_view_box_get_type(), nullptr)); }

bool GtkViewBox::isBox(GtkWidget* widget) {
  return widget && G_TYPE_CHECK_INSTANCE_TYPE(widget, pf_view_box_get_type());
}

void GtkViewBox::setChildFrame(GtkWidget* child, const Rect& frame) {
  g_object_set_qdata_full(G_OBJECT(child), frameQuark(), new Rect(frame),
                          [](gpointer p) { delete static_cast<Rect*>(p); });
  if (GtkWidget* parent = gtk_widget_get_parent(child)) gtk_widget_queue_allocate(parent);
}

std::optional<Rect> GtkViewBox::childFrame(GtkWidget* child) {
  auto* frame = static_cast<Rect*>(g_object_get_qdata(G_OBJECT(child), frameQuark()));
  return frame ? std::optional<Rect>(*frame) : std::nullopt;
}

void GtkViewBox::setBoundsOrigin(GtkWidget* box, Point origin) {
  PfViewBox* self = asBox(box);
  if (self->boundsX == origin.x && self->boundsY == origin.y) return;
  self->boundsX = origin.x;
  self->boundsY = origin.y;
  gtk_widget_queue_allocate(box);
}

void GtkViewBox::setBackground(GtkWidget* box, const Color& c) {
  asBox(box)->background = GdkRGBA{float(c.red), float(c.green), float(c.blue), float(c.alpha)};
  gtk_widget_queue_draw(box);
}

void GtkViewBox::insertChild(GtkWidget* box, GtkWidget* child, GtkWidget* sibling) {
  gtk_widget_insert_before(child, box, sibling);
}

void GtkViewBox::insertContent(GtkWidget* box, GtkWidget* child) {
  // Content goes beneath subviews: after the content already there, before the first framed child.
  GtkWidget* before = gtk_widget_get_first_child(box);
  while (before && !childFrame(before)) before = gtk_widget_get_next_sibling(before);
  gtk_widget_insert_before(child, box, before);
}

}  // namespace pf
