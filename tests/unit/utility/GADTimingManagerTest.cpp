#include "sdk/timing/GADTimingManager.h"

#include <gtest/gtest.h>

#include "platform/base/NotificationCenter.h"
#include "platform/base/UserDefaults.h"
#include "platform/sim/SimEnvironment.h"

namespace {

class GADTimingManagerTest : public ::testing::Test {
 protected:
  void postWillTerminate() {
    pf::NotificationCenter::defaultCenter().postNotificationName(pf::UIApplicationWillTerminateNotification);
  }

  pf::SimEnvironment sim;
  pf::SimClock& clock_ = sim.clock();
  std::string path_ = sim.root() + "/prefs.plist";
  std::shared_ptr<pf::UserDefaults> defaults_ = pf::UserDefaults::create(path_);
};

TEST_F(GADTimingManagerTest, SavedTimingsComeBackInANewManagerAndAfterARestart) {
  {
    auto manager = GADTimingManager::create("shared", defaults_);
    auto t = manager->addTimingWithCategory("tsrl");
    t->start();
    clock_.advance(0.5);
    t->end();
    t->setValueForKey("x", "k");
    manager->addTimingWithCategory("pclk")->start();
    manager->savePersistentTimings();
  }
  auto check = [](const std::shared_ptr<GADTimingManager>& manager) {
    auto t = manager->timingForCategory("tsrl");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->startSeconds(), pf::SimClock::kStartMonotonic);
    EXPECT_EQ(t->endSeconds(), pf::SimClock::kStartMonotonic + 0.5);
    EXPECT_EQ(t->keysAndValues(), pf::Value::dictionary({{"k", "x"}}));
    ASSERT_TRUE(manager->timingForCategory("pclk"));
    EXPECT_TRUE(manager->timingForCategory("pclk")->isActive());
  };
  check(GADTimingManager::create("shared", defaults_));
  // A new process: the store read back from its file.
  check(GADTimingManager::create("shared", pf::UserDefaults::create(path_)));
  // Another identifier sees nothing.
  EXPECT_TRUE(GADTimingManager::create("GADObjectPrivate", defaults_)->timings().empty());
}

TEST_F(GADTimingManagerTest, SavedOnWillTerminateAndWhenDestroyed) {
  auto manager = GADTimingManager::create("shared", defaults_);
  manager->addTimingWithCategory("a")->start();
  EXPECT_FALSE(defaults_->dictionaryForKey("diziva_timing_shared"));
  postWillTerminate();
  auto onDisk = pf::UserDefaults::create(path_)->dictionaryForKey("diziva_timing_shared");
  ASSERT_TRUE(onDisk);  // written through to the file
  EXPECT_TRUE(onDisk->contains("a"));

  manager->addTimingWithCategory("b");
  const void* identity = manager.get();
  manager.reset();
  onDisk = pf::UserDefaults::create(path_)->dictionaryForKey("diziva_timing_shared");
  ASSERT_TRUE(onDisk);
  EXPECT_TRUE(onDisk->contains("b"));
  // A destroyed manager no longer listens.
  EXPECT_FALSE(pf::NotificationCenter::defaultCenter().hasObserver(identity));
  postWillTerminate();  // must not reach the freed manager
}

TEST_F(GADTimingManagerTest, SaveReplacesWhatWasStored) {
  auto manager = GADTimingManager::create("shared", defaults_);
  manager->addTimingWithCategory("a");
  manager->synchronize();
  manager->removeAllTimings();
  manager->addTimingWithCategory("b");
  manager->synchronize();
  auto saved = defaults_->dictionaryForKey("diziva_timing_shared");
  ASSERT_TRUE(saved);
  EXPECT_FALSE(saved->contains("a"));
  EXPECT_TRUE(saved->contains("b"));
}

TEST_F(GADTimingManagerTest, LoadedUnderTheStoredName) {
  defaults_->setObject("diziva_timing_shared",
                       pf::Value::dictionary({{"stored", pf::Value::dictionary({{"category", "own"}, {"start", 5.0}})}}));
  auto manager = GADTimingManager::create("shared", defaults_);
  auto t = manager->timingForCategory("stored");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->category(), "own");
  EXPECT_EQ(t->startSeconds(), 5.0);
  EXPECT_FALSE(manager->timingForCategory("own"));
}

TEST_F(GADTimingManagerTest, OneTimingPerName) {
  auto manager = GADTimingManager::create("m", defaults_);
  auto first = manager->addTimingWithCategory("c");
  auto second = manager->addTimingWithCategory("c");
  EXPECT_EQ(manager->timingForCategory("c"), second);
  EXPECT_EQ(manager->timings().size(), 1u);

  auto own = GADTiming::create("c");
  manager->addTiming(own);
  EXPECT_EQ(manager->timingForCategory("c"), own);  // the same object, not a copy
  manager->addTiming(nullptr);
  EXPECT_EQ(manager->timings().size(), 1u);
}

}  // namespace
