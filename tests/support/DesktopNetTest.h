#pragma once
// The fixture of the tests that load over real HTTP on 127.0.0.1: a fresh home (pf::SimHome)
// with the desktop backend installed over it (libsoup transport, GLib run-loop driver, GIO
// reachability), and everything it left running torn down after the test: loads cancelled,
// the run loop emptied, GLib callbacks of cancelled work dispatched while servers still exist.
// A suite that uses it links test_support_desktop.
//
//   class CookieJarTest : public DesktopNetTest { protected: LoopbackServer server_; };
//   auto d = std::make_shared<RecordingConnectionDelegate>(true);
//   load(request(server_.url("/a")), d);            // bounded wait for the end
//   auto answer = fetch(server_.url("/a"));           // the same, reduced to what came back
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "MainContextWait.h"
#include "RecordingConnectionDelegate.h"
#include "platform/gtk/DesktopPlatform.h"
#include "platform/net/HTTPHeaderFields.h"
#include "platform/sim/SimHome.h"

class DesktopNetTest : public ::testing::Test {
 protected:
  DesktopNetTest();
  // Before the test's own members (its servers) go: their connections' callbacks run first.
  void TearDown() override;

  static pf::URLRequest request(const std::string& url, double timeout = 10.0);

  // Starts a load reported to `delegate` and runs the loop until it ends (bounded).
  std::shared_ptr<pf::URLConnection> load(const pf::URLRequest& r,
                                          const std::shared_ptr<RecordingConnectionDelegate>& delegate,
                                          double seconds = 10.0);

  // What a GET of `url` (with `headers`) came back with: the last response (status 0 when
  // none came) and its body; `error` when the load failed, also after a response. A redirect
  // is the answer unless followed.
  struct Answer {
    int status = 0;
    pf::HTTPHeaderFields headers;
    std::string body;
    std::optional<pf::Error> error;
    std::string header(const std::string& name) const { return headers.value(name).value_or(""); }
  };
  Answer fetch(const std::string& url, const pf::HTTPHeaderFields& headers = {}, bool followRedirects = false);

  pf::SimHome home_;
  pf::DesktopPlatform::Parts parts_;
};
