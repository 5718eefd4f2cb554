#pragma once
// The fixture of the tests that ask the sandbox, in its own process, over real HTTP through
// the application's transport (DesktopNetTest), and read its JSON with the application's reader.
#include <string>

#include "DesktopNetTest.h"
#include "SandboxProcess.h"
#include "sdk/encoding/GAD_SBJSON.h"

class SandboxNetTest : public DesktopNetTest {
 protected:
  explicit SandboxNetTest(const std::string& arguments = "") : sandbox_(arguments) {}
  void SetUp() override { ASSERT_TRUE(sandbox_.ready()) << "the sandbox printed no ready line"; }

  // The JSON of a 200 answer (null when it is not JSON).
  pf::Value json(const std::string& url) {
    auto answer = fetch(url);
    EXPECT_EQ(answer.status, 200) << url;
    return GAD_SBJSON().objectWithStringError(answer.body).value_or(pf::Value());
  }
  pf::Value stats() { return json(sandbox_.ad() + "/stats.json"); }

  SandboxProcess sandbox_;
};
