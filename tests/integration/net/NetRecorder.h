#pragma once
// A connection delegate for loopback tests: writes each call as a line ("will GET <url>",
// "will GET <url> after 302", "response 200", "data", "finish", "fail -1005"), keeps each
// response and its body, and lets a test hook a call (to cancel, refuse, drop itself).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/net/URLConnection.h"
#include "platform/net/URLConnectionDelegate.h"

class NetRecorder : public pf::URLConnectionDelegate {
 public:
  std::vector<std::string> calls;
  std::vector<pf::URLResponse> responses;
  std::vector<std::string> bodies;  // one per response
  size_t dataCalls = 0;
  std::optional<pf::Error> error;
  double endedAt = 0;  // pf::Clock::monotonic() at finish or fail

  std::function<std::optional<pf::URLRequest>(pf::URLConnection&, const pf::URLRequest&,
                                              const std::optional<pf::URLResponse>&)>
      onWillSend;
  std::function<void(pf::URLConnection&)> onData;

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
  void connectionDidReceiveResponse(pf::URLConnection&, const pf::URLResponse& r) override {
    calls.push_back("response " + std::to_string(r.statusCode()));
    responses.push_back(r);
    bodies.emplace_back();
  }
  void connectionDidReceiveData(pf::URLConnection& c, std::string_view data) override {
    if (calls.empty() || calls.back() != "data") calls.push_back("data");  // runs of data: one line
    ++dataCalls;
    if (!bodies.empty()) bodies.back() += data;
    if (onData) onData(c);
  }
  void connectionDidFinishLoading(pf::URLConnection&) override {
    calls.push_back("finish");
    endedAt = pf::Clock::monotonic();
  }
  void connectionDidFailWithError(pf::URLConnection&, const pf::Error& e) override {
    calls.push_back("fail " + std::to_string(e.code()));
    error = e;
    endedAt = pf::Clock::monotonic();
  }
};
