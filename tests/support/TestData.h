// Test data kept in tests/testdata (ASHENMOOR_TESTDATA): outside data, and the long case
// tables of our own tests. A missing file or folder is a test failure that names it, so a
// broken checkout never passes by finding nothing.
//
//   for (const auto& row : test_data::rows("json-reader-refusals.tsv")) { ... row[1] ... }
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// The rows of a table file: lines split at tabs, blank lines and "#" lines left out, "%XX"
// in a field read as the byte XX and "%%" as "%" (so a field can hold any byte).
inline std::vector<std::vector<std::string>> rows(const std::string& relative) {
  std::vector<std::vector<std::string>> table;
  std::istringstream lines(read(relative));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\t') {
        fields.emplace_back();
      } else if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') {
        fields.back() += '%';
        ++i;
      } else if (line[i] == '%' && i + 2 < line.size()) {
        fields.back() += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        fields.back() += line[i];
      }
    }
    table.push_back(std::move(fields));
  }
  EXPECT_FALSE(table.empty()) << "no rows in " << path(relative);
  return table;
}

// The first bytes of a PNG, all that pf::Image reads: the signature and the header chunk of a
// `width`×`height` 8-bit RGBA picture (the chunk's CRC is not checked).
inline std::string pngHeader(uint32_t width, uint32_t height) {
  std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (uint32_t v : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) png += char((v >> shift) & 0xff);
  return png + std::string("\x08\x06\0\0\0", 5) + "CRC!";
}

}  // namespace test_data
