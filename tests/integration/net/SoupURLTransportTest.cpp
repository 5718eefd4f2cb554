// pf::SoupURLTransport through pf::URLConnection against servers on 127.0.0.1: what reaches
// the delegate, what reaches the server, and every way a load can end.
#include <gio/gio.h>

#include <random>

#include "DesktopNetTest.h"
#include "LoopbackServer.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLError.h"

namespace {

using Lines = std::vector<std::string>;
using NetRecorder = RecordingConnectionDelegate;

class SoupURLTransportTest : public DesktopNetTest {
 protected:
  static std::shared_ptr<NetRecorder> newRecorder() { return std::make_shared<NetRecorder>(true); }
  LoopbackServer server_;
};

std::string gzip(const std::string& text) {
  GZlibCompressor* compressor = g_zlib_compressor_new(G_ZLIB_COMPRESSOR_FORMAT_GZIP, -1);
  std::string out(text.size() + 128, '\0');
  gsize read = 0, written = 0;
  g_converter_convert(G_CONVERTER(compressor), text.data(), text.size(), out.data(), out.size(),
                      G_CONVERTER_INPUT_AT_END, &read, &written, nullptr);
  g_object_unref(compressor);
  out.resize(written);
  return out;
}


TEST_F(SoupURLTransportTest, ResponseHeadersAndAStreamedBodyArriveInOrder) {
  server_.handle("/hello", [&](SoupServerMessage* m, const ServerRequest&) {
    soup_message_headers_append(soup_server_message_get_response_headers(m), "X-Episode", "7");
    soup_message_headers_append(soup_server_message_get_response_headers(m), "Content-Type",
                                "text/html; charset=utf-8");
    server_.stream(m, {"<p>alpha", " beta", " gamma</p>"}, 20);
  });
  auto recorder = newRecorder();
  load(request(server_.url("/hello")), recorder);

  EXPECT_EQ(recorder->calls,
            (Lines{"will GET " + server_.url("/hello"), "response 200", "data", "finish"}));
  EXPECT_EQ(recorder->body(), "<p>alpha beta gamma</p>");
  EXPECT_GE(recorder->dataCalls, 3u) << "chunks are handed on as they arrive, not gathered";
  const pf::URLResponse& response = recorder->responses.at(0);
  EXPECT_EQ(response.url().absoluteString(), server_.url("/hello"));
  EXPECT_EQ(response.valueForHTTPHeaderField("x-episode"), "7");
  EXPECT_EQ(response.mimeType(), "text/html");
}

TEST_F(SoupURLTransportTest, BodyThatIsNotTextArrivesByteForByte) {
  std::string bytes(300 * 1024, '\0');
  std::mt19937 random(7);
  for (auto& b : bytes) b = static_cast<char>(random());
  bytes[0] = '\xff';  // never valid UTF-8
  bytes[1] = '\0';
  server_.answer("/blob", 200, bytes, {{"Content-Type", "application/octet-stream"}});
  auto recorder = newRecorder();
  load(request(server_.url("/blob")), recorder);

  ASSERT_EQ(recorder->calls.back(), "finish");
  EXPECT_EQ(recorder->responses.at(0).expectedContentLength(), 300 * 1024);
  EXPECT_TRUE(recorder->body() == bytes) << "got " << recorder->body().size() << " bytes";
}

// Other statuses are responses, not errors; an answer without a body ends with "finish", even
// when it announces a Content-Length (a 304, a HEAD): that is no body cut short.
TEST_F(SoupURLTransportTest, OtherStatusesAndAnswersWithoutABodyEndWithFinish) {
  server_.answer("/empty", 204);
  server_.answer("/broken", 500, "oops");
  server_.answer("/core.js", 304, {}, {{"Content-Length", "1234"}});  // the unsent body's
  server_.answer("/big", 200, std::string(5000, 'x'));
  const struct {
    const char* method;
    const char* path;
    int status;
    const char* body;
  } kCases[] = {
      {"GET", "/empty", 204, ""},  {"GET", "/missing", 404, "no such page"}, {"GET", "/broken", 500, "oops"},
      {"GET", "/core.js", 304, ""}, {"HEAD", "/big", 200, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.path);
    auto r = request(server_.url(c.path));
    r.setHTTPMethod(c.method);
    auto recorder = newRecorder();
    load(r, recorder);
    EXPECT_EQ(recorder->calls.at(1), "response " + std::to_string(c.status));
    EXPECT_EQ(recorder->calls.back(), "finish");
    EXPECT_EQ(recorder->calls.size(), *c.body ? 4u : 3u) << "a data call without a body";
    EXPECT_EQ(recorder->body(), c.body);
  }
}

TEST_F(SoupURLTransportTest, CompressedBodiesArriveDecoded) {
  // A tiny body compresses to more bytes than it has: decoded length must not be compared
  // with the wire's Content-Length.
  for (const std::string& text : {std::string("hi"), std::string(40000, 'a')}) {
    server_.answer("/z", 200, gzip(text), {{"Content-Encoding", "gzip"}});
    auto recorder = newRecorder();
    load(request(server_.url("/z")), recorder);
    EXPECT_EQ(recorder->calls.back(), "finish") << text.size();
    EXPECT_EQ(recorder->body(), text);
  }
}


TEST_F(SoupURLTransportTest, MethodHeadersBodyAndUserAgentReachTheServerAsGiven) {
  pf::HTTPSettings::setUserAgent("Mozilla/5.0 (iPhone; Ashenmoor test) Mobile/7E18");
  auto r = request(server_.url("/form"));
  r.setHTTPMethod("POST");
  r.setHTTPBody("a=1&b=%20");
  r.setValueForHTTPHeaderField("application/x-www-form-urlencoded", "Content-Type");
  r.setValueForHTTPHeaderField("Thu, 01 Jan 2026 10:00:00 GMT", "If-Modified-Since");
  r.setValueForHTTPHeaderField("v40", "X-Vize-Sdk");
  load(r, newRecorder());

  ASSERT_EQ(server_.requests().size(), 1u);
  const ServerRequest& seen = server_.requests()[0];
  EXPECT_EQ(seen.method, "POST");
  EXPECT_EQ(seen.body, "a=1&b=%20");
  EXPECT_EQ(seen.headers.value("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(seen.headers.value("Content-Length"), "9");
  EXPECT_EQ(seen.headers.value("If-Modified-Since"), "Thu, 01 Jan 2026 10:00:00 GMT");
  EXPECT_EQ(seen.headers.value("X-Vize-Sdk"), "v40");
  EXPECT_EQ(seen.headers.value("User-Agent"), "Mozilla/5.0 (iPhone; Ashenmoor test) Mobile/7E18");
}

// Redirects: each hop is the connection's decision (URLConnectionTest); the transport
// follows none itself.

TEST_F(SoupURLTransportTest, TheTransportFollowsNoRedirectItself) {
  server_.answer("/r1", 302, "moved", {{"Location", "/r2?step=2"}});
  server_.answer("/r2", 301, "", {{"Location", server_.url("/final")}});
  server_.answer("/final", 200, "arrived");
  auto r = newRecorder();
  load(request(server_.url("/r1")), r);
  EXPECT_EQ(r->calls, (Lines{"will GET " + server_.url("/r1"), "will GET " + server_.url("/r2?step=2") + " after 302",
                             "will GET " + server_.url("/final") + " after 301", "response 200", "data", "finish"}));
  EXPECT_EQ(r->body(), "arrived");
  for (const char* path : {"/r1", "/r2", "/final"}) EXPECT_EQ(server_.requestsFor(path), 1u) << path;
}


// Answers cut short, whatever the framing: libsoup ends some of them quietly with a short
// body; each must be a lost connection, after what did arrive.
TEST_F(SoupURLTransportTest, AnAnswerCutShortIsAConnectionLost) {
  const std::string zipped = gzip(std::string(20000, 'q') + "tail");
  static const std::string kLength = "Content-Length: 100\r\nContent-Type: text/plain\r\n\r\n0123456789";
  const struct {
    std::string raw;
    std::string body;  // what arrives before the loss
  } cases[] = {
      {"HTTP/1.1 200 OK\r\n" + kLength, "0123456789"},
      {"HTTP/1.1 200 OK\r\nConnection: close\r\n" + kLength, "0123456789"},
      {"HTTP/1.0 200 OK\r\n" + kLength, "0123456789"},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\na\r\nwor", "hello"},
      {"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " + std::to_string(zipped.size()) +
           "\r\n\r\n" + zipped.substr(0, zipped.size() / 2), ""},
      {"", ""},  // a hang-up without an answer
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raw.substr(0, c.raw.find('\r')));
    server_.handle("/cut", [&](SoupServerMessage* m, const ServerRequest&) { LoopbackServer::replyRawAndClose(m, c.raw); });
    auto r = newRecorder();
    load(request(server_.url("/cut")), r);
    EXPECT_EQ(r->calls.back(), "fail " + std::to_string(pf::URLError::NetworkConnectionLost));
    ASSERT_TRUE(r->error);
    EXPECT_EQ(r->error->domain(), pf::kURLErrorDomain);
    EXPECT_EQ(r->body().substr(0, c.body.size()), c.body);
  }
}

TEST_F(SoupURLTransportTest, NothingListeningIsCannotConnect) {
  const std::string url = "http://127.0.0.1:" + std::to_string(LoopbackServer::unusedPort()) + "/x";
  auto recorder = newRecorder();
  load(request(url), recorder);
  EXPECT_EQ(recorder->calls,
            (Lines{"will GET " + url, "fail " + std::to_string(pf::URLError::CannotConnectToHost)}));
  ASSERT_TRUE(recorder->error);
  EXPECT_EQ(recorder->error->userInfo()[pf::kErrorFailingURLStringKey].asString(), url);
  EXPECT_TRUE(recorder->error->underlyingError()) << "the GIO error is kept for the logs";
}

TEST_F(SoupURLTransportTest, SlowAnswerTimesOutAtTheRequestsInterval) {
  server_.handle("/slow", [&](SoupServerMessage* m, const ServerRequest&) {
    server_.stream(m, std::vector<std::string>(8, "late "), 400);  // first byte at 0.4 s
  });
  auto recorder = newRecorder();
  const double start = pf::Clock::monotonic();
  load(request(server_.url("/slow"), 0.3), recorder);
  EXPECT_EQ(recorder->calls.back(), "fail " + std::to_string(pf::URLError::TimedOut));
  EXPECT_GE(recorder->endedAt - start, 0.3);
  EXPECT_LT(recorder->endedAt - start, 0.9);
  // The server notices once its writes fail (the first one after the hang-up may not).
  EXPECT_TRUE(runMainContextUntil([&] { return server_.disconnects() == 1; }, 3.0))
      << "the timed-out exchange lets go of its connection";
}


TEST_F(SoupURLTransportTest, CancelMidBodyHearsNothingMoreAndDropsTheConnection) {
  server_.handle("/long", [&](SoupServerMessage* m, const ServerRequest&) {
    server_.stream(m, std::vector<std::string>(20, "chunk "), 30);
  });
  auto recorder = newRecorder();
  recorder->onData = [](pf::URLConnection& c) { c.cancel(); };
  auto connection = pf::URLConnection::create(request(server_.url("/long")), recorder);
  ASSERT_TRUE(runMainContextUntil([&] { return recorder->dataCalls == 1; }));
  EXPECT_TRUE(runMainContextUntil([&] { return server_.disconnects() == 1; }, 2.0));
  runMainContextFor(0.2);
  EXPECT_EQ(recorder->calls, (Lines{"will GET " + server_.url("/long"), "response 200", "data"}));
  EXPECT_EQ(recorder->dataCalls, 1u);
}

TEST_F(SoupURLTransportTest, CancelBeforeTheAnswerHangsUpAtOnce) {
  server_.handle("/wait", [this](SoupServerMessage* m, const ServerRequest&) { server_.holdSilently(m); });
  auto r = newRecorder();
  auto connection = pf::URLConnection::create(request(server_.url("/wait")), r);
  ASSERT_TRUE(runMainContextUntil([&] { return server_.requestsFor("/wait") == 1; }));
  connection->cancel();
  EXPECT_TRUE(runMainContextUntil([&] { return server_.disconnects() == 1; }, 2.0));
  EXPECT_EQ(r->calls, (Lines{"will GET " + server_.url("/wait")}));
}

TEST_F(SoupURLTransportTest, TransportReplacedMidLoadStillEndsTheLoad) {
  server_.handle("/long", [&](SoupServerMessage* m, const ServerRequest&) {
    server_.stream(m, {"a", "b", "c"}, 30);
  });
  auto recorder = newRecorder();
  auto connection = pf::URLConnection::create(request(server_.url("/long")), recorder);
  ASSERT_TRUE(runMainContextUntil([&] { return recorder->dataCalls >= 1; }));
  pf::URLTransport::install(nullptr);
  parts_.transport.reset();  // the session goes with its last exchange
  ASSERT_TRUE(runMainContextUntil([&] { return recorder->ended(); }));
  EXPECT_EQ(recorder->calls.back(), "finish");
  EXPECT_EQ(recorder->body(), "abc");
}

}  // namespace
