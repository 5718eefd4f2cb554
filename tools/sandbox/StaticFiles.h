#pragma once

#include "Answer.h"
#include "Request.h"
#include "WwwRoot.h"

#include <string>

// Serves the files of one folder of the www root under a URL prefix, GET and HEAD only.
class StaticFiles {
 public:
  StaticFiles(const WwwRoot& www, std::string folder) : www_(www), folder_(std::move(folder)) {}
  // Answers for the request's path (which must start with prefix); 404 when there is no such file.
  Answer serve(const Request& request, const std::string& prefix) const;

 private:
  const WwwRoot& www_;
  std::string folder_;
};
