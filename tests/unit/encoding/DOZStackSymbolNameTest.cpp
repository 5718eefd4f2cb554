// DOZStackSymbolName: cutting the demangler's text into scope and name, and what a mangled
// name proves about a member.
#include "sdk/encoding/DOZStackSymbolName.h"

#include <gtest/gtest.h>

TEST(DOZStackSymbolNameTest, SplitsDemangledNames) {
  static const struct {
    const char* demangled;
    const char* scope;
    const char* name;
  } kCases[] = {
      {"main", "", "main"},
      {"qsort.part.0", "", "qsort.part.0"},  // clone marks are the demangler's caller's to drop
      {"pf::RunLoop::run()", "pf::RunLoop", "run"},
      {"ns::Box<int, ns::Pair<a::B, c::D> >::get(int, char const*) const &", "ns::Box<int, ns::Pair<a::B, c::D> >",
       "get"},
      {"std::vector<int, std::allocator<int> > ns::make<int>(unsigned long)", "ns", "make<int>"},
      {"unsigned long ns::count<long>(long)", "ns", "count<long>"},
      {"GADNumberUtilities::stringWithFloat[abi:cxx11](float)", "GADNumberUtilities", "stringWithFloat"},
      {"Foo::operator<<(int)", "Foo", "operator<<"},
      {"Foo::operator()(int) const", "Foo", "operator()"},
      {"Foo::operator std::__cxx11::basic_string<char, std::char_traits<char> >() const", "Foo",
       "operator std::__cxx11::basic_string<char, std::char_traits<char> >"},
      {"operator new[](unsigned long)", "", "operator new[]"},
      {"(anonymous namespace)::Worker::step()", "(anonymous namespace)::Worker", "step"},
      {"Foo::bar()::{lambda(int)#1}::operator()(int) const", "Foo::bar()::{lambda(int)#1}", "operator()"},
      {"std::vector<int, std::allocator<int> >::~vector()", "std::vector<int, std::allocator<int> >", "~vector"},
      {"Foo::bar(void (*)(int)) [clone .cold]", "Foo", "bar"},
      {"Foo::bar() noexcept", "Foo", "bar"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.demangled);
    const DOZFunctionName split = DOZSplitFunctionName(c.demangled);
    EXPECT_EQ(split.scope, c.scope);
    EXPECT_EQ(split.name, c.name);
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
