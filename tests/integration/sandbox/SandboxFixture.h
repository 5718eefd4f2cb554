#pragma once

#include "HttpClient.h"
#include "JsonDoc.h"
#include "SandboxProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// One sandbox per test, on free ports, and a client for it.
class SandboxFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sandbox_.ready()) << "sandbox did not print its ready line"; }

  std::unique_ptr<JsonDoc> stats() {
    auto r = http_.get(sandbox_.ad() + "/stats.json");
    EXPECT_EQ(r.status, 200u);
    auto doc = std::make_unique<JsonDoc>(r.body);
    EXPECT_TRUE(doc->ok()) << r.body;
    return doc;
  }
  HttpClient::Response ad(const std::string& query) { return http_.get(sandbox_.ad() + "/ad?" + query); }

  SandboxProcess sandbox_;
  HttpClient http_;
};
