// The device facts the desktop reports, and the profile override.
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <fstream>
#include <regex>

#include "ScopedEnvironment.h"
#include "platform/gtk/GtkDeviceProfile.h"

namespace {

TEST(GtkDeviceProfileTest, TheMachineProfileHasAStableIdentifierThatDoesNotRevealTheMachineId) {
  auto p = pf::GtkDeviceProfile::fromMachine();
  EXPECT_TRUE(std::regex_match(p.uniqueIdentifier, std::regex("[0-9a-f]{40}"))) << p.uniqueIdentifier;
  EXPECT_EQ(pf::GtkDeviceProfile::fromMachine().uniqueIdentifier, p.uniqueIdentifier);
  std::string machineId;
  std::ifstream("/etc/machine-id") >> machineId;
  if (!machineId.empty()) {
    EXPECT_EQ(p.uniqueIdentifier.find(machineId), std::string::npos);
  }
  EXPECT_NE(pf::GtkDeviceProfile::identifierFor("a"), pf::GtkDeviceProfile::identifierFor("b"));
  struct utsname u {};
  ASSERT_EQ(uname(&u), 0);
  EXPECT_EQ(p.machine, u.machine);
  EXPECT_FALSE(p.systemVersion.empty());
  EXPECT_GE(p.screenScale, 1.0);
}

TEST(GtkDeviceProfileTest, TheOverrideNamesAShippedProfileAndAnUnknownNameIsIgnored) {
  ScopedEnvironment env;
  for (auto [name, chosen] : {std::pair{"tablet-3.2", "tablet-3.2"}, {"pager-1.0", "desktop"}, {nullptr, "desktop"}}) {
    env.set(pf::GtkDeviceProfile::kOverrideVariable, name);
    EXPECT_EQ(pf::GtkDeviceProfile::chosen().name, chosen);
  }
}

}  // namespace
