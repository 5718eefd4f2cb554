#include "platform/base/FileManager.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/base/Clock.h"

namespace pf {

namespace {

constexpr const char* kAppFolder = "ashenmoor";

void fail(Error* error, const char* operation, const std::string& path, int code) {
  if (!error) return;
  *error = Error(kPOSIXErrorDomain, code,
                 Value::dictionary({
                     {kLocalizedDescriptionKey,
                      std::string(operation) + " \"" + path + "\": " + std::strerror(code)},
                     {"NSFilePath", path},
                 }));
}

// An absolute path from the environment, or none (XDG says relative values are ignored).
std::optional<std::string> absoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || value[0] != '/') return std::nullopt;
  return std::string(value);
}

std::string homeFolder() {
  if (auto home = absoluteFromEnvironment("HOME")) return *home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";  // no home at all: somewhere writable rather than the working directory
}

double toSince2001(const timespec& ts) {
  return Clock::from1970(static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9);
}

bool closeChecked(int fd) {
  // The file is gone from our hands either way; EINTR after close on Linux means closed.
  return ::close(fd) == 0 || errno == EINTR;
}

bool writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// A fresh file beside `path`, created with the usual 0666 less umask (mkstemp would make it
// 0600 and reading the umask is not thread-safe). Answers the descriptor and fills `tempPath`.
int createTemporaryBeside(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  std::string stem = FileManager::directoryOf(path) + "/." + FileManager::lastComponent(path) + ".tmp-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tempPath = stem + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
               std::to_string(ts.tv_nsec);
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool setTime(const std::string& path, double secondsSince2001, bool modification, Error* error) {
  double since1970 = std::floor(Clock::to1970(secondsSince2001));
  timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(since1970);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  times[modification ? 0 : 1].tv_nsec = UTIME_OMIT;  // leave the other time as it is
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
    fail(error, "Cannot set the date of", path, errno);
    return false;
  }
  return true;
}

}  // namespace

FileLocations FileLocations::fromEnvironment() { return fromEnvironment(kAppFolder); }

FileLocations FileLocations::fromEnvironment(const std::string& folder) {
  std::string home = homeFolder();
  std::string cache = absoluteFromEnvironment("XDG_CACHE_HOME").value_or(home + "/.cache");
  std::string config = absoluteFromEnvironment("XDG_CONFIG_HOME").value_or(home + "/.config");
  std::string data = absoluteFromEnvironment("XDG_DATA_HOME").value_or(home + "/.local/share");
  FileLocations l;
  l.caches = cache + "/" + folder;
  l.preferences = config + "/" + folder + "/Preferences";
  l.data = data + "/" + folder;
  l.home = l.data + "/home";
  l.documents = l.home + "/Documents";
  return l;
}

FileLocations FileLocations::under(const std::string& root) {
  FileLocations l;
  l.caches = root + "/Caches";
  l.preferences = root + "/Preferences";
  l.data = root + "/Data";
  l.home = l.data + "/home";
  l.documents = l.home + "/Documents";
  return l;
}

FileManager::FileManager() : locations_(FileLocations::fromEnvironment()) {}

FileManager& FileManager::defaultManager() {
  static FileManager manager;
  return manager;
}

FileLocations FileManager::locations() const {
  std::lock_guard lock(mutex_);
  return locations_;
}

void FileManager::setLocations(FileLocations locations) {
  std::lock_guard lock(mutex_);
  locations_ = std::move(locations);
}

bool FileManager::fileExists(const std::string& path) const { return fileExists(path, nullptr); }

bool FileManager::fileExists(const std::string& path, bool* isDirectory) const {
  struct stat st{};
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (isDirectory) *isDirectory = exists && S_ISDIR(st.st_mode);
  return exists;
}

bool FileManager::isDirectory(const std::string& path) const {
  bool directory = false;
  return fileExists(path, &directory) && directory;
}

std::optional<std::string> FileManager::readFile(const std::string& path, Error* error) const {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    fail(error, "Cannot open", path, errno);
    return std::nullopt;
  }
  std::string bytes;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int code = errno;  // EISDIR for a folder
      ::close(fd);
      fail(error, "Cannot read", path, code);
      return std::nullopt;
    }
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

bool FileManager::writeFileAtomically(const std::string& path, std::string_view bytes,
                                      Error* error) const {
  return replace(path, bytes, true, error);
}

bool FileManager::replaceFile(const std::string& path, std::string_view bytes, Error* error) const {
  return replace(path, bytes, false, error);
}

bool FileManager::replace(const std::string& path, std::string_view bytes, bool flush, Error* error) const {
  std::string tempPath;
  int fd = createTemporaryBeside(path, tempPath);
  if (fd < 0) {
    fail(error, "Cannot create a temporary file for", path, errno);
    return false;
  }
  // Flushed, the data is on disk before the rename makes it the file: otherwise a power cut
  // could leave the new name pointing at empty or partial contents.
  if (!writeAll(fd, bytes) || (flush && ::fsync(fd) != 0)) {
    int code = errno;
    ::close(fd);
    ::unlink(tempPath.c_str());
    fail(error, "Cannot write", path, code);
    return false;
  }
  if (!closeChecked(fd)) {
    int code = errno;
    ::unlink(tempPath.c_str());
    fail(error, "Cannot write", path, code);
    return false;
  }
  if (::rename(tempPath.c_str(), path.c_str()) != 0) {
    int code = errno;
    ::unlink(tempPath.c_str());
    fail(error, "Cannot replace", path, code);
    return false;
  }
  if (!flush) return true;
  // And the rename itself must reach the disk, which takes flushing the folder.
  int dir = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) {
    fail(error, "Cannot flush the folder of", path, errno);
    return false;
  }
  bool flushed = ::fsync(dir) == 0 || errno == EINVAL;  // EINVAL: a file system without it
  int code = errno;
  ::close(dir);
  if (!flushed) {
    fail(error, "Cannot flush the folder of", path, code);  // the new bytes are in place
    return false;
  }
  return true;
}

bool FileManager::removeItem(const std::string& path, Error* error) const {
  struct stat st{};
  std::error_code ec;
  if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::filesystem::remove_all(path, ec);
  } else if (::unlink(path.c_str()) != 0) {
    ec = std::error_code(errno, std::generic_category());
  }
  if (ec) {
    fail(error, "Cannot remove", path, ec.value());
    return false;
  }
  return true;
}

bool FileManager::moveItem(const std::string& from, const std::string& to, Error* error) const {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    fail(error, "Cannot move", from, errno);
    return false;
  }
  return true;
}

bool FileManager::createDirectory(const std::string& path, bool withIntermediates,
                                  Error* error) const {
  if (!withIntermediates) {
    if (::mkdir(path.c_str(), 0777) != 0) {
      fail(error, "Cannot create the folder", path, errno);
      return false;
    }
    return true;
  }
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) {
    fail(error, "Cannot create the folder", path, ec.value());
    return false;
  }
  if (!isDirectory(path)) {  // create_directories accepts an existing file silently
    fail(error, "Cannot create the folder", path, EEXIST);
    return false;
  }
  return true;
}

std::optional<std::vector<std::string>> FileManager::contentsOfDirectory(const std::string& path,
                                                                         Error* error) const {
  std::error_code ec;
  std::vector<std::string> names;
  for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  if (ec) {
    fail(error, "Cannot list the folder", path, ec.value());
    return std::nullopt;
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<uint64_t> FileManager::fileSize(const std::string& path, Error* error) const {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) {
    fail(error, "Cannot read the attributes of", path, errno);
    return std::nullopt;
  }
  return static_cast<uint64_t>(st.st_size);
}

std::optional<double> FileManager::modificationDate(const std::string& path, Error* error) const {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) {
    fail(error, "Cannot read the attributes of", path, errno);
    return std::nullopt;
  }
  return toSince2001(st.st_mtim);
}

std::optional<double> FileManager::accessDate(const std::string& path, Error* error) const {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) {
    fail(error, "Cannot read the attributes of", path, errno);
    return std::nullopt;
  }
  return toSince2001(st.st_atim);
}

bool FileManager::setModificationDate(const std::string& path, double secondsSince2001,
                                      Error* error) const {
  return setTime(path, secondsSince2001, true, error);
}

bool FileManager::setAccessDate(const std::string& path, double secondsSince2001,
                                Error* error) const {
  return setTime(path, secondsSince2001, false, error);
}

std::string FileManager::directoryOf(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  size_t slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return p.substr(0, slash);
}

std::string FileManager::lastComponent(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace pf
