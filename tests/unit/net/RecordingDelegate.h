#pragma once
// A connection delegate for tests: writes each call as a line ("will GET http://a/",
// "will GET http://a/b after 302", "response 200", "data abc", "finish", "fail -1005"), keeps
// each response's body, and lets a test hook any call (to cancel, drop itself, change a
// request).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/URLConnection.h"
#include "platform/net/URLConnectionDelegate.h"

class RecordingDelegate : public pf::URLConnectionDelegate {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> bodies;  // one per response
  std::optional<pf::Error> error;

  std::function<std::optional<pf::URLRequest>(pf::URLConnection&, const pf::URLRequest&,
                                              const std::optional<pf::URLResponse>&)>
      onWillSend;
  std::function<void(pf::URLConnection&)> onResponse;
  std::function<void(pf::URLConnection&)> onData;
  std::function<void(pf::URLConnection&)> onEnd;

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
    bodies.emplace_back();  // a new response restarts the body
    if (onResponse) onResponse(c);
  }
  void connectionDidReceiveData(pf::URLConnection& c, std::string_view data) override {
    calls.push_back("data " + std::string(data));
    if (!bodies.empty()) bodies.back() += data;
    if (onData) onData(c);
  }
  void connectionDidFinishLoading(pf::URLConnection& c) override {
    calls.push_back("finish");
    if (onEnd) onEnd(c);
  }
  void connectionDidFailWithError(pf::URLConnection& c, const pf::Error& e) override {
    calls.push_back("fail " + std::to_string(e.code()));
    error = e;
    if (onEnd) onEnd(c);
  }
};
