// pf::AssertionHandler: installing and restoring handlers, and the default one's log line (with
// the file's last component only), carrying on in a release build.
#include <gtest/gtest.h>

#include "platform/base/AssertionHandler.h"

TEST(AssertionHandlerTest, InstalledHandlersSeeFailuresAndCanBeRestored) {
  std::vector<std::string> outer, inner;
  auto original = pf::AssertionHandler::setHandler(
      [&](const char* method, const char*, int line, const std::string& d) {
        outer.push_back(std::string(method) + "@" + std::to_string(line) + ":" + d);
      });
  pf::AssertionHandler::handleFailure("m1", "f.cpp", 1, "one");
  auto previous = pf::AssertionHandler::setHandler(
      [&](const char*, const char*, int, const std::string& d) { inner.push_back(d); });
  pf::AssertionHandler::handleFailure("m2", "f.cpp", 2, "two");
  pf::AssertionHandler::setHandler(std::move(previous));
  pf::AssertionHandler::handleFailure("m3", "f.cpp", 3, "three");
  pf::AssertionHandler::setHandler(std::move(original));

  EXPECT_EQ(outer, (std::vector<std::string>{"m1@1:one", "m3@3:three"}));
  EXPECT_EQ(inner, (std::vector<std::string>{"two"}));
}

#ifdef NDEBUG
TEST(AssertionHandlerTest, DefaultLogsAndCarriesOnInRelease) {
  testing::internal::CaptureStderr();
  pf::AssertionHandler::handleFailure("-[X y:]", "/build/src/a/X.cpp", 7, "broken");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "*** Assertion failure in -[X y:], X.cpp:7: broken\n");
}
#else
TEST(AssertionHandlerTest, DefaultStopsInDebug) {
  EXPECT_DEATH(pf::AssertionHandler::handleFailure("-[X y:]", "/build/src/a/X.cpp", 7, "broken"),
               "Assertion failure in -\\[X y:\\], X.cpp:7: broken");
}
#endif
