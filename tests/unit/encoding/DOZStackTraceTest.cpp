// DOZStackTrace and its two steps: naming addresses (methods with their kind, plain functions,
// the dynamic linker's images, a library loaded on the way) and writing the lines.
#include "sdk/encoding/DOZStackTrace.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "sdk/encoding/DOZStackTracePrivate.h"

// A known chain: a class method calls an instance method, which calls a plain function that
// takes the trace. Not inlined, and no call made a jump, so each keeps its frame.
#define KEEP_FRAME() asm volatile("" ::: "memory")

namespace stack_trace_test {

class Chain {
 public:
  static std::string classStep();
  std::string instanceStep();
};

std::string traceFromFunction();

__attribute__((noinline)) std::string Chain::classStep() {
  std::string trace = Chain().instanceStep();
  KEEP_FRAME();
  return trace;
}

__attribute__((noinline)) std::string Chain::instanceStep() {
  std::string trace = traceFromFunction();
  KEEP_FRAME();
  return trace;
}

__attribute__((noinline)) std::string traceFromFunction() {
  std::string trace = DOZStackTrace();
  KEEP_FRAME();
  return trace;
}

// A plain function above the methods in memory: the compiler orders functions as it likes
// within .text, but the linker puts this file's .text before its own section.
__attribute__((noinline, section(".text.stack_trace_test_after"))) int functionAfterMethods(int x) {
  return x * 7 + 1;
}

}  // namespace stack_trace_test

namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string lastComponent(const char* path) {
  if (!path) return "(none)";
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

const void* plus(const void* p, uintptr_t n) { return reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(p) + n); }

// The address of `name` in the loaded `library` itself (not a sanitizer's wrapper of it).
const void* symbolAddress(const char* library, const char* name) {
  void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
  void* p = handle ? dlsym(handle, name) : nullptr;
  EXPECT_NE(p, nullptr) << library << " " << name;
  if (handle) dlclose(handle);
  return p;
}

DOZStackAddressDescriptor describe(const void* address) {
  DOZStackAddressDescriptor d;
  EXPECT_EQ(DOZGetStackAddressDescriptorsForAddresses(&address, &d, 1), 1u);
  return d;
}

}  // namespace

TEST(DOZStackTraceTest, NamesAChainFromTheTracesCaller) {
  const std::string trace = stack_trace_test::Chain::classStep();
  const auto lines = linesOf(trace);
  ASSERT_GE(lines.size(), 4u) << trace;
  const char* kExpected[] = {
      R"(#0  unit_encoding +0x[0-9a-f]{8,} stack_trace_test::traceFromFunction\(\))",
      R"(#1  unit_encoding +0x[0-9a-f]{8,} -\[stack_trace_test::Chain instanceStep\])",
      R"(#2  unit_encoding +0x[0-9a-f]{8,} \+\[stack_trace_test::Chain classStep\])",
  };
  for (size_t i = 0; i < std::size(kExpected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(kExpected[i]))) << lines[i];
  }
  EXPECT_NE(trace.back(), '\n');
}

TEST(DOZStackTraceTest, NamesAddressesInsideFunctions) {
  const void* method = reinterpret_cast<const void*>(&stack_trace_test::Chain::classStep);
  const void* after = reinterpret_cast<const void*>(&stack_trace_test::functionAfterMethods);
  ASSERT_LT(method, after) << "the layout this case needs: a method below the function";

  const struct {
    const char* what;
    const void* address;
    const char* symbol;
    const char* className;  // null: a plain function
    bool isClassMethod;
    const char* file;  // last component
  } kCases[] = {
      {"plain function above a method", plus(after, 1), "stack_trace_test::functionAfterMethods", nullptr, false,
       "unit_encoding"},
      {"exported C function", plus(symbolAddress("libc.so.6", "qsort"), 1), "qsort", nullptr, false,
       "libc.so.6"},
      // libstdc++ carries no debug information: only what the mangled name proves is a method.
      {"const member, no DWARF", plus(symbolAddress("libstdc++.so.6", "_ZNKSt6locale4nameB5cxx11Ev"), 1), "name",
       "std::locale", false, "libstdc++.so.6"},
      {"constructor, no DWARF", plus(symbolAddress("libstdc++.so.6", "_ZNSt13runtime_errorC2EPKc"), 1),
       "runtime_error", "std::runtime_error", false, "libstdc++.so.6"},
      {"static member, no DWARF", plus(symbolAddress("libstdc++.so.6", "_ZNSt6locale7classicEv"), 1),
       "std::locale::classic", nullptr, false, "libstdc++.so.6"},
      {"nothing there", reinterpret_cast<const void*>(16), "???", nullptr, false, "(none)"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const DOZStackAddressDescriptor d = describe(c.address);
    EXPECT_EQ(d.address, c.address);
    EXPECT_STREQ(d.symbolName, c.symbol);
    EXPECT_STREQ(d.className, c.className);
    EXPECT_EQ(d.isClassMethod, c.isClassMethod);
    EXPECT_EQ(lastComponent(d.fileName), c.file);
  }
}

TEST(DOZStackTraceTest, FollowsALibraryLoadedAfterTheFirstTrace) {
  describe(reinterpret_cast<const void*>(&stack_trace_test::functionAfterMethods));  // tables read now
  void* library = dlopen(DOZ_TRACE_PROBE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto probe = reinterpret_cast<const void* (*)()>(dlsym(library, "dozTraceProbeClassStep"));
  ASSERT_NE(probe, nullptr);

  const DOZStackAddressDescriptor d = describe(plus(probe(), 1));
  EXPECT_STREQ(d.symbolName, "classStep");
  EXPECT_STREQ(d.className, "DOZTraceProbe");
  EXPECT_TRUE(d.isClassMethod);
  EXPECT_EQ(lastComponent(d.fileName), "libdoz_trace_probe.so");

  // Unloaded and forgotten by the table, its names stay readable.
  dlclose(library);
  describe(reinterpret_cast<const void*>(&stack_trace_test::functionAfterMethods));
  EXPECT_STREQ(d.symbolName, "classStep");
  EXPECT_STREQ(d.className, "DOZTraceProbe");
}

TEST(DOZStackTraceTest, MissingArraysOrNoCountFillNothing) {
  const void* addresses[] = {reinterpret_cast<const void*>(&stack_trace_test::functionAfterMethods)};
  const DOZStackAddressDescriptor untouched{reinterpret_cast<const void*>(1), "s", "c", true, "f"};
  static const struct {
    bool withAddresses;
    bool withDescriptors;
    unsigned count;
  } kCases[] = {{false, true, 1}, {true, false, 1}, {true, true, 0}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.withAddresses << c.withDescriptors << c.count);
    DOZStackAddressDescriptor d = untouched;
    EXPECT_EQ(DOZGetStackAddressDescriptorsForAddresses(c.withAddresses ? addresses : nullptr,
                                                        c.withDescriptors ? &d : nullptr, c.count),
              0u);
    EXPECT_EQ(d.address, untouched.address);
    EXPECT_EQ(d.symbolName, untouched.symbolName);
    EXPECT_EQ(d.className, untouched.className);
    EXPECT_EQ(d.isClassMethod, untouched.isClassMethod);
    EXPECT_EQ(d.fileName, untouched.fileName);
  }
}

TEST(DOZStackTraceTest, LeavesOutTheTracersOwnFrame) {
  const void* addresses[] = {reinterpret_cast<const void*>(&stack_trace_test::traceFromFunction),
                             plus(reinterpret_cast<const void*>(&stack_trace_test::functionAfterMethods), 1)};
  EXPECT_EQ(DOZStackTraceFromReturnAddresses(addresses, 1), "");
  EXPECT_TRUE(std::regex_match(
      DOZStackTraceFromReturnAddresses(addresses, 2),
      std::regex(R"(#0  unit_encoding +0x[0-9a-f]+ stack_trace_test::functionAfterMethods\(\))")));
}

TEST(DOZStackTraceTest, FormatsEachKindOfLine) {
  static const struct {
    const char* what;
    DOZStackAddressDescriptor descriptor;
    const char* line;
  } kCases[] = {
      {"instance method", {reinterpret_cast<const void*>(0x1234), "run", "pf::RunLoop", false, "/usr/lib/libfoo.so"},
       "#0  libfoo.so                           0x00001234 -[pf::RunLoop run]"},
      {"class method, no image",
       {reinterpret_cast<const void*>(0x1234), "clearCache", "GADBannerView", true, nullptr},
       "#0  ??                                  0x00001234 +[GADBannerView clearCache]"},
      {"plain function, wide address",
       {reinterpret_cast<const void*>(0x7f0011223344), "qsort", nullptr, false, "/lib/x86_64-linux-gnu/libc.so.6"},
       "#0  libc.so.6                           0x7f0011223344 qsort()"},
      {"long image name, no symbol",
       {reinterpret_cast<const void*>(0x10), nullptr, nullptr, false,
        "/opt/libwebkitgtk-6.0-with-a-very-long-name.so.4"},
       "#0  libwebkitgtk-6.0-with-a-very-long-name.so.4 0x00000010 ??" "()"},
      {"method without a name", {reinterpret_cast<const void*>(0xabcdef), nullptr, "Cls", false, "ashenmoor"},
       "#0  ashenmoor                           0x00abcdef -[Cls ??]"},
      {"image path not UTF-8", {reinterpret_cast<const void*>(0xabcdef), "f", nullptr, false, "/opt/lib\xff.so"},
       "#0  ??                                  0x00abcdef f()"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DOZStackTraceFromAddressDescriptors(&c.descriptor, 1), c.line);
  }
}

// Each line's form is FormatsEachKindOfLine's; the missing final line feed,
// NamesAChainFromTheTracesCaller's.
TEST(DOZStackTraceTest, NumbersLines) {
  std::vector<DOZStackAddressDescriptor> frames(11, {reinterpret_cast<const void*>(0x10), "f", nullptr, false, "a"});
  const std::string text = DOZStackTraceFromAddressDescriptors(frames.data(), 11);
  const auto lines = linesOf(text);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[9].substr(0, 4), "#9  ");
  EXPECT_EQ(lines[10].substr(0, 4), "#10 ");
  EXPECT_EQ(DOZStackTraceFromAddressDescriptors(frames.data(), 0), "");
}
