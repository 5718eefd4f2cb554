// pf::NotificationCenter: who hears a post, in what order, and removal at awkward moments.
#include "platform/base/NotificationCenter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class NotificationCenterTest : public ::testing::Test {
 protected:
  pf::NotificationCenter center;
  Strings heard;
  int alice = 0, bob = 0, carol = 0;          // observers (their addresses)
  int senderA = 0, senderB = 0;               // senders

  pf::NotificationCenter::Handler note(std::string who) {
    return [this, who](const pf::Notification& n) { heard.push_back(who + ":" + n.name()); };
  }
};

TEST_F(NotificationCenterTest, DeliversInRegistrationOrderAcrossNamedAndAllNames) {
  center.addObserver(&alice, "ping", nullptr, note("1"));
  center.addObserver(&bob, "", nullptr, note("2"));
  center.addObserver(&carol, "pong", nullptr, note("x"));
  center.addObserver(&alice, "ping", nullptr, note("3"));
  center.addObserver(&bob, "", nullptr, note("4"));
  center.postNotificationName("ping");
  EXPECT_EQ(heard, (Strings{"1:ping", "2:ping", "3:ping", "4:ping"}));
}

TEST_F(NotificationCenterTest, ObserverForOneSenderHearsOnlyThatSender) {
  center.addObserver(&alice, "loadAdURL", &senderA, note("a-only"));
  center.addObserver(&bob, "loadAdURL", nullptr, note("any"));
  center.postNotificationName("loadAdURL", &senderB);
  center.postNotificationName("loadAdURL");  // no sender
  center.postNotificationName("loadAdURL", &senderA);
  EXPECT_EQ(heard, (Strings{"any:loadAdURL", "any:loadAdURL", "a-only:loadAdURL", "any:loadAdURL"}));
}

TEST_F(NotificationCenterTest, CarriesUserInfoAndTheSender) {
  auto view = std::make_shared<std::string>("web view");
  pf::Value seenInfo;
  std::shared_ptr<std::string> seenView;
  std::shared_ptr<int> wrongType = std::make_shared<int>(0);
  center.addObserver(&alice, "settings", view.get(), [&](const pf::Notification& n) {
    seenInfo = n.userInfo();
    seenView = n.objectAs<std::string>();
    wrongType = n.objectAs<int>();
    EXPECT_EQ(n.sender(), view.get());
  });
  center.postNotificationName("settings", view, pf::Value::dictionary({{"supportedorientations", "portrait"}}));
  EXPECT_EQ(seenInfo["supportedorientations"].asString(), "portrait");
  EXPECT_EQ(seenView, view);
  EXPECT_EQ(wrongType, nullptr);
}

TEST_F(NotificationCenterTest, SenderStaysAliveForEveryObserverOfThePost) {
  auto sender = std::make_shared<std::string>("sender");
  std::weak_ptr<std::string> watch = sender;
  const void* identity = sender.get();
  bool aliveForSecond = false;
  center.addObserver(&alice, "n", identity, [&](const pf::Notification&) { sender.reset(); });
  center.addObserver(&bob, "n", identity, [&](const pf::Notification& n) {
    aliveForSecond = !watch.expired() && *n.objectAs<std::string>() == "sender";
  });
  center.postNotification(pf::Notification("n", sender));
  EXPECT_TRUE(aliveForSecond);
  EXPECT_TRUE(watch.expired());
}

// A handler removing its own registrations and another observer's: none of them is called
// for the rest of the post, nor later.
TEST_F(NotificationCenterTest, RegistrationsRemovedDuringDeliveryAreNotCalled) {
  center.addObserver(&alice, "n", nullptr, [&](const pf::Notification&) {
    heard.push_back("alice first");
    center.removeObserver(&alice);
    center.removeObserver(&bob);
  });
  center.addObserver(&alice, "", nullptr, note("alice second"));
  center.addObserver(&bob, "n", nullptr, note("bob"));
  center.addObserver(&carol, "", nullptr, note("carol"));
  center.postNotificationName("n");
  EXPECT_EQ(heard, (Strings{"alice first", "carol:n"}));
  EXPECT_FALSE(center.hasObserver(&alice));
  EXPECT_EQ(center.registrationCount(), 1u);
}

TEST_F(NotificationCenterTest, HandlerRemovingItselfKeepsItsCapturesUntilItReturns) {
  auto captured = std::make_shared<std::string>("still here");
  std::string seen;
  pf::NotificationCenter::Token token = 0;
  token = center.addObserver(&alice, "n", nullptr, [&, captured](const pf::Notification&) {
    center.removeRegistration(token);
    seen = *captured;
  });
  std::weak_ptr<std::string> watch = captured;
  captured.reset();
  center.postNotificationName("n");
  EXPECT_EQ(seen, "still here");
  EXPECT_TRUE(watch.expired());  // and let go once the post is over
}

TEST_F(NotificationCenterTest, ObserverAddedDuringDeliveryHearsOnlyLaterPosts) {
  center.addObserver(&alice, "n", nullptr, [&](const pf::Notification&) {
    heard.push_back("alice");
    if (heard.size() == 1) center.addObserver(&bob, "n", nullptr, note("bob"));
  });
  center.postNotificationName("n");
  EXPECT_EQ(heard, Strings{"alice"});
  center.postNotificationName("n");
  EXPECT_EQ(heard, (Strings{"alice", "alice", "bob:n"}));
}

TEST_F(NotificationCenterTest, PostFromAHandlerIsDeliveredBeforeTheOuterPostGoesOn) {
  center.addObserver(&alice, "outer", nullptr, [&](const pf::Notification&) {
    heard.push_back("alice:outer");
    center.postNotificationName("inner");
  });
  center.addObserver(&bob, "", nullptr, note("bob"));
  center.postNotificationName("outer");
  EXPECT_EQ(heard, (Strings{"alice:outer", "bob:inner", "bob:outer"}));
}

TEST_F(NotificationCenterTest, RemoveByNameAndSenderTakesOnlyWhatMatches) {
  center.addObserver(&alice, "x", &senderA, note("x/A"));
  center.addObserver(&alice, "x", &senderB, note("x/B"));
  center.addObserver(&alice, "y", &senderA, note("y/A"));
  center.addObserver(&bob, "x", &senderA, note("bob x/A"));

  center.removeObserver(&alice, "x", &senderA);
  center.postNotificationName("x", &senderA);
  center.postNotificationName("x", &senderB);
  center.postNotificationName("y", &senderA);
  EXPECT_EQ(heard, (Strings{"bob x/A:x", "x/B:x", "y/A:y"}));

  heard.clear();
  center.removeObserver(&alice, "x", nullptr);  // any sender
  center.removeObserver(&alice, "", &senderA);  // any name
  center.postNotificationName("x", &senderB);
  center.postNotificationName("y", &senderA);
  EXPECT_TRUE(heard.empty());
  EXPECT_FALSE(center.hasObserver(&alice));
  EXPECT_TRUE(center.hasObserver(&bob));
}

TEST_F(NotificationCenterTest, CenterDestroyedByAHandlerStopsDelivering) {
  auto owned = std::make_unique<pf::NotificationCenter>();
  owned->addObserver(&alice, "n", nullptr, [&](const pf::Notification&) {
    heard.push_back("alice");
    owned.reset();
  });
  owned->addObserver(&bob, "n", nullptr, note("bob"));
  owned->postNotificationName("n");
  EXPECT_EQ(heard, Strings{"alice"});
}


}  // namespace
