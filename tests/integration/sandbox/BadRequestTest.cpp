// Requests libsoup refuses before any handler of the sandbox runs (it answers 400 itself):
// the sandbox must answer or close, and stay up (issue 17: one bad percent-escape ended it).
#include <gtest/gtest.h>

#include <vector>

#include "RawSocket.h"
#include "SandboxNetTest.h"

namespace {

struct BadRequest {
  const char* what;
  std::string bytes;  // the whole request, sent as it is
};

std::string get(const std::string& target, const std::string& headers = "Host: 127.0.0.1\r\n") {
  return "GET " + target + " HTTP/1.1\r\n" + headers + "Connection: close\r\n\r\n";
}

const BadRequest kBadRequests[] = {
    {"bad escape in the query (issue 17)", get("/ad?slotname=%ZZ")},
    {"bad escape in the path (issue 17)", get("/%ZZ")},
    {"escape cut short at the end of the query", get("/stats.json?c=%")},
    {"half an escape in the path", get("/stats.json%4")},
    {"bad escape in both", get("/%G0?slotname=%0G")},
    {"bad escape in an absolute URI", get("http://127.0.0.1/%ZZ")},
    {"NUL as an escape in the path", get("/%00")},
    {"dot segments as escapes", get("/%2e%2e/%2e%2e/etc/passwd")},
    {"bare CR inside the Host header", get("/", "Host: 127.0.0.1\rX: y\r\n")},
    {"Host that is not a host", get("/", "Host: [::1\r\n")},
    {"bad escape, HTTP/1.0 without Host", "GET /ad?slotname=%ZZ HTTP/1.0\r\n\r\n"},
};

class BadRequests : public SandboxNetTest {
 protected:
  // The counters answer, as JSON: the sandbox is still serving.
  void expectStillServing(const std::string& origin) {
    EXPECT_TRUE(stats().isDictionary()) << "/stats.json is no JSON";
    EXPECT_NE(fetch(origin + "/").status, 0) << "the host itself no longer answers";
  }
};

TEST_F(BadRequests, EveryHostAnswersOrClosesAndKeepsServing) {
  const std::vector<std::pair<const char*, int>> hosts = {
      {"content", sandbox_.contentPort()}, {"static", sandbox_.staticPort()}, {"ad", sandbox_.adPort()}};
  for (const auto& [host, port] : hosts) {
    for (const auto& request : kBadRequests) {
      SCOPED_TRACE(std::string(host) + ": " + request.what);
      RawSocket socket(port);
      ASSERT_TRUE(socket.connected());
      socket.send(request.bytes);  // the sandbox may close before it has read everything
      auto reply = socket.receive(3000);
      int status = reply.status();
      EXPECT_TRUE(reply.closed || status != 0) << "neither an answer nor a close within 3 s";
      if (status != 0) {
        EXPECT_GE(status, 400) << reply.bytes.substr(0, 200);
        EXPECT_LT(status, 500) << reply.bytes.substr(0, 200);
      }
      expectStillServing("http://127.0.0.1:" + std::to_string(port));
    }
  }
  EXPECT_EQ(stats()["ad_requests"], pf::Value(0)) << "none of these is an ad request";
  EXPECT_TRUE(sandbox_.stop()) << "the sandbox must still stop cleanly with exit status 0";
}

// A parameter whose escapes decode to bytes that are not UTF-8 is kept, but /stats.json
// stays JSON (which is UTF-8 only): each such byte reads as U+FFFD.
TEST_F(BadRequests, ParametersThatAreNotUtf8LeaveStatsJsonReadable) {
  EXPECT_EQ(fetch(sandbox_.ad() + "/ad?slotname=a%FFb&k%C0=%ED%A0%80&creative=link").status, 200);
  const pf::Value doc = stats();
  const pf::Value& requests = doc["last_requests"];
  ASSERT_EQ(requests.size(), 1u);
  const pf::Value& params = requests[0]["params"];
  ASSERT_GE(params.size(), 2u);
  EXPECT_EQ(params[0], pf::Value::array({"slotname", "a\uFFFDb"}));
  EXPECT_EQ(params[1], pf::Value::array({"k\uFFFD", "\uFFFD\uFFFD\uFFFD"}));
}

}  // namespace
