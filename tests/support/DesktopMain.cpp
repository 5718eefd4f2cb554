// The main of the desktop suites (link test_support_desktop_main): the desktop must be
// prepared (private XDG folders) before GTK or GIO starts, and GTK initialised before any
// window exists.
#include <gtest/gtest.h>

#include <cstdio>

#include "DesktopHarness.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  DesktopHarness::prepareEnvironment();
  if (!DesktopHarness::install()) {
    std::fprintf(stderr, "no display: run under xvfb-run\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
