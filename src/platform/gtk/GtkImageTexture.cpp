#include "platform/gtk/GtkImageTexture.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Log.h"

namespace {

// A texture whose intrinsic size is the image's size in points, not its pixels: GTK lays it
// out at that size and draws all its pixels into it (sharp where the monitor's scale matches).
struct PfPointTexture {
  GObject parent_instance;
  GdkTexture* texture;
  int width;
  int height;
};
struct PfPointTextureClass {
  GObjectClass parent_class;
};

void pfPointTexturePaintableInit(GdkPaintableInterface* iface);
G_DEFINE_TYPE_WITH_CODE(PfPointTexture, pf_point_texture, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(GDK_TYPE_PAINTABLE, pfPointTexturePaintableInit))

PfPointTexture* asPointTexture(gpointer p) {
  return G_TYPE_CHECK_INSTANCE_CAST(p, pf_point_texture_get_type(), PfPointTexture);
}

void pf_point_texture_init(PfPointTexture* self) {
  self->texture = nullptr;
  self->width = self->height = 0;
}

void pfPointTextureFinalize(GObject* object) {
  g_clear_object(&asPointTexture(object)->texture);
  G_OBJECT_CLASS(pf_point_texture_parent_class)->finalize(object);
}

void pf_point_texture_class_init(PfPointTextureClass* klass) { G_OBJECT_CLASS(klass)->finalize = pfPointTextureFinalize; }

void pfPointTexturePaintableInit(GdkPaintableInterface* iface) {
  iface->snapshot = [](GdkPaintable* p, GdkSnapshot* snapshot, double w, double h) {
    gdk_paintable_snapshot(GDK_PAINTABLE(asPointTexture(p)->texture), snapshot, w, h);
  };
  iface->get_flags = [](GdkPaintable*) {
    return GdkPaintableFlags(GDK_PAINTABLE_STATIC_SIZE | GDK_PAINTABLE_STATIC_CONTENTS);
  };
  iface->get_intrinsic_width = [](GdkPaintable* p) { return asPointTexture(p)->width; };
  iface->get_intrinsic_height = [](GdkPaintable* p) { return asPointTexture(p)->height; };
}

}  // namespace

namespace pf {

GObjectRef<GdkTexture> GtkImageTexture::texture(const Image& image) {
  GBytes* bytes = g_bytes_new(image.data().data(), image.data().size());
  GError* error = nullptr;
  GdkTexture* texture = gdk_texture_new_from_bytes(bytes, &error);
  g_bytes_unref(bytes);
  if (!texture) {
    Log::message(std::string("image: cannot decode: ") + (error ? error->message : "unknown"));
    g_clear_error(&error);
    return {};
  }
  auto out = GObjectRef<GdkTexture>::adopt(texture);
  Size want = image.pixelSize();
  if (int(want.width) == gdk_texture_get_width(texture) && int(want.height) == gdk_texture_get_height(texture))
    return out;
  // Redrawn to another pixel size: resample through a pixbuf, as phone code redraws.
  GInputStream* stream = g_memory_input_stream_new_from_data(image.data().data(), gssize(image.data().size()), nullptr);
  GdkPixbuf* scaled = gdk_pixbuf_new_from_stream_at_scale(stream, int(std::lround(want.width)),
                                                          int(std::lround(want.height)), FALSE, nullptr, &error);
  g_object_unref(stream);
  if (!scaled) {
    g_clear_error(&error);
    return out;  // the bitmap at its own size is better than nothing
  }
  auto resampled = GObjectRef<GdkTexture>::adopt(gdk_texture_new_for_pixbuf(scaled));
  g_object_unref(scaled);
  return resampled;
}

GtkWidget* GtkImageTexture::picture(const Image& image) {
  auto tex = texture(image);
  Size points = image.size();
  GdkPaintable* paintable = nullptr;
  if (tex) {
    auto* sized = asPointTexture(g_object_new(pf_point_texture_get_type(), nullptr));
    sized->texture = GDK_TEXTURE(g_object_ref(tex.get()));
    sized->width = std::max(1, int(std::lround(points.width)));
    sized->height = std::max(1, int(std::lround(points.height)));
    paintable = GDK_PAINTABLE(sized);
  }
  GtkWidget* pic = gtk_picture_new_for_paintable(paintable);
  if (paintable) g_object_unref(paintable);
  gtk_picture_set_can_shrink(GTK_PICTURE(pic), TRUE);
  gtk_widget_set_halign(pic, GTK_ALIGN_CENTER);
  gtk_widget_set_valign(pic, GTK_ALIGN_CENTER);
  return pic;
}

}  // namespace pf
