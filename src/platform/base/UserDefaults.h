#pragma once
// pf::UserDefaults: small persisted settings by key, as the phone's user defaults.
//
// Two domains are searched in order: the persistent domain (what was set, kept in a binary
// property list at <preferences>/<bundle id>.plist) and under it the registration domain
// (registerDefaults(), never written; it starts with "AppleLanguages", the user's preferred
// languages from the environment).
//
//   auto defaults = pf::UserDefaults::standardUserDefaults();
//   defaults->setObject("applicationTimeout", 30.0);
//   double t = defaults->doubleForKey("applicationTimeout").value_or(0);
//   defaults->synchronize();   // to disk now; nothing is written before that
//
// The file is replaced atomically (FileManager::writeFileAtomically), so a crash during
// synchronize() leaves the previous file whole. A file that cannot be parsed is moved aside
// to "<name>.corrupt-<UTC time>" (kept for a person to look at) and the store starts empty.
//
// Values must be what a property list holds (PropertyList.h): setObject refuses, with a log
// line, a value with a null array element, non-UTF-8 text or a date out of range, and keeps
// the old one. Null dictionary entries inside a value are left out, in memory as on disk, so
// what is read before and after a restart is the same. Setting null removes the key.
// Safe to use from several threads.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Error.h"
#include "platform/base/Value.h"

namespace pf {

class UserDefaults {
 public:
  static constexpr const char* kDefaultBundleIdentifier = "com.kelvarn.ashenmoor";
  static constexpr const char* kAppleLanguagesKey = "AppleLanguages";

  // The shared store at standardPath(), loaded on first use.
  static std::shared_ptr<UserDefaults> standardUserDefaults();
  // Forgets the shared store (unsaved changes included): the next standardUserDefaults()
  // loads afresh from the FileManager's current locations. Tests call it between cases.
  static void resetStandardUserDefaults();

  static void setBundleIdentifier(std::string identifier);
  static std::string bundleIdentifier();
  // <FileManager locations().preferences>/<bundle id>.plist
  static std::string standardPath();

  // A store over the file at `path`, loaded now (a missing file is an empty store).
  static std::shared_ptr<UserDefaults> create(std::string path);

  const std::string& path() const { return path_; }

  // Getters answer from the persistent domain, else the registration domain; null / none
  // when the key is missing or holds another kind (as Value's accessors convert: integer
  // and real into each other, nothing else).
  Value objectForKey(std::string_view key) const;
  std::optional<std::string> stringForKey(std::string_view key) const;
  std::optional<int64_t> integerForKey(std::string_view key) const;
  std::optional<bool> boolForKey(std::string_view key) const;
  std::optional<double> doubleForKey(std::string_view key) const;
  std::optional<double> dateForKey(std::string_view key) const;  // seconds since 2001
  std::optional<std::string> dataForKey(std::string_view key) const;
  std::optional<Value> dictionaryForKey(std::string_view key) const;  // a dictionary Value
  std::optional<Value> arrayForKey(std::string_view key) const;       // an array Value

  // Sets the key in the persistent domain; null removes it. False (and a log line) when a
  // property list cannot hold the value; the key is then left as it was.
  bool setObject(std::string_view key, const Value& value);
  void removeObjectForKey(std::string_view key);

  // Adds the dictionary's entries to the registration domain (an entry replaces an earlier
  // registration of its key). Ignored unless `dictionary` is a dictionary.
  void registerDefaults(const Value& dictionary);

  // Both domains merged, the persistent one winning.
  Value dictionaryRepresentation() const;
  // What synchronize() writes.
  Value persistentDomain() const;

  // Writes the persistent domain when it changed since the last load or write, creating the
  // preferences folder when needed. False when the file could not be written; the changes
  // are kept and the next call tries again.
  bool synchronize(Error* error = nullptr);

  // The user's languages as language tags, most preferred first: $LANGUAGE (a colon list),
  // else the first set of $LC_ALL, $LC_MESSAGES, $LANG; "en" when none names a language.
  static std::vector<std::string> preferredLanguagesFromEnvironment();
  // "en_GB.UTF-8" → "en-GB", "de_DE@euro" → "de-DE", "fr" → "fr"; none for "C", "POSIX", "".
  static std::optional<std::string> languageTagForLocale(std::string_view locale);

  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

 private:
  explicit UserDefaults(std::string path);
  void load();
  Value lookUp(std::string_view key) const;

  mutable std::mutex mutex_;
  const std::string path_;
  Value persistent_ = Value::dictionary();
  Value registration_ = Value::dictionary();
  bool dirty_ = false;  // the persistent domain differs from the file
};

}  // namespace pf
