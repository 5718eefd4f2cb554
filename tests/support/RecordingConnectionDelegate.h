#pragma once
// A URL connection delegate for tests: writes each call as a line ("will GET http://a/",
// "will GET http://a/b after 302", "response 200", "data abc", "finish", "fail -1005"), keeps
// each response and its body, and lets a test hook a call (to cancel, refuse, change the
// request, drop itself). Real sockets cut bodies anywhere: with `joinData` a run of data
// calls is written as one line "data" (dataCalls still counts them).
//
//   auto d = std::make_shared<RecordingConnectionDelegate>();
//   pf::URLConnection::create(request, d);
//   sim.clock().runUntilIdle();
//   EXPECT_THAT(d->calls, ElementsAre("will GET http://a/", "response 200", "data x", "finish"));
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/net/URLConnection.h"
#include "platform/net/URLConnectionDelegate.h"

class RecordingConnectionDelegate : public pf::URLConnectionDelegate {
 public:
  explicit RecordingConnectionDelegate(bool joinData = false) : joinData_(joinData) {}

  std::vector<std::string> calls;
  std::vector<pf::URLResponse> responses;
  std::vector<std::string> bodies;  // one per response
  size_t dataCalls = 0;
  std::optional<pf::Error> error;
  double endedAt = 0;  // pf::Clock::monotonic() at finish or fail

  std::function<std::optional<pf::URLRequest>(pf::URLConnection&, const pf::URLRequest&,
                                              const std::optional<pf::URLResponse>&)>
      onWillSend;
  std::function<void(pf::URLConnection&)> onResponse, onData, onEnd;

  bool ended() const { return endedAt != 0; }
  std::string body() const { return bodies.empty() ? std::string() : bodies.back(); }

  std::optional<pf::URLRequest> connectionWillSendRequest(
      pf::URLConnection& c, const pf::URLRequest& request,
      const std::optional<pf::URLResponse>& redirect) override {
    std::string line = "will " + request.httpMethod() + " " + request.url().absoluteString();
    if (redirect) line += " after " + std::to_string(redirect->statusCode());
    calls.push_back(line);
    if (onWillSend) return onWillSend(c, request, redirect);
    return request;
  }
  void connectionDidReceiveResponse(pf::URLConnection& c, const pf::URLResponse& r) override {
    calls.push_back("response " + std::to_string(r.statusCode()));
    responses.push_back(r);
    bodies.emplace_back();  // a new response restarts the body
    if (onResponse) onResponse(c);
  }
  void connectionDidReceiveData(pf::URLConnection& c, std::string_view data) override {
    if (!joinData_)
      calls.push_back("data " + std::string(data));
    else if (calls.empty() || calls.back() != "data")
      calls.push_back("data");
    ++dataCalls;
    if (!bodies.empty()) bodies.back() += data;
    if (onData) onData(c);
  }
  void connectionDidFinishLoading(pf::URLConnection& c) override {
    calls.push_back("finish");
    endedAt = pf::Clock::monotonic();
    if (onEnd) onEnd(c);
  }
  void connectionDidFailWithError(pf::URLConnection& c, const pf::Error& e) override {
    calls.push_back("fail " + std::to_string(e.code()));
    error = e;
    endedAt = pf::Clock::monotonic();
    if (onEnd) onEnd(c);
  }

 private:
  bool joinData_;
};
