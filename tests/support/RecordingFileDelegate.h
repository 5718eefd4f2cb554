#pragma once
// A GADCachedFile delegate for tests: writes each call as a line ("end", "fail none",
// "fail NSURLErrorDomain -1003", "redirect http://a/b") and lets a test hook any call (to
// refuse a redirect, cancel, restart or drop the file).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sdk/network/GADCachedFile.h"

class RecordingFileDelegate : public GADCachedFileDelegate {
 public:
  std::vector<std::string> calls;

  std::function<std::optional<pf::Error>(GADCachedFile&, const pf::Url&)> onRedirect;
  std::function<void(GADCachedFile&)> onEnd;
  std::function<void(GADCachedFile&)> onFail;

  void cachedFileDownloadDidEnd(GADCachedFile& file) override {
    calls.push_back("end");
    if (onEnd) onEnd(file);
  }
  void cachedFileDownloadDidFail(GADCachedFile& file,
                                 const std::optional<pf::Error>& error) override {
    calls.push_back(error ? "fail " + error->domain() + " " + std::to_string(error->code())
                          : "fail none");
    if (onFail) onFail(file);
  }
  std::optional<pf::Error> cachedFileShouldRedirectToURL(GADCachedFile& file,
                                                         const pf::Url& url) override {
    calls.push_back("redirect " + url.absoluteString());
    if (onRedirect) return onRedirect(file, url);
    return std::nullopt;
  }
};
