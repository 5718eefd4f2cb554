// banner-gtk: a GTK 4 application with a 320×50 banner ad under a text view. The application,
// its main loop and its window are its own; the ad layer attaches to them. The banner's
// delegate prints each of the six callbacks it hears on standard output. Its ads come from
// the Ashenmoor sandbox (start ashenmoor-sandbox first).
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <cstdio>
#include <memory>

#include <platform/gtk/DesktopEmbedding.h>
#include <platform/gtk/GtkViewHost.h>
#include <sdk/view/GADBannerView.h>

namespace {

class PrintingDelegate : public GADBannerViewDelegate {
 public:
  void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>&) override { say("adViewDidReceiveAd:"); }
  void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>&, const GADRequestError& e) override {
    std::printf("adView:didFailToReceiveAdWithError: %ld %s\n", e.code(), e.localizedDescription().c_str());
    std::fflush(stdout);
  }
  void adViewWillPresentScreen(const std::shared_ptr<GADBannerView>&) override { say("adViewWillPresentScreen:"); }
  void adViewWillDismissScreen(const std::shared_ptr<GADBannerView>&) override { say("adViewWillDismissScreen:"); }
  void adViewDidDismissScreen(const std::shared_ptr<GADBannerView>&) override { say("adViewDidDismissScreen:"); }
  void adViewWillLeaveApplication(const std::shared_ptr<GADBannerView>&) override {
    say("adViewWillLeaveApplication:");
  }

 private:
  static void say(const char* callback) {
    std::printf("%s\n", callback);
    std::fflush(stdout);
  }
};

// What lives as long as the application: the delegate (the banner does not retain it), the
// banner and the host that shows it in the window.
struct Page {
  std::shared_ptr<PrintingDelegate> delegate = std::make_shared<PrintingDelegate>();
  std::shared_ptr<GADBannerView> banner;
  std::shared_ptr<pf::GtkViewHost> host;
};

void activate(GtkApplication* app, gpointer data) {
  auto& page = *static_cast<Page*>(data);
  if (page.host) return;  // activated again: the window is there
  if (!pf::DesktopEmbedding::install(app)) return;

  GtkWidget* window = gtk_application_window_new(app);
  gtk_window_set_title(GTK_WINDOW(window), "Banner example");
  gtk_window_set_default_size(GTK_WINDOW(window), 320, 480);
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  GtkWidget* text = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(text), GTK_WRAP_WORD);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(text)),
                           "The publisher's own content. The banner below is an ad.", -1);
  gtk_widget_set_vexpand(text, TRUE);
  gtk_box_append(GTK_BOX(column), text);

  page.banner = GADBannerView::create({0, 0, 320, 50});
  page.banner->setAdUnitID("a15c0f3e82d9b47");
  page.banner->setDelegate(page.delegate);
  page.host = pf::GtkViewHost::create(page.banner);
  page.banner->setRootViewController(page.host->viewController());  // presents what a click opens
  gtk_widget_set_halign(page.host->widget(), GTK_ALIGN_CENTER);
  gtk_box_append(GTK_BOX(column), page.host->widget());

  gtk_window_set_child(GTK_WINDOW(window), column);
  gtk_window_present(GTK_WINDOW(window));
  page.banner->loadRequest(GADRequest::request());
}

gboolean quit(gpointer app) {
  g_application_quit(G_APPLICATION(app));
  return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char* argv[]) {
  // The ad layer's hosts: the sandbox's default ports, unless the environment names others.
  g_setenv("ASHENMOOR_SCRIPT_HOST", "127.0.0.1:47311", FALSE);
  g_setenv("ASHENMOOR_AD_HOST", "127.0.0.1:47312", FALSE);
  Page page;
  GtkApplication* app = gtk_application_new("org.example.BannerGtk", G_APPLICATION_DEFAULT_FLAGS);
  g_signal_connect(app, "activate", G_CALLBACK(activate), &page);
  for (int sig : {SIGTERM, SIGINT}) g_unix_signal_add(sig, quit, app);  // as closing the window
  int status = g_application_run(G_APPLICATION(app), argc, argv);
  g_object_unref(app);
  return status;
}
