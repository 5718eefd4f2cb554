// DOZStackSymbolName: cutting the demangler's text into scope and name, and what a mangled
// name proves about a member.
#include "sdk/encoding/DOZStackSymbolName.h"

#include <gtest/gtest.h>

#include "TestData.h"

// One case a row in tests/testdata/demangled-names.tsv.
TEST(DOZStackSymbolNameTest, SplitsDemangledNames) {
  for (const auto& row : test_data::rows("demangled-names.tsv")) {
    ASSERT_EQ(row.size(), 3u);
    SCOPED_TRACE(row[0]);
    const DOZFunctionName split = DOZSplitFunctionName(row[0]);
    EXPECT_EQ(split.scope, row[1]);
    EXPECT_EQ(split.name, row[2]);
  }
}

TEST(DOZStackSymbolNameTest, DemanglesAndDropsCloneMarks) {
  static const struct {
    const char* symbol;
    const char* text;
  } kCases[] = {
      {"_ZN2pf7RunLoop3runEv", "pf::RunLoop::run()"},
      {"_ZN2pf7RunLoop3runEv.cold", "pf::RunLoop::run()"},
      {"qsort.constprop.0", "qsort"},
      {"main", "main"},
      {"_Znot_a_name", "_Znot_a_name"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.symbol);
    EXPECT_EQ(DOZDemangleSymbol(c.symbol), c.text);
  }
}

TEST(DOZStackSymbolNameTest, TellsMembersByTheirNames) {
  static const struct {
    const char* mangled;
    bool qualifiedMember;
  } kCases[] = {
      {"_ZNK2pf3Url4hostEv", true},        // const
      {"_ZNVK3Foo3getEv", true},           // const volatile
      {"_ZNR3Foo4takeEv", true},           // &
      {"_ZNO3Foo4takeEv", true},           // &&
      {"_ZN2pf7RunLoop3runEv", false},     // a member or a namespace's function: not told
      {"_ZNSt6locale7classicEv", false},
      {"_Z5qsortPvmmPFiPKvS1_E", false},
      {"main", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.mangled);
    EXPECT_EQ(DOZMangledNameIsQualifiedMember(c.mangled), c.qualifiedMember);
  }

  static const struct {
    const char* scope;
    const char* name;
    bool special;
  } kSpecial[] = {
      {"pf::RunLoop", "RunLoop", true},
      {"pf::RunLoop", "~RunLoop", true},
      {"std::vector<int, std::allocator<int> >", "vector", true},
      {"Box<Pair<int> >", "Box<double>", true},  // a constructor template
      {"pf::RunLoop", "run", false},
      {"pf", "pf", true},  // a namespace's function named like it reads as one
      {"", "main", false},
  };
  for (const auto& c : kSpecial) {
    SCOPED_TRACE(std::string(c.scope) + " " + c.name);
    EXPECT_EQ(DOZIsConstructorOrDestructor({c.scope, c.name}), c.special);
  }
}
