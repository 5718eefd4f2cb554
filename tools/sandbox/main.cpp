// ashenmoor-sandbox: the content site, the ad core script host and a test ad server on
// loopback, so the application runs without internet. See README.md beside this file.

#include "SandboxServer.h"

#include <glib-unix.h>

#include <cstdio>

int main(int argc, char** argv) {
  SandboxOptions options;
  std::string error;
  std::string creatives;
  {
    WwwRoot anywhere("");  // the catalogue reads no file until a creative is rendered
    creatives = SandboxServer::creativesHelp(CreativeCatalogue(anywhere));
  }
  if (!options.parse(argc, argv, creatives, &error)) {
    std::fprintf(stderr, "ashenmoor-sandbox: %s (try --help)\n", error.c_str());
    return 2;
  }
  std::string www = WwwRoot::locate(options.www);
  if (!g_file_test((www + "/static/vize/sdk-core-v40.js").c_str(), G_FILE_TEST_IS_REGULAR)) {
    std::fprintf(stderr, "ashenmoor-sandbox: no www folder at %s (set --www or ASHENMOOR_SANDBOX_WWW)\n",
                 www.c_str());
    return 2;
  }

  g_autoptr(GMainLoop) loop = g_main_loop_new(nullptr, FALSE);
  int status = 0;
  {
    // Handlers first: a test may send SIGTERM as soon as it reads the ready line.
    auto quit = [](gpointer data) -> gboolean {
      g_main_loop_quit(static_cast<GMainLoop*>(data));
      return G_SOURCE_CONTINUE;
    };
    guint sigint = g_unix_signal_add(SIGINT, quit, loop);
    guint sigterm = g_unix_signal_add(SIGTERM, quit, loop);
    SandboxServer server(options, www);
    g_autoptr(GError) listenError = nullptr;
    if (!server.start(&listenError)) {
      std::fprintf(stderr, "ashenmoor-sandbox: cannot listen: %s\n",
                   listenError ? listenError->message : "unknown error");
      status = 1;
    }
    if (status == 0) {
      std::printf("%s\n", server.readyLine().c_str());
      std::fflush(stdout);
      std::fprintf(stderr, "ashenmoor-sandbox: serving %s; dashboard at http://%s:%s/\n", www.c_str(),
                   options.host.c_str(), server.readyLine().substr(server.readyLine().rfind('=') + 1).c_str());
      g_main_loop_run(loop);
      server.stop();
      std::fprintf(stderr, "ashenmoor-sandbox: stopped\n");
    }

    g_source_remove(sigint);
    g_source_remove(sigterm);
  }
  return status;
}
