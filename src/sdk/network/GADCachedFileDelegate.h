#pragma once
// GADCachedFileDelegate: what a GADCachedFile tells its owner about a fetch. All three are
// required. Every call arrives on the main run loop, and at most one of
// cachedFileDownloadDidEnd and cachedFileDownloadDidFail comes per fetch.
//
// The file is idle again by the time either end call arrives, so the delegate may start the
// next fetch, cancel, invalidate or drop the file from inside it.
#include <optional>

#include "platform/base/Error.h"
#include "platform/base/Url.h"

class GADCachedFile;

class GADCachedFileDelegate {
 public:
  virtual ~GADCachedFileDelegate() = default;

  // A 200 body is in the cache file (its time set from "Last-Modified"), or a 304 said the
  // file is current.
  virtual void cachedFileDownloadDidEnd(GADCachedFile& file) = 0;
  // The fetch failed: the connection's error; none for a status other than 200 and 304 or a
  // connection that could not be made; the write error; or the error that
  // cachedFileShouldRedirectToURL returned.
  virtual void cachedFileDownloadDidFail(GADCachedFile& file,
                                         const std::optional<pf::Error>& error) = 0;
  // A redirect to `url` is about to be followed (the file's httpHeaders are the redirect
  // response's). None follows it; an error ends the fetch with that error.
  virtual std::optional<pf::Error> cachedFileShouldRedirectToURL(GADCachedFile& file,
                                                                 const pf::Url& url) = 0;

 protected:
  GADCachedFileDelegate() = default;
  GADCachedFileDelegate(const GADCachedFileDelegate&) = delete;
  GADCachedFileDelegate& operator=(const GADCachedFileDelegate&) = delete;
};
