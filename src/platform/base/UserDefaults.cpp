#include "platform/base/UserDefaults.h"

#include <errno.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>

#include "platform/base/FileManager.h"
#include "platform/base/Log.h"
#include "platform/base/PropertyList.h"

namespace pf {

namespace {

struct Shared {
  std::mutex mutex;
  std::shared_ptr<UserDefaults> standard;
  std::string bundleIdentifier = UserDefaults::kDefaultBundleIdentifier;
};

Shared& shared() {
  static Shared s;
  return s;
}

std::string utcStamp() {
  time_t now = time(nullptr);
  tm utc{};
  gmtime_r(&now, &utc);
  char buf[32];
  strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &utc);
  return buf;
}

// Moves an unreadable preferences file out of the way, never over an earlier one.
void moveAside(const std::string& path) {
  auto& files = FileManager::defaultManager();
  std::string aside = path + ".corrupt-" + utcStamp();
  for (int n = 2; files.fileExists(aside) && n < 1000; ++n) {
    aside = path + ".corrupt-" + utcStamp() + "-" + std::to_string(n);
  }
  Error error("", 0);
  if (files.moveItem(path, aside, &error)) {
    Log::message("UserDefaults: " + path + " is not a property list; moved it to " + aside +
                 " and started empty");
  } else {
    Log::message("UserDefaults: " + path + " is not a property list and could not be moved aside (" +
                 error.localizedDescription() + "); started empty");
  }
}

}  // namespace

std::shared_ptr<UserDefaults> UserDefaults::standardUserDefaults() {
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  if (!s.standard) {
    s.standard = create(FileManager::defaultManager().locations().preferences + "/" +
                        s.bundleIdentifier + ".plist");
  }
  return s.standard;
}

void UserDefaults::resetStandardUserDefaults() {
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  s.standard.reset();
}

void UserDefaults::setBundleIdentifier(std::string identifier) {
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  s.bundleIdentifier = std::move(identifier);
}

std::string UserDefaults::bundleIdentifier() {
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  return s.bundleIdentifier;
}

std::string UserDefaults::standardPath() {
  return FileManager::defaultManager().locations().preferences + "/" + bundleIdentifier() +
         ".plist";
}

std::shared_ptr<UserDefaults> UserDefaults::create(std::string path) {
  std::shared_ptr<UserDefaults> defaults(new UserDefaults(std::move(path)));
  defaults->load();
  return defaults;
}

UserDefaults::UserDefaults(std::string path) : path_(std::move(path)) {
  Value languages = Value::array();
  for (auto& tag : preferredLanguagesFromEnvironment()) languages.append(std::move(tag));
  registration_.set(kAppleLanguagesKey, std::move(languages));
}

void UserDefaults::load() {
  auto& files = FileManager::defaultManager();
  Error error("", 0);
  auto bytes = files.readFile(path_, &error);
  if (!bytes) {
    if (error.code() != ENOENT) {
      Log::message("UserDefaults: cannot read " + path_ + " (" + error.localizedDescription() +
                   "); started empty");
    }
    return;
  }
  auto value = PropertyList::read(*bytes);
  if (!value || !value->isDictionary()) {
    moveAside(path_);
    return;
  }
  persistent_ = std::move(*value);
}

Value UserDefaults::lookUp(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (persistent_.contains(key)) return persistent_[key];
  return registration_[key];
}

Value UserDefaults::objectForKey(std::string_view key) const { return lookUp(key); }

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const {
  return lookUp(key).asString();
}

std::optional<int64_t> UserDefaults::integerForKey(std::string_view key) const {
  return lookUp(key).asInteger();
}

std::optional<bool> UserDefaults::boolForKey(std::string_view key) const {
  return lookUp(key).asBoolean();
}

std::optional<double> UserDefaults::doubleForKey(std::string_view key) const {
  return lookUp(key).asReal();
}

std::optional<double> UserDefaults::dateForKey(std::string_view key) const {
  return lookUp(key).asDate();
}

std::optional<std::string> UserDefaults::dataForKey(std::string_view key) const {
  return lookUp(key).asData();
}

std::optional<Value> UserDefaults::dictionaryForKey(std::string_view key) const {
  Value v = lookUp(key);
  if (!v.isDictionary()) return std::nullopt;
  return v;
}

std::optional<Value> UserDefaults::arrayForKey(std::string_view key) const {
  Value v = lookUp(key);
  if (!v.isArray()) return std::nullopt;
  return v;
}

bool UserDefaults::setObject(std::string_view key, const Value& value) {
  if (value.isNull()) {
    removeObjectForKey(key);
    return true;
  }
  // Checked as an entry, so the key's text is checked too.
  auto entry = PropertyList::storable(Value::dictionary({{std::string(key), value}}));
  if (!entry) {
    Log::message("UserDefaults: refusing a value a property list cannot hold for key \"" +
                 std::string(key) + "\": " + value.description());
    return false;
  }
  std::lock_guard lock(mutex_);
  persistent_.set(std::string(key), (*entry)[key]);
  dirty_ = true;
  return true;
}

void UserDefaults::removeObjectForKey(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (persistent_.remove(key)) dirty_ = true;
}

void UserDefaults::registerDefaults(const Value& dictionary) {
  const Value::Dictionary* entries = dictionary.asDictionary();
  if (!entries) return;
  std::lock_guard lock(mutex_);
  for (const auto& [key, value] : *entries) registration_.set(key, value);
}

Value UserDefaults::dictionaryRepresentation() const {
  std::lock_guard lock(mutex_);
  Value merged = registration_;
  for (const auto& [key, value] : *persistent_.asDictionary()) merged.set(key, value);
  return merged;
}

Value UserDefaults::persistentDomain() const {
  std::lock_guard lock(mutex_);
  return persistent_;
}

bool UserDefaults::synchronize(Error* error) {
  std::lock_guard lock(mutex_);
  if (!dirty_) return true;
  auto bytes = PropertyList::write(persistent_, PropertyList::Format::Binary);
  if (!bytes) {  // setObject lets nothing unwritable in; kept as a guard
    if (error) *error = Error::withDescription("NSCocoaErrorDomain", 0, "Cannot encode " + path_);
    return false;
  }
  auto& files = FileManager::defaultManager();
  if (!files.createDirectory(FileManager::directoryOf(path_), true, error) ||
      !files.writeFileAtomically(path_, *bytes, error)) {
    return false;
  }
  dirty_ = false;
  return true;
}

std::optional<std::string> UserDefaults::languageTagForLocale(std::string_view locale) {
  size_t end = locale.find_first_of(".@");
  std::string_view name = locale.substr(0, end);
  if (name.empty() || name == "C" || name == "POSIX") return std::nullopt;
  std::string tag(name);
  std::replace(tag.begin(), tag.end(), '_', '-');
  return tag;
}

std::vector<std::string> UserDefaults::preferredLanguagesFromEnvironment() {
  std::vector<std::string> tags;
  if (const char* list = std::getenv("LANGUAGE"); list && *list) {
    std::string_view rest(list);
    while (!rest.empty()) {
      size_t colon = rest.find(':');
      auto tag = languageTagForLocale(rest.substr(0, colon));
      if (tag && std::find(tags.begin(), tags.end(), *tag) == tags.end()) tags.push_back(*tag);
      rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    if (!tags.empty()) return tags;
  }
  // POSIX precedence: the first of these that is set decides, even when it says "C".
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* locale = std::getenv(name); locale && *locale) {
      return {languageTagForLocale(locale).value_or("en")};
    }
  }
  return {"en"};
}

}  // namespace pf
