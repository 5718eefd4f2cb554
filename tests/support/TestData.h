// Outside test data kept in tests/testdata (ASHENMOOR_TESTDATA). A missing file or folder is
// a test failure that names it, so a broken checkout never passes by finding nothing.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace test_data {

inline std::filesystem::path path(const std::string& relative) {
  return std::filesystem::path(ASHENMOOR_TESTDATA) / relative;
}

// The whole file, or a failure naming it and an empty text.
inline std::string read(const std::string& relative) {
  const auto file = path(relative);
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "test data file missing: " << file;
    return {};
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Name → content of the folder's files whose names begin with prefix; a missing folder is a
// failure naming it.
inline std::map<std::string, std::string> filesStartingWith(const std::string& folder,
                                                            const std::string& prefix) {
  std::map<std::string, std::string> files;
  const auto dir = path(folder);
  std::error_code error;
  std::filesystem::directory_iterator it(dir, error), end;
  if (error) {
    ADD_FAILURE() << "test data folder missing: " << dir << " (" << error.message() << ")";
    return files;
  }
  for (; it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) == 0) files[name] = read(folder + "/" + name);
  }
  return files;
}

}  // namespace test_data
