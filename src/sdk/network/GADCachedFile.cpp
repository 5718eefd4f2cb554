#include "sdk/network/GADCachedFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

#include "platform/base/Clock.h"
#include "platform/base/FileManager.h"
#include "platform/net/URLConnectionDelegate.h"
#include "sdk/network/GADHTTPDate.h"
#include "sdk/utility/GADNetworkUtilities.h"

namespace {

// A host name is a folder name here; anything that would step out of the caches folder or
// cannot be a file name goes to the no-host folder instead.
std::string folderForHost(const std::string& host) {
  if (host.empty() || host == "." || host == ".." || host.size() > 255 ||
      host.find('/') != std::string::npos || host.find('\0') != std::string::npos)
    return GADCachedFile::kNoHostFolder;
  return host;
}

}  // namespace

// The URLConnection's delegate for one fetch. The connection holds it weakly and the file
// owns it, so a file that is gone stops its connection; it holds the file weakly for the
// same reason. The file closes it when that fetch ends for it (its own end, cancel(),
// invalidate(), a new fetch, its destruction): from then on nothing is forwarded.
class GADCachedFile::ConnectionEvents final : public pf::URLConnectionDelegate {
 public:
  explicit ConnectionEvents(std::weak_ptr<GADCachedFile> file) : file_(std::move(file)) {}

  void close() { closed_ = true; }
  bool isClosed() const { return closed_; }

  std::optional<pf::URLRequest> connectionWillSendRequest(
      pf::URLConnection&, const pf::URLRequest& request,
      const std::optional<pf::URLResponse>& redirectResponse) override {
    auto file = openFile();
    if (!file) return std::nullopt;
    // The delegate is asked about a redirect and may let go of the file while it answers,
    // which destroys it and closes this fetch. So the file is not kept alive across the
    // call: its owner's reference holds it until then, and the file looks at this fetch,
    // not at itself, once the delegate returns.
    GADCachedFile& target = *file;
    file.reset();
    return target.connectionWillSendRequest(*this, request, redirectResponse);
  }
  void connectionDidReceiveResponse(pf::URLConnection&, const pf::URLResponse& response) override {
    if (auto file = openFile()) file->connectionDidReceiveResponse(response);
  }
  void connectionDidReceiveData(pf::URLConnection&, std::string_view data) override {
    if (auto file = openFile()) file->connectionDidReceiveData(data);
  }
  void connectionDidFinishLoading(pf::URLConnection&) override {
    if (auto file = openFile()) file->connectionDidFinishLoading();
  }
  void connectionDidFailWithError(pf::URLConnection&, const pf::Error& error) override {
    if (auto file = openFile()) file->connectionDidFailWithError(error);
  }

 private:
  std::shared_ptr<GADCachedFile> openFile() const { return closed_ ? nullptr : file_.lock(); }

  std::weak_ptr<GADCachedFile> file_;
  bool closed_ = false;
};

std::shared_ptr<GADCachedFile> GADCachedFile::create(std::weak_ptr<GADCachedFileDelegate> delegate,
                                                     pf::Url url) {
  return std::shared_ptr<GADCachedFile>(new GADCachedFile(std::move(delegate), std::move(url)));
}

GADCachedFile::GADCachedFile(std::weak_ptr<GADCachedFileDelegate> delegate, pf::Url url)
    : delegate_(std::move(delegate)), sourceURL_(url), httpDestinationURL_(std::move(url)) {}

GADCachedFile::~GADCachedFile() {
  delegate_.reset();
  cleanUpConnection();
}

uint32_t GADCachedFile::stableHash(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::optional<std::string> GADCachedFile::filePath() const {
  if (filePath_) return filePath_;
  std::string caches = pf::FileManager::defaultManager().locations().caches;
  if (caches.empty()) return std::nullopt;  // asked again next time
  char name[16];
  std::snprintf(name, sizeof name, "%x", stableHash(sourceURL_.absoluteString()));
  filePath_ = caches + "/" + folderForHost(sourceURL_.host()) + "/" + name;
  return filePath_;
}

std::optional<std::string> GADCachedFile::content() const {
  auto path = filePath();
  if (!path) return std::nullopt;
  auto bytes = pf::FileManager::defaultManager().readFile(*path);
  if (!bytes || !pf::Url::isValidUtf8(*bytes)) return std::nullopt;
  return bytes;
}

bool GADCachedFile::hasContent() const {
  auto path = filePath();
  bool isDirectory = false;
  return path && pf::FileManager::defaultManager().fileExists(*path, &isDirectory) && !isDirectory;
}

std::optional<std::string> GADCachedFile::fileModificationDate() const {
  auto path = filePath();
  if (!path) return std::nullopt;
  auto date = pf::FileManager::defaultManager().modificationDate(*path);
  if (!date) return std::nullopt;
  return GADHTTPDate::format(static_cast<int64_t>(std::floor(pf::Clock::to1970(*date))));
}

std::string GADCachedFile::description() const {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
  return "<GADCachedFile: " + std::string(address) +
         "> HTTP code: " + std::to_string(httpStatusCode_) +
         "\n\turl: " + sourceURL_.absoluteString() + "\n\tfile: " + filePath().value_or("(null)");
}

void GADCachedFile::validate() {
  if (!isFetching()) beginFetch(false);
}

void GADCachedFile::validateWithCacheBuster() {
  if (!isFetching()) beginFetch(true);
}

void GADCachedFile::cancel() { cleanUpConnection(); }

void GADCachedFile::invalidate() {
  cleanUpConnection();
  if (!storesBody_) return;  // nothing was written
  if (auto path = filePath()) pf::FileManager::defaultManager().removeItem(*path);
}

void GADCachedFile::cleanUpConnection() {
  if (events_) events_->close();
  if (connection_) connection_->cancel();
  connection_.reset();
  events_.reset();
  receivedData_.reset();
  receivedModificationDate_.clear();
}

void GADCachedFile::beginFetch(bool withCacheBuster) {
  std::optional<pf::Url> url = sourceURL_;
  if (withCacheBuster) {
    char now[64];
    std::snprintf(now, sizeof now, "%.0f", pf::Clock::now());
    url = GADNetworkUtilities::appendQueryKeyValueToURL(kCacheBusterKey, now, sourceURL_);
  }
  if (url) {
    pf::URLRequest request(*url, pf::URLRequestCachePolicy::ReloadIgnoringLocalCacheData);
    request.setHTTPShouldHandleCookies(true);
    const auto& userAgent = GADNetworkUtilities::userAgentString();
    if (userAgent && !userAgent->empty()) request.setValueForHTTPHeaderField(*userAgent, "User-Agent");
    if (auto since = storesBody_ ? fileModificationDate() : std::nullopt)
      request.setValueForHTTPHeaderField(*since + " GMT", "If-Modified-Since");

    auto events = std::make_shared<ConnectionEvents>(weak_from_this());
    // Made stopped, so connection_ is set before anything can come back from it.
    connection_ = pf::URLConnection::create(request, events, /*startImmediately=*/false);
    if (connection_) {
      events_ = std::move(events);
      receivedData_.emplace();
      connection_->start();
      return;
    }
  }
  notifyDidFail(std::nullopt);
}

std::optional<pf::URLRequest> GADCachedFile::connectionWillSendRequest(
    const ConnectionEvents& fetch, const pf::URLRequest& request,
    const std::optional<pf::URLResponse>& redirectResponse) {
  httpDestinationURL_ = request.url();
  if (!redirectResponse) return request;

  saveHeadersFromResponse(*redirectResponse);
  auto delegate = delegate_.lock();
  if (!delegate) return request;
  std::optional<pf::Error> refusal = delegate->cachedFileShouldRedirectToURL(*this, request.url());
  // The delegate may have cancelled, restarted or let go of us meanwhile: each closes this
  // fetch, which hears nothing more. Once let go of, `this` is gone: only `fetch` (kept by
  // the connection for the length of this call) may be looked at.
  if (fetch.isClosed()) return request;
  if (refusal) {
    cleanUpConnection();  // cancels the connection, so what we return is not sent
    notifyDidFail(refusal);
  }
  return request;
}

void GADCachedFile::connectionDidReceiveResponse(const pf::URLResponse& response) {
  httpStatusCode_ = response.statusCode();
  saveHeadersFromResponse(response);
  receivedData_.emplace();  // a new response restarts the body
  switch (httpStatusCode_) {
    case 200: {
      std::string lastModified = response.valueForHTTPHeaderField("Last-Modified").value_or("");
      if (auto gmt = lastModified.find("GMT"); gmt != std::string::npos) lastModified.resize(gmt);
      receivedModificationDate_ = std::move(lastModified);
      break;
    }
    case 304:
      // Idle before the delegate hears of it, so it may start the next fetch from there.
      cleanUpConnection();
      notifyDidEnd();
      break;
    default:
      cleanUpConnection();
      notifyDidFail(std::nullopt);
      break;
  }
}

void GADCachedFile::connectionDidReceiveData(std::string_view data) {
  if (receivedData_ && storesBody_) receivedData_->append(data);
}

void GADCachedFile::connectionDidFinishLoading() {
  // The file and its time are in place before the delegate hears, so what it reads (content,
  // fileModificationDate) is the new state; and the fetch is over before it hears.
  std::optional<pf::Error> writeError = storesBody_ ? storeReceivedData() : std::nullopt;
  cleanUpConnection();
  if (writeError)
    notifyDidFail(writeError);
  else
    notifyDidEnd();
}

void GADCachedFile::connectionDidFailWithError(const pf::Error& error) {
  pf::Error kept = error;  // cleaning up drops the connection that may own `error`
  cleanUpConnection();
  notifyDidFail(kept);
}

std::optional<pf::Error> GADCachedFile::storeReceivedData() {
  auto& files = pf::FileManager::defaultManager();
  auto path = filePath();
  if (!path)
    return pf::Error::withDescription(pf::kPOSIXErrorDomain, ENOENT,
                                      "There is no caches folder to store the download in.");
  pf::Error error("", 0);
  std::string folder = pf::FileManager::directoryOf(*path);
  if (!files.isDirectory(folder) && !files.createDirectory(folder, true, &error)) return error;
  // A cache can be fetched again: replaced whole, but not flushed to disk, which would hold
  // the main thread for milliseconds at every ad.
  if (!files.replaceFile(*path, receivedData_.value_or(""), &error)) return error;

  // The file's time mirrors the server's, so the next fetch asks "If-Modified-Since" it.
  // Without a readable "Last-Modified" the write time stays.
  if (!receivedModificationDate_.empty()) {
    if (auto modified = GADHTTPDate::parse(receivedModificationDate_)) {
      double since2001 = pf::Clock::from1970(static_cast<double>(*modified));
      files.setAccessDate(*path, since2001);
      files.setModificationDate(*path, since2001);
    }
  }
  receivedModificationDate_.clear();
  return std::nullopt;
}

void GADCachedFile::saveHeadersFromResponse(const pf::URLResponse& response) {
  httpHeaders_ = response.allHeaderFields();
}

void GADCachedFile::notifyDidEnd() {
  if (auto delegate = delegate_.lock()) delegate->cachedFileDownloadDidEnd(*this);
}

void GADCachedFile::notifyDidFail(const std::optional<pf::Error>& error) {
  if (auto delegate = delegate_.lock()) delegate->cachedFileDownloadDidFail(*this, error);
}
