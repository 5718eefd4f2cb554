// The reader against the outside JSONTestSuite (test_parsing): every y_ file is accepted,
// every n_ file refused except the ones the reader's deliberate leniencies accept (the table
// below, which must match exactly), and i_ files merely read without harm. Everything
// accepted must survive a write and a second read unchanged.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "GAD_SBJSONTestSupport.h"
#include "TestData.h"

namespace {

constexpr const char* kSuite = "JSONTestSuite/test_parsing";

// n_ files accepted on purpose, and the rule that accepts each.
const std::set<std::string> kAcceptedInvalid = {
    "n_array_1_true_without_comma.json",     // no comma is needed between elements
    "n_array_inner_array_no_comma.json",     // no comma is needed between elements
    "n_structure_whitespace_formfeed.json",  // form feed counts as whitespace
};

void expectRoundTrip(const std::string& name, const pf::Value& value) {
  auto text = json_test::write(value);
  ASSERT_TRUE(text) << name;
  EXPECT_EQ(json_test::read(*text), value) << name << " written as " << *text;
}

}  // namespace

TEST(JSONTestSuite, AcceptsEveryValidDocument) {
  auto files = test_data::filesStartingWith(kSuite, "y_");
  ASSERT_GT(files.size(), 90u) << "suite not found at " << test_data::path(kSuite);
  for (const auto& [name, text] : files) {
    pf::Error error("none", 0);
    auto value = GAD_SBJSON().objectWithStringError(text, &error);
    if (!value) {  // only a scalar at the top may need fragment reading
      EXPECT_EQ(error.code(), GAD_SBJSONErrorFragment) << name << ": " << error.description();
      value = GAD_SBJSON().fragmentWithStringError(text, &error);
    }
    ASSERT_TRUE(value) << name << ": " << error.description();
    expectRoundTrip(name, *value);
  }
}

TEST(JSONTestSuite, RefusesInvalidDocumentsExceptTheDeliberateLeniencies) {
  auto files = test_data::filesStartingWith(kSuite, "n_");
  ASSERT_GT(files.size(), 180u) << "suite not found at " << test_data::path(kSuite);
  std::set<std::string> accepted;
  for (const auto& [name, text] : files) {
    if (auto value = json_test::read(text, true)) {
      accepted.insert(name);
      expectRoundTrip(name, *value);
    }
  }
  EXPECT_EQ(accepted, kAcceptedInvalid);
}

TEST(JSONTestSuite, ReadsImplementationDefinedDocumentsWithoutHarm) {
  for (const auto& [name, text] : test_data::filesStartingWith(kSuite, "i_")) {
    pf::Error error("none", 0);
    if (auto value = GAD_SBJSON().fragmentWithStringError(text, &error)) {
      expectRoundTrip(name, *value);
    } else {
      EXPECT_EQ(error.domain(), GAD_SBJSONErrorDomain) << name;
    }
  }
}
