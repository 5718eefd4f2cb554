#include "platform/base/Log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "LogCapture.h"

TEST(Log, LineCarriesLocalTimeWithMillisecondsProcessAndText) {
  // The same clock as the stamp's: time() reads a coarser one that may still be in the
  // previous second.
  auto now = [] {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec;
  };
  LogCapture log;
  time_t before = now();
  pf::Log::message("<Diziva> hello");
  time_t after = now();
  ASSERT_EQ(log.lines.size(), 1u);
  const std::string& line = log.lines[0];

  std::smatch m;
  std::regex shape(R"(^(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)\.\d{3} (\S+)\[(\d+)\] <Diziva> hello$)");
  ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
  EXPECT_EQ(m[2].str(), program_invocation_short_name);
  EXPECT_EQ(std::stol(m[3].str()), static_cast<long>(getpid()));

  // The stamp is local time: read back as local time it lands on now.
  tm local{};
  ASSERT_NE(strptime(m[1].str().c_str(), "%Y-%m-%d %H:%M:%S", &local), nullptr);
  local.tm_isdst = -1;
  time_t stamped = mktime(&local);
  EXPECT_GE(stamped, before);
  EXPECT_LE(stamped, after);
}

TEST(Log, FormatVariantAndSinkReplacement) {
  std::vector<std::string> outer;
  auto original = pf::Log::setSink([&](const std::string& l) { outer.push_back(l); });
  {
    LogCapture inner;
    pf::Log::format("%s has %d items (%.1f%%)", "cache", 3, 12.5);
    ASSERT_EQ(inner.lines.size(), 1u);
    EXPECT_NE(inner.lines[0].find("] cache has 3 items (12.5%)"), std::string::npos) << inner.lines[0];
  }
  pf::Log::message("back to the outer sink");  // the inner capture gave back what it replaced
  pf::Log::setSink(std::move(original));
  ASSERT_EQ(outer.size(), 1u);
  EXPECT_NE(outer[0].find("back to the outer sink"), std::string::npos);
}

TEST(Log, ConcurrentMessagesOnStandardErrorNeverInterleave) {
  testing::internal::CaptureStderr();
  constexpr int kThreads = 4;
  constexpr int kEach = 200;
  // Long texts with an embedded newline: a writer that sent the parts separately would
  // let another thread's line land in between.
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kEach; ++i) {
        std::string body(300, static_cast<char>('a' + t));
        pf::Log::message("T" + std::to_string(t) + "#" + std::to_string(i) + " " + body + "\n" +
                         body + " end" + std::to_string(t));
      }
    });
  }
  for (auto& th : threads) th.join();
  const std::string all = testing::internal::GetCapturedStderr();

  // Every message is its own header line followed by its own continuation line.
  std::vector<std::string> lines;
  for (size_t start = 0, nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1) {
    lines.push_back(all.substr(start, nl - start));
  }
  ASSERT_EQ(lines.size(), 2u * kThreads * kEach);
  std::regex header(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \S+\[\d+\] T(\d)#\d+ .*$)");
  for (size_t i = 0; i < lines.size(); i += 2) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, header)) << "line " << i << ": " << lines[i].substr(0, 80);
    std::string body(300, static_cast<char>('a' + std::stoi(m[1].str())));
    ASSERT_TRUE(lines[i].ends_with(" " + body)) << "line " << i;
    ASSERT_EQ(lines[i + 1], body + " end" + m[1].str()) << "line " << i + 1;
  }
}
