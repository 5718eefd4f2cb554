// URLConnection over the sim transport: the delegate's order of calls, redirects, time-outs,
// cancellation and lifetimes.
#include "platform/net/URLConnection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordingConnectionDelegate.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLError.h"
#include "platform/sim/SimEnvironment.h"

using pf::SimResponse;
using pf::URLError;
using testing::ElementsAre;
using RecordingDelegate = RecordingConnectionDelegate;

namespace {

pf::Url url(const char* text) { return *pf::Url::parse(text); }

class URLConnectionTest : public testing::Test {
 protected:
  std::shared_ptr<pf::URLConnection> load(const char* text) {
    return pf::URLConnection::create(pf::URLRequest(url(text)), delegate);
  }

  pf::SimEnvironment sim;
  pf::SimClock& clock = sim.clock();
  pf::SimURLTransport& server = sim.http();
  std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};


TEST_F(URLConnectionTest, CallsComeInOrderOnLaterPassesAndTheConnectionLivesUntilTheEnd) {
  server.respond("http://h.example/a", SimResponse::ok("").chunked({"ab", "cd"}));
  std::weak_ptr<pf::URLConnection> weak = load("http://h.example/a");

  EXPECT_TRUE(delegate->calls.empty()) << "nothing from inside create()";
  ASSERT_FALSE(weak.expired()) << "a started connection keeps itself alive";
  EXPECT_EQ(pf::URLConnection::loadingCount(), 1u);

  clock.runUntilIdle();
  EXPECT_THAT(delegate->calls, ElementsAre("will GET http://h.example/a", "response 200", "data ab",
                                           "data cd", "finish"));
  EXPECT_TRUE(weak.expired()) << "the keep-alive ends with the load";
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
}

TEST_F(URLConnectionTest, NotStartedConnectionWaitsForStart) {
  server.respond("http://h.example/a", SimResponse::ok("x"));
  auto connection = pf::URLConnection::create(pf::URLRequest(url("http://h.example/a")), delegate,
                                              /*startImmediately=*/false);
  clock.runUntilIdle();
  EXPECT_TRUE(delegate->calls.empty());
  EXPECT_TRUE(server.requests().empty());

  connection->start();
  connection->start();  // a second start is no second load
  clock.runUntilIdle();
  EXPECT_THAT(delegate->calls,
              ElementsAre("will GET http://h.example/a", "response 200", "data x", "finish"));
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(URLConnectionTest, EachResponseRestartsTheBody) {
  server.respond("http://h.example/stream",
                  SimResponse::ok("old").thenReplacedBy(SimResponse::ok("").chunked({"ne", "w"})));
  load("http://h.example/stream");
  clock.runUntilIdle();
  EXPECT_THAT(delegate->calls,
              ElementsAre("will GET http://h.example/stream", "response 200", "data old",
                          "response 200", "data ne", "data w", "finish"));
  EXPECT_THAT(delegate->bodies, ElementsAre("old", "new"));
}

TEST_F(URLConnectionTest, NoTransportMeansNoConnection) {
  pf::URLTransport::install(nullptr);
  EXPECT_EQ(load("http://h.example/a"), nullptr);
}


TEST_F(URLConnectionTest, EachRedirectHopIsOfferedWithItsResponse) {
  server.respond("http://h.example/a", SimResponse::redirect(302, "/b?x=1"));
  server.respond("http://h.example/b?x=1", SimResponse::redirect(301, "http://other.example/c"));
  server.respond("http://other.example/c", SimResponse::ok("done"));
  std::vector<std::string> redirectURLs;
  delegate->onWillSend = [&](pf::URLConnection&, const pf::URLRequest& r,
                             const std::optional<pf::URLResponse>& redirect) {
    if (redirect) redirectURLs.push_back(redirect->url().absoluteString());
    return std::optional<pf::URLRequest>(r);
  };
  auto connection = load("http://h.example/a");
  clock.runUntilIdle();

  EXPECT_THAT(delegate->calls, ElementsAre("will GET http://h.example/a",
                                           "will GET http://h.example/b?x=1 after 302",
                                           "will GET http://other.example/c after 301",
                                           "response 200", "data done", "finish"));
  EXPECT_THAT(redirectURLs, ElementsAre("http://h.example/a", "http://h.example/b?x=1"));
  EXPECT_EQ(connection->currentRequest().url().absoluteString(), "http://other.example/c");
  EXPECT_EQ(connection->originalRequest().url().absoluteString(), "http://h.example/a");
}

TEST_F(URLConnectionTest, RequestChangedByTheDelegateIsWhatIsSentAtEveryHop) {
  server.respond("http://h.example/a", SimResponse::redirect(307, "/b"));
  server.respond("http://h.example/b", SimResponse::ok("x"));
  delegate->onWillSend = [](pf::URLConnection&, const pf::URLRequest& r,
                            const std::optional<pf::URLResponse>& redirect) {
    pf::URLRequest changed = r;
    if (!redirect)
      changed.setValueForHTTPHeaderField("Sat, 01 Jan 2011 00:00:00 GMT", "If-Modified-Since");
    else
      changed.setValueForHTTPHeaderField("1", "X-Hop");
    return std::optional<pf::URLRequest>(changed);
  };
  load("http://h.example/a");
  clock.runUntilIdle();

  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[0].valueForHTTPHeaderField("if-modified-since"),
            "Sat, 01 Jan 2011 00:00:00 GMT");
  EXPECT_FALSE(server.requests()[0].valueForHTTPHeaderField("X-Hop"));
  // Headers set on the first request stay on the redirected one.
  EXPECT_TRUE(server.requests()[1].valueForHTTPHeaderField("If-Modified-Since"));
  EXPECT_EQ(server.requests()[1].valueForHTTPHeaderField("x-hop"), "1");
}

// Every way a load can end, from its script and the delegate's answers.
TEST_F(URLConnectionTest, EachWayALoadEnds) {
  using Lines = std::vector<std::string>;
  auto refuseRedirects = [](pf::URLConnection&, const pf::URLRequest& r, const std::optional<pf::URLResponse>& redirect) {
    return redirect ? std::nullopt : std::optional<pf::URLRequest>(r);
  };
  auto refuseAll = [](pf::URLConnection&, const pf::URLRequest&, const std::optional<pf::URLResponse>&) {
    return std::optional<pf::URLRequest>();
  };
  // The ad layer's way of refusing: cancel inside the redirect offer, whatever it returns.
  auto cancelAtRedirect = [](pf::URLConnection& c, const pf::URLRequest& r,
                             const std::optional<pf::URLResponse>& redirect) {
    if (redirect) c.cancel();
    return std::optional<pf::URLRequest>(r);
  };
  const struct {
    const char* name;
    SimResponse response;  // for http://h.example/a
    decltype(RecordingDelegate::onWillSend) onWillSend;
    Lines calls;      // after "will GET http://h.example/a"; with `lastOnly`, the last one
    size_t requests;  // sent to the server
    bool lastOnly = false;
  } cases[] = {
      {"a refused redirect is the answer, with its body", SimResponse::redirect(302, "/b").chunked({"moved"}),
       refuseRedirects, {"will GET http://h.example/b after 302", "response 302", "data moved", "finish"}, 1},
      {"a refused first request stops silently", SimResponse::ok("x"), refuseAll, {}, 0},
      {"a cancel inside a redirect offer ends everything", SimResponse::redirect(302, "http://elsewhere.example/"),
       cancelAtRedirect, {"will GET http://elsewhere.example/ after 302"}, 1},
      {"a redirect without Location is an answer", SimResponse::withStatus(302, "no location"), nullptr,
       {"response 302", "data no location", "finish"}, 1},
      {"a redirect to another scheme is unsupported", SimResponse::redirect(302, "market://details?id=1"), nullptr,
       {"will GET market://details?id=1 after 302", "fail -1002"}, 1},
      {"a redirect loop stops at the hop limit", SimResponse::redirect(302, "/a"), nullptr, {"fail -1007"},
       size_t(pf::URLConnection::kMaximumRedirects) + 1, true},
      {"a connection lost mid-body fails without finish",
       SimResponse::ok("").chunked({"a", "b", "c"}).losingConnectionAfter(2), nullptr,
       {"response 200", "data a", "data b", "fail -1005"}, 1},
      {"a failure is passed on", SimResponse::failure(URLError::CannotFindHost).after(1), nullptr, {"fail -1003"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.clearScript();
    server.respond("http://h.example/a", c.response);
    server.respond("http://h.example/b", SimResponse::ok("never"));
    auto d = std::make_shared<RecordingDelegate>();
    d->onWillSend = c.onWillSend;
    const size_t before = server.requests().size();
    pf::URLConnection::create(pf::URLRequest(url("http://h.example/a")), d);
    clock.advance(5);
    Lines expected{"will GET http://h.example/a"};
    expected.insert(expected.end(), c.calls.begin(), c.calls.end());
    if (c.lastOnly)
      EXPECT_EQ(d->calls.back(), c.calls.back());
    else
      EXPECT_EQ(d->calls, expected);
    EXPECT_EQ(server.requests().size() - before, c.requests);
    if (d->error) {
      EXPECT_EQ(d->error->domain(), pf::kURLErrorDomain);
      EXPECT_TRUE(d->error->userInfo()[pf::kErrorFailingURLStringKey].isString());
    }
    EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
  }
}

TEST_F(URLConnectionTest, SeeOtherAfterPostTurnsIntoAGetWithoutBody) {
  server.respond("http://h.example/form", SimResponse::redirect(303, "/thanks"));
  server.respond("http://h.example/thanks", SimResponse::ok("ok"));
  pf::URLRequest post(url("http://h.example/form"));
  post.setHTTPMethod("POST");
  post.setHTTPBody("a=1");
  post.setValueForHTTPHeaderField("application/x-www-form-urlencoded", "Content-Type");
  pf::URLConnection::create(post, delegate);
  clock.runUntilIdle();
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[0].httpBody(), "a=1");
  EXPECT_EQ(server.requests()[1].httpMethod(), "GET");
  EXPECT_EQ(server.requests()[1].httpBody(), "");
  EXPECT_FALSE(server.requests()[1].valueForHTTPHeaderField("Content-Type"));
}


TEST_F(URLConnectionTest, SilenceLongerThanTheTimeoutFails) {
  server.respond("http://slow.example/", SimResponse::ok("late").after(10));
  pf::URLRequest request(url("http://slow.example/"));
  request.setTimeoutInterval(5);
  pf::URLConnection::create(request, delegate);
  clock.advance(4.9);
  EXPECT_THAT(delegate->calls, ElementsAre("will GET http://slow.example/"));
  clock.advance(0.2);
  EXPECT_THAT(delegate->calls, ElementsAre("will GET http://slow.example/", "fail -1001"));
  clock.advance(10);
  EXPECT_EQ(delegate->calls.size(), 2u) << "the late answer is not delivered";
}

TEST_F(URLConnectionTest, ProgressKeepsASlowLoadAlive) {
  // 12 s in total, never 5 s without news.
  server.respond("http://slow.example/",
                  SimResponse::ok("").chunked({"1", "2", "3"}).after(3).chunksEvery(3));
  pf::URLRequest request(url("http://slow.example/"));
  request.setTimeoutInterval(5);
  pf::URLConnection::create(request, delegate);
  clock.advance(20);
  EXPECT_EQ(delegate->calls.back(), "finish");
}


// Cancelled, or its delegate gone, before the first pass: not even the first offer is made,
// nothing is sent, and the connection lets itself go.
TEST_F(URLConnectionTest, CancelOrDelegateGoneBeforeTheFirstPassSendsNothing) {
  server.respond("http://h.example/a", SimResponse::ok("x"));
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancelled" : "delegate gone");
    auto d = std::make_shared<RecordingDelegate>();
    std::weak_ptr<pf::URLConnection> weak = pf::URLConnection::create(pf::URLRequest(url("http://h.example/a")), d);
    if (cancel) {
      auto connection = weak.lock();
      connection->cancel();
      connection->start();  // a cancelled connection does not start again
    } else {
      d.reset();
    }
    clock.runUntilIdle();
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(!d || d->calls.empty());
    EXPECT_TRUE(weak.expired());
  }
}

TEST_F(URLConnectionTest, CancelFromInsideEachCallbackIsTheLastCall) {
  server.respond("http://h.example/a", SimResponse::ok("").chunked({"a", "b"}));
  const struct {
    std::function<void(pf::URLConnection&)> RecordingDelegate::*hook;
    std::vector<std::string> expected;  // its last line is the call that cancels
  } cases[] = {
      {&RecordingDelegate::onResponse, {"will GET http://h.example/a", "response 200"}},
      {&RecordingDelegate::onData, {"will GET http://h.example/a", "response 200", "data a"}},
      {&RecordingDelegate::onEnd, {"will GET http://h.example/a", "response 200", "data a", "data b", "finish"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("cancel inside " + c.expected.back());
    auto d = std::make_shared<RecordingDelegate>();
    (*d).*c.hook = [](pf::URLConnection& connection) { connection.cancel(); };
    pf::URLConnection::create(pf::URLRequest(url("http://h.example/a")), d);
    clock.runUntilIdle();
    EXPECT_EQ(d->calls, c.expected);
    EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
  }
}

TEST_F(URLConnectionTest, DelegateDroppedInsideItsOwnCallback) {
  server.respond("http://h.example/a", SimResponse::ok("").chunked({"a", "b"}));
  auto owner = std::make_shared<std::shared_ptr<RecordingDelegate>>(delegate);
  delegate->onData = [owner](pf::URLConnection&) { owner->reset(); };  // its owner lets it go
  std::weak_ptr<RecordingDelegate> weakDelegate = delegate;
  load("http://h.example/a");
  delegate.reset();  // only *owner holds it now
  clock.runUntilIdle();
  EXPECT_TRUE(weakDelegate.expired());
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
}

// The connections are held, so only the cancel (not their end) can stop what the transport
// still has to say.
TEST_F(URLConnectionTest, CancelAllEndsEveryLoad) {
  server.respond("http://h.example/a", SimResponse::ok("x").after(5));
  auto first = load("http://h.example/a");
  auto second = load("http://h.example/a");
  clock.advance(1);
  EXPECT_EQ(pf::URLConnection::loadingCount(), 2u);
  pf::URLConnection::cancelAll();
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
  clock.advance(10);
  EXPECT_EQ(delegate->calls.size(), 2u);  // the two first offers only
}


TEST_F(URLConnectionTest, ProcessUserAgentIsSentUnlessTheRequestHasOne) {
  server.respondToPrefix("http://h.example/", SimResponse::ok("x"));
  pf::HTTPSettings::setUserAgent("Ashenmoor/1.0");
  load("http://h.example/1");
  pf::URLRequest own(url("http://h.example/2"));
  own.setValueForHTTPHeaderField("Mine", "user-agent");
  pf::URLConnection::create(own, delegate);
  clock.runUntilIdle();
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[0].valueForHTTPHeaderField("User-Agent"), "Ashenmoor/1.0");
  EXPECT_EQ(server.requests()[1].valueForHTTPHeaderField("User-Agent"), "Mine");
}

}  // namespace
