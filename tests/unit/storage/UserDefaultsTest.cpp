#include "platform/base/UserDefaults.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "FileSizeLimit.h"
#include "LogCapture.h"
#include "ScopedEnvironment.h"
#include "platform/base/FileManager.h"
#include "platform/base/PropertyList.h"
#include "platform/sim/SimHome.h"

using pf::UserDefaults;
using pf::Value;

namespace {

class UserDefaultsTest : public ::testing::Test {
 protected:
  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }
  std::string path() const { return files().locations().preferences + "/com.kelvarn.ashenmoor.plist"; }
  std::vector<std::string> preferenceFiles() const {
    return files().contentsOfDirectory(files().locations().preferences).value_or(std::vector<std::string>{});
  }
  pf::SimHome home_;
};

}  // namespace

// Every kind's round trip through a property list is PropertyListTest's; here: what is set
// is in the file after synchronize and comes back, typed, in a new store.
TEST_F(UserDefaultsTest, WhatIsSetPersistsIntoANewStore) {
  const Value nested = Value::dictionary({{"counts", Value::array({1, Value::dictionary({{"deep", true}})})}});
  {
    auto defaults = UserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->path(), path());
    defaults->setObject("bool", true);
    defaults->setObject("big", std::numeric_limits<int64_t>::max());
    defaults->setObject("real", 2.0 / 3.0);
    defaults->setObject("text", "Ashenmoor \xe2\x80\x94");
    defaults->setObject("date", Value::date(812345678.25));
    defaults->setObject("data", Value::data(std::string("\x00\xff", 2)));
    defaults->setObject("nested", nested);
    pf::Error error("", 0);
    ASSERT_TRUE(defaults->synchronize(&error)) << error.description();
  }
  UserDefaults::resetStandardUserDefaults();
  auto fresh = UserDefaults::standardUserDefaults();
  EXPECT_EQ(fresh->boolForKey("bool"), true);
  EXPECT_TRUE(fresh->objectForKey("bool").isBoolean());  // not turned into 1
  EXPECT_EQ(fresh->integerForKey("big"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(fresh->doubleForKey("real"), 2.0 / 3.0);
  EXPECT_EQ(fresh->stringForKey("text"), "Ashenmoor \xe2\x80\x94");
  EXPECT_NEAR(fresh->dateForKey("date").value_or(0), 812345678.25, 1e-5);
  EXPECT_EQ(fresh->dataForKey("data"), std::string("\x00\xff", 2));
  EXPECT_EQ(fresh->dictionaryForKey("nested"), nested);
  EXPECT_FALSE(fresh->dictionaryForKey("text"));  // another kind under a key reads as none
  EXPECT_FALSE(fresh->arrayForKey("nested"));
  // An ordinary property list under the preferences folder, registrations left out.
  auto onDisk = pf::PropertyList::read(files().readFile(path()).value_or(""));
  ASSERT_TRUE(onDisk);
  EXPECT_EQ((*onDisk)["real"], Value(2.0 / 3.0));
  EXPECT_FALSE(onDisk->contains(UserDefaults::kAppleLanguagesKey));
}

TEST_F(UserDefaultsTest, NothingReachesTheFileBeforeSynchronizeAndRemovalsPersistToo) {
  auto defaults = UserDefaults::create(path());
  defaults->setObject("a", 1);
  defaults->setObject("b", 2);
  defaults->setObject("c", 3);
  EXPECT_FALSE(files().fileExists(path()));
  EXPECT_FALSE(UserDefaults::create(path())->integerForKey("a"));
  ASSERT_TRUE(defaults->synchronize());
  EXPECT_EQ(UserDefaults::create(path())->integerForKey("a"), 1);
  defaults->setObject("a", Value());  // null removes
  defaults->removeObjectForKey("b");
  ASSERT_TRUE(defaults->synchronize());
  auto again = UserDefaults::create(path());
  EXPECT_TRUE(again->objectForKey("a").isNull());
  EXPECT_TRUE(again->objectForKey("b").isNull());
  EXPECT_EQ(again->persistentDomain(), Value::dictionary({{"c", 3}}));
}

TEST_F(UserDefaultsTest, ValuesAPropertyListCannotHoldAreRefused) {
  LogCapture log;
  auto defaults = UserDefaults::create(path());
  defaults->setObject("list", Value::array({"kept"}));
  EXPECT_FALSE(defaults->setObject("list", Value::array({1, Value(), 3})));
  EXPECT_FALSE(defaults->setObject("text", "\xc0\xaf"));
  EXPECT_FALSE(defaults->setObject(std::string("bad\xff", 4), 1));
  EXPECT_EQ(log.lines.size(), 3u);
  EXPECT_EQ(defaults->arrayForKey("list"), Value::array({"kept"}));
  EXPECT_TRUE(defaults->objectForKey("text").isNull());

  // Null entries inside a dictionary are dropped now, not only in the file, so the value
  // read back is the same before and after a restart.
  ASSERT_TRUE(defaults->setObject("d", Value::dictionary({{"x", 1}, {"nothing", Value()}})));
  const Value expected = Value::dictionary({{"x", 1}});
  EXPECT_EQ(defaults->dictionaryForKey("d"), expected);
  ASSERT_TRUE(defaults->synchronize());
  EXPECT_EQ(UserDefaults::create(path())->dictionaryForKey("d"), expected);
}

TEST_F(UserDefaultsTest, RegistrationDomainLiesUnderStoredValues) {
  auto defaults = UserDefaults::standardUserDefaults();
  defaults->registerDefaults(Value::dictionary({{"applicationTimeout", 30}, {"theme", "dark"}}));
  defaults->registerDefaults(Value::dictionary({{"theme", "light"}}));  // later wins
  defaults->registerDefaults(Value("not a dictionary"));                 // ignored
  EXPECT_EQ(defaults->integerForKey("applicationTimeout"), 30);
  EXPECT_EQ(defaults->stringForKey("theme"), "light");

  defaults->setObject("applicationTimeout", 5);
  EXPECT_EQ(defaults->integerForKey("applicationTimeout"), 5);
  Value all = defaults->dictionaryRepresentation();
  EXPECT_EQ(all["applicationTimeout"], Value(5));
  EXPECT_EQ(all["theme"], Value("light"));
  EXPECT_TRUE(all.contains(UserDefaults::kAppleLanguagesKey));

  defaults->removeObjectForKey("applicationTimeout");
  EXPECT_EQ(defaults->integerForKey("applicationTimeout"), 30);  // the registered one shows again

  // Registrations are never written: a new store has only what was set.
  defaults->setObject("stored", 1);
  ASSERT_TRUE(defaults->synchronize());
  UserDefaults::resetStandardUserDefaults();
  auto fresh = UserDefaults::standardUserDefaults();
  EXPECT_FALSE(fresh->stringForKey("theme"));
  EXPECT_EQ(fresh->persistentDomain(), Value::dictionary({{"stored", 1}}));
}

TEST_F(UserDefaultsTest, AppleLanguagesComeFromTheEnvironment) {
  // LANGUAGE first when it names a language, else the locale (LC_ALL, LC_MESSAGES, LANG) set first.
  static const struct {
    const char *language, *all, *messages, *lang;
    Value languages;
  } kCases[] = {
      {"fr_CA.UTF-8:fr::C:de_DE@euro:fr_CA", nullptr, nullptr, "en_US.UTF-8", Value::array({"fr-CA", "fr", "de-DE"})},
      {":C:", nullptr, nullptr, "en_US.UTF-8", Value::array({"en-US"})},
      {nullptr, nullptr, "pt_BR.ISO-8859-1", "en_US.UTF-8", Value::array({"pt-BR"})},
      {nullptr, "en_GB.UTF-8", "pt_BR.ISO-8859-1", "en_US.UTF-8", Value::array({"en-GB"})},
      {nullptr, "C.UTF-8", "pt_BR.ISO-8859-1", "en_US.UTF-8", Value::array({"en"})},  // set, so it decides
      {nullptr, "POSIX", nullptr, nullptr, Value::array({"en"})},
      {nullptr, nullptr, nullptr, nullptr, Value::array({"en"})},
  };
  ScopedEnvironment env;
  for (const auto& c : kCases) {
    env.set("LANGUAGE", c.language);
    env.set("LC_ALL", c.all);
    env.set("LC_MESSAGES", c.messages);
    env.set("LANG", c.lang);
    UserDefaults::resetStandardUserDefaults();
    EXPECT_EQ(UserDefaults::standardUserDefaults()->arrayForKey(UserDefaults::kAppleLanguagesKey), c.languages)
        << (c.language ? c.language : "") << " / " << (c.all ? c.all : "") << " / " << (c.messages ? c.messages : "");
  }
  // A stored value for the key wins over the environment's.
  auto defaults = UserDefaults::standardUserDefaults();
  defaults->setObject(UserDefaults::kAppleLanguagesKey, Value::array({"ja"}));
  EXPECT_EQ(defaults->arrayForKey(UserDefaults::kAppleLanguagesKey), Value::array({"ja"}));
}

TEST_F(UserDefaultsTest, ACorruptFileIsMovedAsideAndTheStoreStartsEmpty) {
  LogCapture log;
  ASSERT_TRUE(files().createDirectory(files().locations().preferences, true));
  const std::string garbage = "bplist00 this was cut short \x01\x02";
  ASSERT_TRUE(files().writeFileAtomically(path(), garbage));

  auto defaults = UserDefaults::standardUserDefaults();
  EXPECT_EQ(defaults->persistentDomain(), Value::dictionary());
  EXPECT_FALSE(files().fileExists(path()));
  auto names = preferenceFiles();
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(names[0].starts_with("com.kelvarn.ashenmoor.plist.corrupt-")) << names[0];
  EXPECT_EQ(files().readFile(files().locations().preferences + "/" + names[0]), garbage);
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_NE(log.lines[0].find(names[0]), std::string::npos) << log.lines[0];

  // The store works from there on.
  defaults->setObject("k", "v");
  ASSERT_TRUE(defaults->synchronize());
  EXPECT_EQ(UserDefaults::create(path())->stringForKey("k"), "v");

  // A second bad file (a property list, but not a dictionary) in the same second does not
  // replace the first one moved aside.
  auto array = pf::PropertyList::write(Value::array({1}), pf::PropertyList::Format::Xml);
  ASSERT_TRUE(files().writeFileAtomically(path(), *array));
  EXPECT_EQ(UserDefaults::create(path())->persistentDomain(), Value::dictionary());
  names = preferenceFiles();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(files().readFile(files().locations().preferences + "/" + names[0]), garbage);
  EXPECT_EQ(files().readFile(files().locations().preferences + "/" + names[1]), *array);
}

TEST_F(UserDefaultsTest, AFailedSynchronizeKeepsTheOldFileAndTheChanges) {
  auto defaults = UserDefaults::create(path());
  defaults->setObject("generation", 1);
  ASSERT_TRUE(defaults->synchronize());
  auto before = files().readFile(path());

  // A crashed earlier synchronize left its half-written temporary file behind.
  ASSERT_TRUE(files().writeFileAtomically(
      files().locations().preferences + "/.com.kelvarn.ashenmoor.plist.tmp-1-0-0", "bplist00\x01"));

  defaults->setObject("generation", 2);
  defaults->setObject("payload", std::string(200000, 'p'));
  {
    FileSizeLimit diskFull(8192);
    pf::Error error("", 0);
    EXPECT_FALSE(defaults->synchronize(&error));
    EXPECT_EQ(error.code(), EFBIG);
  }
  EXPECT_EQ(files().readFile(path()), before);
  EXPECT_EQ(UserDefaults::create(path())->integerForKey("generation"), 1);

  // The changes were kept; the next synchronize writes them.
  EXPECT_EQ(defaults->integerForKey("generation"), 2);
  ASSERT_TRUE(defaults->synchronize());
  auto after = UserDefaults::create(path());
  EXPECT_EQ(after->integerForKey("generation"), 2);
  EXPECT_EQ(after->stringForKey("payload")->size(), 200000u);
}

TEST_F(UserDefaultsTest, BundleIdentifierNamesTheFile) {
  UserDefaults::setBundleIdentifier("org.example.other");
  auto defaults = UserDefaults::standardUserDefaults();
  UserDefaults::setBundleIdentifier(UserDefaults::kDefaultBundleIdentifier);
  EXPECT_EQ(defaults->path(), files().locations().preferences + "/org.example.other.plist");
  defaults->setObject("x", 1);
  ASSERT_TRUE(defaults->synchronize());  // makes the preferences folder on the way
  EXPECT_TRUE(files().fileExists(files().locations().preferences + "/org.example.other.plist"));
  EXPECT_EQ(UserDefaults::standardPath(), path());
}
