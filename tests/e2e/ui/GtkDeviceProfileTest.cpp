// The device facts the desktop reports, and the profile override.
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>
#include <regex>

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
  EXPECT_EQ(p.screenBounds, pf::Rect(0, 0, 320, 480));
  EXPECT_GE(p.screenScale, 1.0);
}

TEST(GtkDeviceProfileTest, TheOverrideNamesAShippedProfileAndAnUnknownNameIsIgnored) {
  setenv(pf::GtkDeviceProfile::kOverrideVariable, "tablet-3.2", 1);
  auto tablet = pf::GtkDeviceProfile::chosen();
  EXPECT_EQ(tablet.model, "iPad");
  EXPECT_EQ(tablet.systemVersion, "3.2");
  EXPECT_EQ(tablet.idiom, pf::UserInterfaceIdiom::Phone);
  setenv(pf::GtkDeviceProfile::kOverrideVariable, "phone-3.1.3", 1);
  EXPECT_FALSE(pf::GtkDeviceProfile::chosen().offers(pf::Capability::ApplicationState));
  setenv(pf::GtkDeviceProfile::kOverrideVariable, "pager-1.0", 1);
  EXPECT_EQ(pf::GtkDeviceProfile::chosen().name, "desktop");
  unsetenv(pf::GtkDeviceProfile::kOverrideVariable);
  EXPECT_EQ(pf::GtkDeviceProfile::chosen().name, "desktop");
}

}  // namespace
