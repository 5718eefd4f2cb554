// A small GET on 127.0.0.1, through pf::URLConnection (run loop, exchange, delegate) against
// libsoup alone (soup_session_send_and_read_async): same server, same process, same main
// context, so the ratio is what the connection layer costs. Every load must succeed.
//   bench_loopback --benchmark_repetitions=5
#include <benchmark/benchmark.h>
#include <libsoup/soup.h>

#include <cstdlib>
#include <memory>

#include "platform/base/FileManager.h"
#include "platform/gtk/DesktopPlatform.h"
#include "platform/net/URLConnection.h"
#include "platform/sim/SimHome.h"

namespace {

// One server for the whole run: "/small" answers "ok".
const std::string& smallURL() {
  static const std::string url = [] {
    SoupServer* server = soup_server_new(nullptr, nullptr);
    soup_server_listen_local(server, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, nullptr);
    soup_server_add_handler(
        server, "/small",
        [](SoupServer*, SoupServerMessage* m, const char*, GHashTable*, gpointer) {
          soup_server_message_set_status(m, 200, nullptr);
          soup_server_message_set_response(m, "text/plain", SOUP_MEMORY_STATIC, "ok", 2);
        },
        nullptr, nullptr);
    GSList* uris = soup_server_get_uris(server);
    std::string text = "http://127.0.0.1:" + std::to_string(g_uri_get_port(static_cast<GUri*>(uris->data))) + "/small";
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    return text;
  }();
  return url;
}

void runUntil(const bool& done) {
  for (int i = 0; !done && i < 1000000; ++i) g_main_context_iteration(nullptr, TRUE);
}

struct Finished : pf::URLConnectionDelegate {
  bool done = false, ok = false;
  void connectionDidFinishLoading(pf::URLConnection&) override { done = ok = true; }
  void connectionDidFailWithError(pf::URLConnection&, const pf::Error&) override { done = true; }
};

void BM_URLConnection(benchmark::State& state) {
  const auto request = pf::URLRequest(*pf::Url::parse(smallURL()));
  for (auto _ : state) {
    auto delegate = std::make_shared<Finished>();
    auto connection = pf::URLConnection::create(request, delegate);
    runUntil(delegate->done);
    if (!delegate->ok) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_URLConnection)->Unit(benchmark::kMicrosecond);

void BM_LibsoupAlone(benchmark::State& state) {
  SoupSession* session = soup_session_new();
  for (auto _ : state) {
    struct Result {
      bool done = false;
      gsize size = 0;
    } result;
    SoupMessage* message = soup_message_new("GET", smallURL().c_str());
    soup_session_send_and_read_async(
        session, message, G_PRIORITY_DEFAULT, nullptr,
        [](GObject* source, GAsyncResult* res, gpointer data) {
          auto* r = static_cast<Result*>(data);
          if (GBytes* bytes = soup_session_send_and_read_finish(SOUP_SESSION(source), res, nullptr)) {
            r->size = g_bytes_get_size(bytes);
            g_bytes_unref(bytes);
          }
          r->done = true;
        },
        &result);
    runUntil(result.done);
    g_object_unref(message);
    if (result.size != 2) state.SkipWithError("load failed");
  }
  g_object_unref(session);
}
BENCHMARK(BM_LibsoupAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  pf::SimHome home;  // the cookie jar goes to a temporary data folder
  pf::DesktopPlatform::install();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pf::DesktopPlatform::uninstall();
  return 0;
}
