#include "Snapshot.h"

#include <set>
#include <vector>

namespace shots {

GdkTexture* render(GtkWidget* widget) {
  int w = gtk_widget_get_width(widget), h = gtk_widget_get_height(widget);
  GtkNative* native = gtk_widget_get_native(widget);
  if (w <= 0 || h <= 0 || !native) return nullptr;
  GdkPaintable* paintable = gtk_widget_paintable_new(widget);
  GtkSnapshot* snap = gtk_snapshot_new();
  gdk_paintable_snapshot(paintable, GDK_SNAPSHOT(snap), w, h);
  GskRenderNode* node = gtk_snapshot_free_to_node(snap);
  g_object_unref(paintable);
  if (!node) return nullptr;
  graphene_rect_t viewport = GRAPHENE_RECT_INIT(0, 0, float(w), float(h));
  GdkTexture* texture = gsk_renderer_render_texture(gtk_native_get_renderer(native), node, &viewport);
  gsk_render_node_unref(node);
  return texture;
}

Snapshot save(GdkTexture* texture, const std::string& path) {
  Snapshot result;
  if (!texture) {
    result.error = "nothing rendered";
    return result;
  }
  result.width = gdk_texture_get_width(texture);
  result.height = gdk_texture_get_height(texture);
  result.saved = gdk_texture_save_to_png(texture, path.c_str());
  if (!result.saved) result.error = "cannot write " + path;
  std::vector<guchar> pixels(size_t(result.width) * size_t(result.height) * 4);
  gdk_texture_download(texture, pixels.data(), gsize(result.width) * 4);
  std::set<guint32> colours;
  for (size_t i = 0; i + 3 < pixels.size(); i += 4 * 7)
    colours.insert(guint32(pixels[i]) << 16 | guint32(pixels[i + 1]) << 8 | pixels[i + 2]);
  result.colours = colours.size();
  g_object_unref(texture);
  return result;
}

}  // namespace shots
