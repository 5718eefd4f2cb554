#pragma once
// The built ashenmoor-sandbox on free loopback ports, for the screenshots and for a test,
// stopped with SIGTERM at the end (killed if it does not go within the time).
//
//   SandboxProcess sandbox;                  // waits for its "ready" line
//   ASSERT_TRUE(sandbox.ready());
//   fetch(sandbox.ad() + "/stats.json");     // http://127.0.0.1:<port>
#include <gio/gio.h>

#include <string>

class SandboxProcess {
 public:
  explicit SandboxProcess(const std::string& extraArgs = "");
  ~SandboxProcess();
  SandboxProcess(const SandboxProcess&) = delete;
  SandboxProcess& operator=(const SandboxProcess&) = delete;

  bool ready() const { return adPort_ != 0; }
  const std::string& readyLine() const { return readyLine_; }
  std::string content() const { return origin(contentPort_); }
  std::string statics() const { return origin(staticPort_); }
  std::string ad() const { return origin(adPort_); }
  int contentPort() const { return contentPort_; }
  int staticPort() const { return staticPort_; }
  int adPort() const { return adPort_; }

  // SIGTERM, then wait up to timeoutMs; true when it exited on its own with status 0.
  bool stop(int timeoutMs = 5000);

 private:
  static std::string origin(int port) { return "http://127.0.0.1:" + std::to_string(port); }

  GSubprocess* process_ = nullptr;
  std::string readyLine_;
  int contentPort_ = 0;
  int staticPort_ = 0;
  int adPort_ = 0;
};
