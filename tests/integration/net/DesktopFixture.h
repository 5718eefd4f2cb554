#pragma once
// The desktop backend installed over a temporary data folder for each test, and everything it
// left running torn down after it: loads cancelled, the run loop emptied, GLib callbacks of
// cancelled work dispatched while the servers still exist.
#include <glib.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MainContextWait.h"
#include "NetRecorder.h"
#include "platform/base/FileManager.h"
#include "platform/gtk/DesktopPlatform.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLConnection.h"

class DesktopFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    gchar* dir = g_dir_make_tmp("ashenmoor-net-XXXXXX", nullptr);
    ASSERT_NE(dir, nullptr);
    root_ = dir;
    g_free(dir);
    pf::FileManager::defaultManager().setLocations(pf::FileLocations::under(root_));
    pf::HTTPSettings::reset();
    parts_ = pf::DesktopPlatform::install();
  }

  void TearDown() override {
    pf::DesktopPlatform::uninstall();
    parts_ = {};
    drainMainContext();
    pf::HTTPSettings::reset();
    pf::FileManager::defaultManager().removeItem(root_);
  }

  static pf::URLRequest request(const std::string& url, double timeout = 10.0) {
    return pf::URLRequest(*pf::Url::parse(url), pf::URLRequestCachePolicy::UseProtocolCachePolicy,
                          timeout);
  }

  // Starts a load reported to `recorder`, runs the loop until it ends (bounded).
  std::shared_ptr<pf::URLConnection> load(const pf::URLRequest& r,
                                          const std::shared_ptr<NetRecorder>& recorder,
                                          double seconds = 10.0) {
    auto connection = pf::URLConnection::create(r, recorder);
    EXPECT_TRUE(runMainContextUntil([&] { return recorder->ended(); }, seconds))
        << "load of " << r.url().absoluteString() << " did not end";
    return connection;
  }

  std::string root_;
  pf::DesktopPlatform::Parts parts_;
};
