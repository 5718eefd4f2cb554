#pragma once
// Support for the storage tests: a fresh folder per test with the FileManager's locations laid
// under it, environment variables set for one test, and a full disk on demand.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "platform/base/FileManager.h"
#include "platform/base/UserDefaults.h"

class TempDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ashenmoor-storage-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    previous_ = files().locations();
    files().setLocations(pf::FileLocations::under(root_));
    pf::UserDefaults::resetStandardUserDefaults();
  }

  void TearDown() override {
    pf::UserDefaults::resetStandardUserDefaults();
    files().setLocations(previous_);
    files().removeItem(root_);
  }

  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }
  const std::string& root() const { return root_; }

 private:
  std::string root_;
  pf::FileLocations previous_;
};

// Sets or unsets environment variables; puts the old values back when it goes.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

  void set(const std::string& name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      setenv(name.c_str(), value, 1);
    } else {
      unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// While alive, no file of this process may grow beyond `bytes`: a write past it fails with
// EFBIG, as on a full disk (works for root too, unlike permissions).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);  // else the signal ends the process
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previousHandler_;
};
