#pragma once
// GADCachedFile: one URL fetched over HTTP into a file of the caches folder, and revalidated
// with "If-Modified-Since" on later fetches. The ad core script, each ad response and each
// tracking ping go through one.
//
//   script_ = GADCachedFile::create(weak_from_this(), *scriptURL);
//   script_->validate();              // conditional when the file exists
//   ...
//   void cachedFileDownloadDidEnd(GADCachedFile& f) override { use(f.content()); }
//
// The file lives at <caches>/<host>/<hash>, where <hash> is a stable 32-bit hash of the source
// URL's text in lower-case hexadecimal: objects for the same URL share it, across runs too.
// Its modification time mirrors the server's "Last-Modified" (the write time when there is
// none), which is what the next fetch sends as "If-Modified-Since". The file outlives the
// object; only invalidate() removes it.
//
// Redirects are offered to the delegate, which may refuse them. Status 200 writes the body
// (atomically) and succeeds, 304 succeeds without touching the file, anything else fails
// without an error and leaves the file alone.
//
// The delegate is not retained. Nothing reaches it after cancel(), invalidate(), or once the
// file is destroyed, also when that happens inside one of its own calls. Main thread only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Error.h"
#include "platform/base/Url.h"
#include "platform/net/HTTPHeaderFields.h"
#include "platform/net/URLConnection.h"
#include "sdk/network/GADCachedFileDelegate.h"

class GADCachedFile : public std::enable_shared_from_this<GADCachedFile> {
 public:
  // The query key of the cache buster; it never enters the file's path.
  static constexpr const char* kCacheBusterKey = "unique";
  // The folder for source URLs without a usable host name (relative URLs, "." or "..").
  static constexpr const char* kNoHostFolder = "_nohost";

  // Starts nothing.
  static std::shared_ptr<GADCachedFile> create(std::weak_ptr<GADCachedFileDelegate> delegate,
                                               pf::Url url);
  // The delegate is forgotten first; a fetch under way is cancelled. The cache file stays.
  ~GADCachedFile();
  GADCachedFile(const GADCachedFile&) = delete;
  GADCachedFile& operator=(const GADCachedFile&) = delete;

  std::weak_ptr<GADCachedFileDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<GADCachedFileDelegate> delegate) { delegate_ = std::move(delegate); }

  const pf::Url& sourceURL() const { return sourceURL_; }
  // The last request sent: the source URL until a fetch starts, then the URL asked for (with
  // the cache buster, after redirects the last target).
  const pf::Url& httpDestinationURL() const { return httpDestinationURL_; }
  // The last response that was not a followed redirect; 0 until one arrives.
  int httpStatusCode() const { return httpStatusCode_; }
  // The header fields of the last response, followed redirects included.
  const pf::HTTPHeaderFields& httpHeaders() const { return httpHeaders_; }

  // A fetch that only has to reach the server (a tracking ping) keeps nothing: no
  // conditional request, the body is dropped, no cache file is written or removed. Stores by
  // default.
  bool storesBody() const { return storesBody_; }
  void setStoresBody(bool stores) { storesBody_ = stores; }

  // Starts a fetch, conditional when the cache file exists. Nothing while one is running.
  void validate();
  // The same with "unique=<now>" added to the URL, so no cache on the way answers.
  void validateWithCacheBuster();
  bool isFetching() const { return connection_ != nullptr; }
  // Stops the fetch; the delegate hears nothing of it.
  void cancel();
  // Stops the fetch and deletes the cache file (a failure to delete is ignored).
  void invalidate();

  // The cache file's path; none while the platform gives no caches folder (then asked again
  // at the next use). Kept once known.
  std::optional<std::string> filePath() const;
  // The cache file as text; none when it is missing or not UTF-8.
  std::optional<std::string> content() const;
  // Whether the cache file exists (an empty one counts).
  bool hasContent() const;
  // The cache file's modification time, whole seconds, as GADHTTPDate::format writes it
  // (no zone); none when the file cannot be examined.
  std::optional<std::string> fileModificationDate() const;

  // "<GADCachedFile: 0x…> HTTP code: 200\n\turl: http://…\n\tfile: /…" for logs.
  std::string description() const;

  // The 32-bit FNV-1a hash the file name is made of; it must not change between releases,
  // or every cached file is lost.
  static uint32_t stableHash(std::string_view text);

 private:
  class ConnectionEvents;

  GADCachedFile(std::weak_ptr<GADCachedFileDelegate> delegate, pf::Url url);

  void beginFetch(bool withCacheBuster);
  void cleanUpConnection();
  void saveHeadersFromResponse(const pf::URLResponse& response);
  // Connection events, forwarded by the current fetch's ConnectionEvents until it is closed.
  std::optional<pf::URLRequest> connectionWillSendRequest(
      const ConnectionEvents& fetch, const pf::URLRequest& request,
      const std::optional<pf::URLResponse>& redirectResponse);
  void connectionDidReceiveResponse(const pf::URLResponse& response);
  void connectionDidReceiveData(std::string_view data);
  void connectionDidFinishLoading();
  void connectionDidFailWithError(const pf::Error& error);

  // Writes the body and sets the file's times; the write error when it fails.
  std::optional<pf::Error> storeReceivedData();

  void notifyDidEnd();
  void notifyDidFail(const std::optional<pf::Error>& error);

  std::weak_ptr<GADCachedFileDelegate> delegate_;  // not retained
  pf::Url sourceURL_;
  mutable std::optional<std::string> filePath_;
  std::shared_ptr<pf::URLConnection> connection_;
  std::shared_ptr<ConnectionEvents> events_;  // the connection's delegate; one per fetch, closed when it ends
  std::optional<std::string> receivedData_;   // present exactly while fetching
  std::string receivedModificationDate_;      // "Last-Modified" of a 200, cut before "GMT"
  pf::Url httpDestinationURL_;
  int httpStatusCode_ = 0;
  pf::HTTPHeaderFields httpHeaders_;
  bool storesBody_ = true;
};
