#pragma once
// pf::FileManager: the application's folders and the file operations the system needs.
//
// The folders follow the XDG base directories on the desktop:
//
//   caches       $XDG_CACHE_HOME/ashenmoor               (~/.cache/ashenmoor)
//   preferences  $XDG_CONFIG_HOME/ashenmoor/Preferences  (~/.config/ashenmoor/Preferences)
//   data         $XDG_DATA_HOME/ashenmoor                (~/.local/share/ashenmoor; cookie jar)
//   home         <data>/home       the app's own home: Documents and iTunesMetadata.plist
//   documents    <home>/Documents
//
// Tests lay them all under a temporary folder: setLocations(FileLocations::under(dir)).
// Folders are not created up front; whoever writes into one creates it first.
//
// Every operation that can fail answers false / none and, when `error` is given, fills it
// with an Error in kPOSIXErrorDomain whose code is the errno value. Dates are seconds since
// 1 January 2001 (pf::Clock's count).
//
//   auto& files = pf::FileManager::defaultManager();
//   pf::Error error("", 0);
//   if (!files.createDirectory(files.locations().caches, true, &error) ||
//       !files.writeFileAtomically(files.locations().caches + "/core.js", bytes, &error))
//     pf::Log::message("<Diziva> " + error.localizedDescription());
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Error.h"

namespace pf {

inline constexpr const char* kPOSIXErrorDomain = "NSPOSIXErrorDomain";

struct FileLocations {
  std::string home;
  std::string documents;
  std::string caches;
  std::string preferences;
  std::string data;

  // The desktop locations from $XDG_CACHE_HOME, $XDG_CONFIG_HOME, $XDG_DATA_HOME and $HOME.
  static FileLocations fromEnvironment();
  // The same with `folder` in place of "ashenmoor" (an application that hosts the ad layer
  // keeps its files under its own name).
  static FileLocations fromEnvironment(const std::string& folder);
  // All of them under one folder: <root>/Caches, <root>/Preferences, <root>/Data,
  // <root>/Data/home and <root>/Data/home/Documents.
  static FileLocations under(const std::string& root);

  bool operator==(const FileLocations&) const = default;
};

class FileManager {
 public:
  // The process's file manager; its locations start as FileLocations::fromEnvironment().
  static FileManager& defaultManager();

  FileLocations locations() const;
  void setLocations(FileLocations locations);

  // Whether anything is at `path` (a symbolic link is followed).
  bool fileExists(const std::string& path) const;
  bool fileExists(const std::string& path, bool* isDirectory) const;
  bool isDirectory(const std::string& path) const;

  std::optional<std::string> readFile(const std::string& path, Error* error = nullptr) const;

  // Replaces the file at `path` with `bytes` so that, whatever happens (crash, full disk,
  // power cut), the path holds either the old bytes or the new ones: a temporary file in the
  // same folder is written, flushed to disk, renamed over `path`, and the folder flushed.
  // The folder must exist.
  bool writeFileAtomically(const std::string& path, std::string_view bytes,
                           Error* error = nullptr) const;
  // The same without the flushes: a crash of the process still leaves the old bytes or the
  // new ones, but a power cut may leave an empty or short file. For caches, which can be
  // fetched again, and written where a flush would stall the main thread for milliseconds.
  bool replaceFile(const std::string& path, std::string_view bytes, Error* error = nullptr) const;

  // Removes a file, or a folder with everything in it. A symbolic link is removed, not followed.
  bool removeItem(const std::string& path, Error* error = nullptr) const;
  // Renames within one file system; an existing file at `to` is replaced.
  bool moveItem(const std::string& from, const std::string& to, Error* error = nullptr) const;
  // With intermediates, missing parents are made too and an existing folder is success.
  bool createDirectory(const std::string& path, bool withIntermediates,
                       Error* error = nullptr) const;
  // Names in a folder, sorted, without "." and "..".
  std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path,
                                                              Error* error = nullptr) const;

  std::optional<uint64_t> fileSize(const std::string& path, Error* error = nullptr) const;
  // Read to the nanosecond the file system keeps; set in whole seconds (the fraction dropped).
  std::optional<double> modificationDate(const std::string& path, Error* error = nullptr) const;
  std::optional<double> accessDate(const std::string& path, Error* error = nullptr) const;
  bool setModificationDate(const std::string& path, double secondsSince2001,
                           Error* error = nullptr) const;
  bool setAccessDate(const std::string& path, double secondsSince2001,
                     Error* error = nullptr) const;

  // The folder part and the last component of a path ("/a/b.plist" → "/a", "b.plist").
  static std::string directoryOf(const std::string& path);
  static std::string lastComponent(const std::string& path);

  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

 private:
  FileManager();
  bool replace(const std::string& path, std::string_view bytes, bool flush, Error* error) const;

  mutable std::mutex mutex_;
  FileLocations locations_;
};

}  // namespace pf
