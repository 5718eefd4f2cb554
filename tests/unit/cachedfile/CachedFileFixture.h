#pragma once
// The fixture of the GADCachedFile tests: virtual time, a scripted server and a fresh caches
// folder per test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "RecordingFileDelegate.h"
#include "platform/base/FileManager.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLConnection.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimURLTransport.h"
#include "sdk/utility/GADNetworkUtilities.h"

class CachedFileFixture : public testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ashenmoor-cachedfile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    previous_ = files().locations();
    files().setLocations(pf::FileLocations::under(root_));
  }

  void TearDown() override {
    pf::URLConnection::cancelAll();
    pf::URLTransport::install(nullptr);
    pf::HTTPSettings::reset();
    GADNetworkUtilities::resetForTesting();
    files().setLocations(previous_);
    files().removeItem(root_);
  }

  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }
  static pf::Url url(const char* text) { return *pf::Url::parse(text); }
  std::string caches() const { return root_ + "/Caches"; }

  std::shared_ptr<GADCachedFile> makeFile(const char* text) {
    return GADCachedFile::create(delegate, url(text));
  }

  pf::SimClock clock;
  std::shared_ptr<pf::SimURLTransport> server = pf::SimURLTransport::install();
  std::shared_ptr<RecordingFileDelegate> delegate = std::make_shared<RecordingFileDelegate>();

 private:
  std::string root_;
  pf::FileLocations previous_;
};
