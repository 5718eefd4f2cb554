#include "sdk/utility/GADPrivateUtilities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Companion {
  explicit Companion(std::string n, std::vector<std::string>* log = nullptr) : name(std::move(n)), log(log) {}
  ~Companion() {
    if (log) log->push_back(name + " released");
  }
  std::string name;
  std::vector<std::string>* log;
};

struct OtherCompanion {};

// A companion that, like an ad object owning web views, lets go of other registered
// companions when it is released.
struct Owner {
  ~Owner() {
    for (const void* key : ownedKeys) GADPrivateUtilities::removePrivateObjectForKey(key);
  }
  std::vector<const void*> ownedKeys;
};

class GADPrivateUtilitiesTest : public ::testing::Test {
 protected:
  void TearDown() override { GADPrivateUtilities::removeAllForTesting(); }
  int keyA = 0, keyB = 0, keyC = 0;  // distinct objects serve as keys
  std::vector<std::string> log;      // outlives the companions released in TearDown
};

TEST_F(GADPrivateUtilitiesTest, KeysAreIdentitiesNotValues) {
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("a"), &keyA);
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("b"), &keyB);
  // keyA == keyB as values (both 0); they are still two entries.
  EXPECT_EQ(GADPrivateUtilities::privateObjectForKey<Companion>(&keyA)->name, "a");
  EXPECT_EQ(GADPrivateUtilities::privateObjectForKey<Companion>(&keyB)->name, "b");
  EXPECT_EQ(GADPrivateUtilities::privateObjectForKey<Companion>(&keyC), nullptr);
  EXPECT_EQ(GADPrivateUtilities::count(), 2u);
}

TEST_F(GADPrivateUtilitiesTest, RegistryOwnsValueUntilRemovedOrReplaced) {
  std::weak_ptr<Companion> first;
  {
    auto c = std::make_shared<Companion>("first", &log);
    first = c;
    GADPrivateUtilities::setPrivateObjectForKey(std::move(c), &keyA);
  }
  EXPECT_FALSE(first.expired());  // the registry holds the only strong reference
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("second", &log), &keyA);
  EXPECT_TRUE(first.expired());
  EXPECT_EQ(log, std::vector<std::string>{"first released"});
  GADPrivateUtilities::removePrivateObjectForKey(&keyA);
  EXPECT_EQ(log, (std::vector<std::string>{"first released", "second released"}));
  GADPrivateUtilities::removePrivateObjectForKey(&keyA);  // absent: nothing happens
}

TEST_F(GADPrivateUtilitiesTest, EmptyValueRemovesAndNullKeyIsIgnored) {
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("a"), &keyA);
  GADPrivateUtilities::setPrivateObjectForKey(std::shared_ptr<Companion>(), &keyA);
  EXPECT_EQ(GADPrivateUtilities::count(), 0u);
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("n"), nullptr);
  EXPECT_EQ(GADPrivateUtilities::count(), 0u);
}

TEST_F(GADPrivateUtilitiesTest, ReleasedCompanionMayRemoveOthersFromItsDestructor) {
  auto owner = std::make_shared<Owner>();
  owner->ownedKeys = {&keyB, &keyC};
  GADPrivateUtilities::setPrivateObjectForKey(std::move(owner), &keyA);
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("b", &log), &keyB);
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("c", &log), &keyC);

  GADPrivateUtilities::removePrivateObjectForKey(&keyA);
  EXPECT_EQ(GADPrivateUtilities::count(), 0u);
  EXPECT_EQ(log.size(), 2u);

  // The same on replacement.
  owner = std::make_shared<Owner>();
  owner->ownedKeys = {&keyB};
  GADPrivateUtilities::setPrivateObjectForKey(std::move(owner), &keyA);
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("b2", &log), &keyB);
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<Companion>("a2", &log), &keyA);
  EXPECT_EQ(GADPrivateUtilities::count(), 1u);
  EXPECT_EQ(GADPrivateUtilities::privateObjectForKey<Companion>(&keyA)->name, "a2");
}

}  // namespace
