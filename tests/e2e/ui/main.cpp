// The desktop must be prepared (private XDG folders) before GTK or GIO starts, and GTK must
// be initialised before any window exists, so this suite has its own main.
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
