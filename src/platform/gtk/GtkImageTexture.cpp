#include "platform/gtk/GtkImageTexture.h"

#include <cmath>

#include "platform/base/Log.h"

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
  // Redrawn to another pixel size: resample through a pixbuf, as the original redrew.
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
  GtkWidget* pic = gtk_picture_new_for_paintable(tex ? GDK_PAINTABLE(tex.get()) : nullptr);
  gtk_picture_set_can_shrink(GTK_PICTURE(pic), TRUE);
  Size points = image.size();
  gtk_widget_set_size_request(pic, int(std::lround(points.width)), int(std::lround(points.height)));
  gtk_widget_set_halign(pic, GTK_ALIGN_CENTER);
  gtk_widget_set_valign(pic, GTK_ALIGN_CENTER);
  return pic;
}

}  // namespace pf
