#include "platform/gtk/GtkStyleSheet.h"

#include <gtk/gtk.h>

namespace pf {
namespace {
const char kStyle[] = R"css(
window.pf-window { background: black; }
.pf-status-bar { background: black; color: white; font-size: 12px; font-weight: bold;
                 padding: 0 6px; min-height: 20px; }
.pf-tab-bar { background: linear-gradient(#3c3c3c, #141414); }
.pf-tab-bar button.pf-tab { color: #9a9a9a; padding: 2px; border-radius: 4px; min-height: 0; }
.pf-tab-bar button.pf-tab.pf-selected { color: white; background: rgba(255, 255, 255, 0.16); }
.pf-tab-title { font-size: 10px; font-weight: bold; }
.pf-toolbar { background: linear-gradient(#b0bccd, #6d83a1); }
.pf-toolbar button { color: white; min-height: 0; min-width: 0; padding: 2px 4px; }
.pf-toolbar button:disabled { opacity: 0.35; }
.pf-toolbar button:not(.flat) { background: linear-gradient(#4a82e2, #1f5bc4); border: 1px solid rgba(0, 0, 0, 0.5);
                                border-radius: 5px; font-weight: bold; box-shadow: none; }
.pf-button { color: #1f3f6e; font-weight: bold; }
.pf-spinner-white { color: white; }
.pf-spinner-gray { color: #7f7f7f; }
window.pf-alert { background: rgba(24, 40, 78, 0.96); color: white; border-radius: 10px; }
.pf-alert-body { padding: 14px; }
.pf-alert-title { font-weight: bold; font-size: 15px; }
window.pf-alert button { background: rgba(255, 255, 255, 0.22); color: white; border-radius: 6px; }
window.pf-alert button.pf-alert-cancel { background: rgba(0, 0, 0, 0.35); }
.pf-mail-form { background: white; }
.pf-mail-bar { background: linear-gradient(#b0bccd, #6d83a1); padding: 4px; }
)css";
}  // namespace

void GtkStyleSheet::install() {
  static bool installed = false;
  GdkDisplay* display = gdk_display_get_default();
  if (installed || !display) return;
  installed = true;
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kStyle, -1);
  gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(css),
                                             GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

}  // namespace pf
