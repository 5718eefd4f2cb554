#pragma once

#include "Answer.h"
#include "Request.h"
#include "WwwRoot.h"

#include <optional>
#include <string>

// Serves the files of one folder of the www root under a URL prefix, GET and HEAD only.
class StaticFiles {
 public:
  StaticFiles(const WwwRoot& www, std::string folder) : www_(www), folder_(std::move(folder)) {}
  // Answers for the request's path (which must start with prefix); 404 when there is no such file.
  Answer serve(const Request& request, const std::string& prefix) const;
  // The file a path names below prefix: the segments after it, empty and "." ones left out,
  // joined by "/" ("/landing//./a.html" names "a.html"). Nothing when the path does not go
  // on from the prefix at a "/" ("/landingx") or names no file below it.
  static std::optional<std::string> fileOf(const std::string& path, const std::string& prefix);

 private:
  const WwwRoot& www_;
  std::string folder_;
};
