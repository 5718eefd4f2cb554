// Message URLs: which URLs are messages, and the name and parameters each form yields.
#include "sdk/notification/GADNotification.h"

#include <gtest/gtest.h>

#include "TestData.h"

namespace {

using pf::Value;

// One row per form, in tests/testdata/message-urls.tsv.
TEST(GADNotificationTest, EachURLYieldsItsNameAndParametersOrNothing) {
  for (const auto& row : test_data::rows("message-urls.tsv")) {
    SCOPED_TRACE(row[0]);
    auto url = pf::Url::parse(row[0]);
    ASSERT_TRUE(url);
    const std::string scheme = url->scheme();
    EXPECT_EQ(GADNotification::isGMSGNotificationURL(*url), scheme == "gmsg");
    EXPECT_EQ(GADNotification::isRoDudNotificationURL(*url), scheme == "rodud");
    EXPECT_EQ(GADNotification::isNotificationURL(*url), scheme == "gmsg" || scheme == "rodud");
    auto n = GADNotification::notificationFromURL(*url);
    ASSERT_EQ(n != nullptr, row[1] != "-");
    if (!n) continue;
    EXPECT_EQ(n->name(), row[1]);
    Value parameters = row.size() > 2 && row[2] == "(none)" ? Value() : Value::dictionary();
    for (size_t i = 2; i + 1 < row.size(); i += 2) parameters.set(row[i], row[i + 1]);
    EXPECT_EQ(n->parameters(), parameters);
  }
}

}  // namespace
