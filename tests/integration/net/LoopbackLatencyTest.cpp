// Loopback latency of a small GET: through pf::URLConnection (run loop, exchange, delegate)
// against libsoup alone (soup_session_send_and_read_async), same server, same process, same
// main context. Prints both medians; asserts only that every load succeeded.
#include <algorithm>

#include "DesktopFixture.h"
#include "LoopbackServer.h"

namespace {

constexpr int kRounds = 50;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

class LoopbackLatencyTest : public DesktopFixture {
 protected:
  LoopbackServer server_;
};

TEST_F(LoopbackLatencyTest, SmallGetThroughURLConnectionAndThroughLibsoupAlone) {
  server_.handle("/small", [](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 200, "ok", {{"Content-Type", "text/plain"}});
  });
  const std::string url = server_.url("/small");

  std::vector<double> viaConnection;
  for (int i = 0; i < kRounds + 1; ++i) {
    auto recorder = std::make_shared<NetRecorder>();
    const double start = pf::Clock::monotonic();
    load(request(url), recorder);
    ASSERT_EQ(recorder->calls.back(), "finish");
    if (i > 0) viaConnection.push_back(recorder->endedAt - start);  // the first one connects
  }

  SoupSession* session = soup_session_new();
  std::vector<double> direct;
  for (int i = 0; i < kRounds + 1; ++i) {
    struct Result {
      bool done = false;
      gsize size = 0;
    } result;
    SoupMessage* message = soup_message_new("GET", url.c_str());
    const double start = pf::Clock::monotonic();
    soup_session_send_and_read_async(
        session, message, G_PRIORITY_DEFAULT, nullptr,
        [](GObject* source, GAsyncResult* res, gpointer data) {
          auto* r = static_cast<Result*>(data);
          GBytes* bytes = soup_session_send_and_read_finish(SOUP_SESSION(source), res, nullptr);
          if (bytes) {
            r->size = g_bytes_get_size(bytes);
            g_bytes_unref(bytes);
          }
          r->done = true;
        },
        &result);
    ASSERT_TRUE(runMainContextUntil([&] { return result.done; }));
    const double elapsed = pf::Clock::monotonic() - start;
    g_object_unref(message);
    ASSERT_EQ(result.size, 2u);
    if (i > 0) direct.push_back(elapsed);
  }
  g_object_unref(session);

  const double a = median(viaConnection) * 1e6, b = median(direct) * 1e6;
  std::printf("[ latency  ] median of %d small GETs on 127.0.0.1: URLConnection %.0f us, "
              "libsoup alone %.0f us (ratio %.2f)\n", kRounds, a, b, a / b);
  RecordProperty("url_connection_us", static_cast<int>(a));
  RecordProperty("libsoup_direct_us", static_cast<int>(b));
}

}  // namespace
