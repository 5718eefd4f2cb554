#include "sdk/identifier/GADIdentifierUtilities.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <string>

#include "platform/base/FileManager.h"
#include "platform/base/PropertyList.h"
#include "platform/base/UserDefaults.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/sim/SimUIEnvironment.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "sdk/utility/GADMacros.h"

namespace {

// A device from a profile, the app's folders and preferences in a fresh temp folder, a main
// bundle with a known Info.plist, and no identifier facts cached from another test.
class IdentifierTest : public ::testing::Test {
 protected:
  explicit IdentifierTest(const std::string& profile = "phone-4.0") : ui_(profile) {}

  void SetUp() override {
    char pattern[] = "/tmp/gadidentifier-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    previousLocations_ = files().locations();
    files().setLocations(pf::FileLocations::under(root_));
    pf::UserDefaults::resetStandardUserDefaults();
    setBundle(pf::Value::dictionary({{"CFBundleIdentifier", "com.kelvarn.ashenmoor"}, {"CFBundleVersion", "1.2"}}));
    GADIdentifierUtilities::resetSharedInstance();
  }

  void TearDown() override {
    GADIdentifierUtilities::resetSharedInstance();
    pf::UserDefaults::resetStandardUserDefaults();
    files().setLocations(previousLocations_);
    std::filesystem::remove_all(root_);
  }

  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }

  void setBundle(const pf::Value& info) {
    std::string dir = root_ + "/Ashenmoor.app";
    ASSERT_TRUE(files().createDirectory(dir, true));
    ASSERT_TRUE(files().writeFileAtomically(dir + "/Info.plist", *pf::PropertyList::write(info, pf::PropertyList::Format::Xml)));
    pf::Bundle::setMainBundle(pf::Bundle::bundleAtPath(dir));
    ASSERT_TRUE(pf::Bundle::mainBundle());
  }

  // Writes the store metadata where the app's home keeps it.
  std::string writeMetadata(std::string_view bytes) {
    std::string home = files().locations().home;
    EXPECT_TRUE(files().createDirectory(files().locations().documents, true));
    std::string path = home + "/iTunesMetadata.plist";
    EXPECT_TRUE(files().writeFileAtomically(path, bytes));
    return path;
  }

  void changeDevice(const std::function<void(pf::DeviceProfile&)>& change) {
    pf::DeviceProfile p = pf::Device::profile();
    change(p);
    ui_.setProfile(p);
    GADIdentifierUtilities::resetSharedInstance();
  }

  static pf::Value params() { return GADIdentifierUtilities::sharedInstance()->parameters(); }

  pf::SimClock clock_;
  pf::SimUIEnvironment ui_;
  std::string root_;
  pf::FileLocations previousLocations_;
};

class Phone313Test : public IdentifierTest {
 protected:
  Phone313Test() : IdentifierTest("phone-3.1.3") {}
};
class Tablet32Test : public IdentifierTest {
 protected:
  Tablet32Test() : IdentifierTest("tablet-3.2") {}
};

// ---- each shipped device, whole ----

TEST_F(Phone313Test, ParametersOfAnOS313Phone) {
  pf::Value expected = pf::Value::dictionary({
      {"ios_metadata", pf::Value::dictionary()},
      {"app_name", "1.2.iphone.com.kelvarn.ashenmoor"},
      {"isu", "3B57C84339A3B6D01104D0136B72D054"},
      {"platform", "iPhone"},
      {"submodel", "iPhone1,2"},
      {"hl", pf::Value(pf::UserDefaults::preferredLanguagesFromEnvironment()[0])},
      {"u_audio", "1"},
      {"u_so", "p"},
      {"u_sd", "1"},
      {"u_w", "320"},
      {"u_h", "480"},
      {"cap_bs", 2},  // the Kindle reader only: no iBooks before 4.0
  });
  // The language is lower-cased whatever the environment says.
  std::string hl = expected["hl"].stringRef();
  for (char& c : hl) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  expected.set("hl", hl);
  EXPECT_EQ(params(), expected) << params().description();
}

TEST_F(IdentifierTest, ParametersOfAnOS40Phone) {
  pf::Value p = params();
  EXPECT_FALSE(p.contains("ios_ipadc"));
  EXPECT_FALSE(p.contains("ios_jb"));
  EXPECT_EQ(p["isu"], pf::Value("D549DD0D75CAFF24449D23796E27448C"));
  EXPECT_EQ(p["platform"], pf::Value("iPhone"));
  EXPECT_EQ(p["submodel"], pf::Value("iPhone2,1"));
  EXPECT_EQ(p["u_audio"], pf::Value("1"));
  EXPECT_EQ(p["u_sd"], pf::Value("1"));
  EXPECT_EQ(p["u_w"], pf::Value("320"));
  EXPECT_EQ(p["u_h"], pf::Value("480"));
  EXPECT_EQ(p["cap_bs"], pf::Value(1));  // iBooks, no Kindle
  EXPECT_TRUE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(4, 0, 0));
  EXPECT_FALSE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(4, 0, 1));
}

TEST_F(Tablet32Test, APhoneAppOnATabletSaysSo) {
  pf::Value p = params();
  EXPECT_EQ(p["ios_ipadc"], pf::Value("1"));
  EXPECT_EQ(p["platform"], pf::Value("iPad"));
  EXPECT_EQ(p["submodel"], pf::Value("iPad1,1"));
  EXPECT_EQ(p["isu"], pf::Value("400D2AAF41371A75C868AD3B0C8EB884"));
  EXPECT_EQ(p["cap_bs"], pf::Value(3));
  EXPECT_EQ(p["u_w"], pf::Value("320"));  // compatibility mode: the phone's screen
  EXPECT_EQ(p["u_h"], pf::Value("480"));
  EXPECT_TRUE(GADIdentifierUtilities::sharedInstance()->isPhoneIdiom());
}

TEST_F(Tablet32Test, ATabletAppOnATabletDoesNot) {
  changeDevice([](pf::DeviceProfile& p) { p.idiom = pf::UserInterfaceIdiom::Pad; });
  EXPECT_FALSE(GADIdentifierUtilities::sharedInstance()->isPhoneIdiom());
  EXPECT_FALSE(params().contains("ios_ipadc"));
}

TEST_F(Phone313Test, ADeviceThatCannotReportAnIdiomCountsAsAPhone) {
  changeDevice([](pf::DeviceProfile& p) { p.idiom = pf::UserInterfaceIdiom::Pad; });  // not asked before 3.2
  EXPECT_TRUE(GADIdentifierUtilities::sharedInstance()->isPhoneIdiom());
}

// ---- OS version ----

TEST(OSVersionParsing, LeadingDigitsOfTheFirstThreeParts) {
  using A = std::array<int, 3>;
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion("4"), (A{4, 0, 0}));
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion("3.1.3"), (A{3, 1, 3}));
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion("3.2b1.7.9"), (A{3, 2, 7}));
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion("beta.2"), (A{0, 2, 0}));
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion(""), (A{0, 0, 0}));
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion("..5"), (A{0, 0, 5}));
  // A run of digits too long for an int stops at its largest value rather than overflowing.
  EXPECT_EQ(GADIdentifierUtilities::parseOSVersion("99999999999999999999.1"), (A{INT_MAX, 1, 0}));
}

TEST_F(Phone313Test, ComparisonIsLexicographic) {
  int major = -1, minor = -1, bugFix = -1;
  GADIdentifierUtilities::getOSMajorMinorBugFix(&major, &minor, &bugFix);
  EXPECT_EQ(major, 3);
  EXPECT_EQ(minor, 1);
  EXPECT_EQ(bugFix, 3);
  GADIdentifierUtilities::getOSMajorMinorBugFix(nullptr, &minor, nullptr);  // outputs are optional
  EXPECT_FALSE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 2, 0));
  EXPECT_TRUE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 1, 3));
  EXPECT_FALSE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 1, 4));
  EXPECT_TRUE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 0, 9));
  EXPECT_TRUE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(2, 9, 9));
  EXPECT_FALSE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(4, 0, 0));
}

TEST_F(IdentifierTest, AVersionOfOnePartHasZeroMinorAndBugFix) {
  changeDevice([](pf::DeviceProfile& p) { p.systemVersion = "4"; });
  int major = 0, minor = -1, bugFix = -1;
  GADIdentifierUtilities::getOSMajorMinorBugFix(&major, &minor, &bugFix);
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 0);
  EXPECT_EQ(bugFix, 0);
  EXPECT_TRUE(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(4, 0, 0));
}

// ---- screen ----

TEST_F(IdentifierTest, HeightWithAVisibleStatusBarIsTheScreensInPortrait) {
  auto ids = GADIdentifierUtilities::sharedInstance();
  ASSERT_EQ(pf::Screen::applicationFrame().height(), 460);
  EXPECT_EQ(ids->screenSize(), (pf::Size{320, 480}));
  pf::Application::sharedApplication()->setStatusBarOrientation(pf::InterfaceOrientation::PortraitUpsideDown, false);
  EXPECT_EQ(ids->screenSize(), (pf::Size{320, 480}));
  EXPECT_EQ(params()["u_so"], pf::Value("p"));
}

TEST_F(IdentifierTest, InLandscapeTheBarsThicknessNotItsLengthIsAddedBack) {
  auto app = pf::Application::sharedApplication();
  auto ids = GADIdentifierUtilities::sharedInstance();
  for (auto o : {pf::InterfaceOrientation::LandscapeRight, pf::InterfaceOrientation::LandscapeLeft}) {
    app->setStatusBarOrientation(o, false);
    ASSERT_EQ(app->statusBarFrame().height(), 480);  // the bar runs down a long side
    EXPECT_EQ(ids->screenSize(), (pf::Size{320, 480}));
    pf::Value p = params();
    EXPECT_EQ(p["u_w"], pf::Value("320"));
    EXPECT_EQ(p["u_h"], pf::Value("480"));  // not 960, the frame's height added
    EXPECT_EQ(p["u_so"], pf::Value("l"));
  }
}

TEST_F(IdentifierTest, AHiddenStatusBarAddsNothing) {
  pf::Application::sharedApplication()->setStatusBarHiddenAnimated(true, false);
  EXPECT_EQ(GADIdentifierUtilities::sharedInstance()->screenSize(), (pf::Size{320, 480}));
  changeDevice([](pf::DeviceProfile& p) { p.screenBounds = pf::Rect(0, 0, 640, 960); });
  pf::Application::sharedApplication()->setStatusBarHiddenAnimated(false, false);
  EXPECT_EQ(GADIdentifierUtilities::sharedInstance()->screenSize(), (pf::Size{640, 960}));
}

TEST_F(IdentifierTest, DensityIsTheScaleWhereTheDeviceOffersOne) {
  changeDevice([](pf::DeviceProfile& p) { p.screenScale = 2.0; });
  EXPECT_EQ(params()["u_sd"], pf::Value("2"));
  changeDevice([](pf::DeviceProfile& p) { p.systemVersion = "3.1.3"; });  // no scale before 4.0
  EXPECT_EQ(params()["u_sd"], pf::Value("1"));
}

// ---- installed apps ----

TEST_F(IdentifierTest, BookstoreCapabilityBits) {
  auto& system = pf::SimUIApplication::current();
  changeDevice([](pf::DeviceProfile& p) { p.openableURLSchemes = {"http"}; });
  EXPECT_FALSE(params().contains("cap_bs"));
  system.setCanOpenURL("kindle://home", true);
  EXPECT_EQ(params()["cap_bs"], pf::Value(2));
  system.setCanOpenURL("itms-books://", true);
  EXPECT_EQ(params()["cap_bs"], pf::Value(3));
  system.setCanOpenURL("kindle://home", false);
  EXPECT_EQ(params()["cap_bs"], pf::Value(1));
}

TEST_F(IdentifierTest, CanOpenURLsAnswersEveryTextAskedAbout) {
  pf::Value answers = GADIdentifierUtilities::sharedInstance()->canOpenURLs({"tel:555", "kindle://home", "not a url"});
  EXPECT_EQ(answers, pf::Value::dictionary({{"tel:555", true}, {"kindle://home", false}, {"not a url", false}}));
}

// ---- audio ----

TEST_F(IdentifierTest, AudioRouteCodes) {
  struct Case { const char* route; bool available; int code; };
  for (Case c : {Case{"Speaker", true, 1}, Case{"Headphone", true, 2}, Case{"Headset", true, 2},
                 Case{"HeadsetInOut", true, 5}, Case{"headphone", true, 5}, Case{"", true, 3},
                 Case{"Headphone", false, 1}}) {
    changeDevice([&](pf::DeviceProfile& p) {
      p.audioRoute = c.route;
      p.audioSessionAvailable = c.available;
    });
    EXPECT_EQ(params()["u_audio"], pf::Value(std::to_string(c.code))) << c.route << " " << c.available;
  }
}

// ---- app, identity, language ----

TEST_F(IdentifierTest, AppNameWithoutABundleVersionIsJustTheIdentifier) {
  setBundle(pf::Value::dictionary({{"CFBundleIdentifier", "com.example.app"}}));
  EXPECT_EQ(params()["app_name"], pf::Value("iphone.com.example.app"));
}

TEST_F(IdentifierTest, JailbreakIsTheStoreAppOnTheDevicesOwnDisk) {
  EXPECT_FALSE(params().contains("ios_jb"));
  changeDevice([](pf::DeviceProfile& p) { p.systemPaths.insert("/Applications/Cydia.app"); });
  EXPECT_TRUE(GADIdentifierUtilities::isJailbrokenDevice());
  EXPECT_EQ(params()["ios_jb"], pf::Value("1"));
}

TEST_F(IdentifierTest, NoIdentifierMeansNoIsu) {
  changeDevice([](pf::DeviceProfile& p) { p.uniqueIdentifier.clear(); });
  EXPECT_FALSE(params().contains("isu"));
}

TEST_F(IdentifierTest, LanguageIsTheFirstPreferredOneLowerCasedAndKept) {
  auto defaults = pf::UserDefaults::standardUserDefaults();
  defaults->setObject("AppleLanguages", pf::Value::array({"en-GB", "fr"}));
  auto ids = GADIdentifierUtilities::sharedInstance();
  EXPECT_EQ(ids->locale(), "en-gb");
  defaults->setObject("AppleLanguages", pf::Value::array({"de"}));
  EXPECT_EQ(ids->locale(), "en-gb");  // read once
}

TEST_F(IdentifierTest, AnEmptyLanguageListLeavesHlOutAndIsAskedAgain) {
  auto defaults = pf::UserDefaults::standardUserDefaults();
  defaults->setObject("AppleLanguages", pf::Value::array());
  auto ids = GADIdentifierUtilities::sharedInstance();
  EXPECT_FALSE(ids->locale());
  EXPECT_FALSE(params().contains("hl"));
  defaults->setObject("AppleLanguages", pf::Value::array({"PT-br"}));
  EXPECT_EQ(ids->locale(), "pt-br");
}

// ---- store metadata ----

TEST_F(IdentifierTest, StoreMetadataBesideDocumentsIsSent) {
  pf::Value metadata = pf::Value::dictionary({{"itemId", 381234567}, {"playlistName", "Ashenmoor"}, {"genreId", 6016}});
  writeMetadata(*pf::PropertyList::write(metadata, pf::PropertyList::Format::Binary));
  EXPECT_EQ(params()["ios_metadata"], metadata);
  // Read once: a later change of the file is not seen.
  writeMetadata(*pf::PropertyList::write(pf::Value::dictionary({{"x", 1}}), pf::PropertyList::Format::Xml));
  EXPECT_EQ(params()["ios_metadata"], metadata);
}

TEST_F(IdentifierTest, NoMetadataFileSendsAnEmptyObject) {
  EXPECT_EQ(params()["ios_metadata"], pf::Value::dictionary());
  EXPECT_EQ(GADMacros::jsonify(pf::Value::dictionary({{"ios_metadata", params()["ios_metadata"]}})),
            std::optional<std::string>("{\"ios_metadata\":{}}"));
}

TEST_F(IdentifierTest, CorruptMetadataSendsAnEmptyObject) {
  writeMetadata("<?xml version=\"1.0\"?><plist><dict><key>itemId</key>");
  EXPECT_EQ(params()["ios_metadata"], pf::Value::dictionary());
}

TEST(StoreMetadataFile, OnlyADictionaryAtTheTopCounts) {
  char pattern[] = "/tmp/gadmetadata-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  auto& files = pf::FileManager::defaultManager();
  auto write = [&](const pf::Value& v) {
    std::string path = dir + "/m.plist";
    files.writeFileAtomically(path, *pf::PropertyList::write(v, pf::PropertyList::Format::Xml));
    return GADIdentifierUtilities::readITunesMetadataFileAt(path);
  };
  EXPECT_EQ(write(pf::Value::array({"a"})), pf::Value::dictionary());
  EXPECT_EQ(write(pf::Value("text")), pf::Value::dictionary());
  EXPECT_EQ(write(pf::Value::dictionary({{"a", 1}})), pf::Value::dictionary({{"a", 1}}));
  EXPECT_EQ(GADIdentifierUtilities::readITunesMetadataFileAt(dir + "/none.plist"), pf::Value::dictionary());
  EXPECT_EQ(GADIdentifierUtilities::readITunesMetadataFileAt(dir), pf::Value::dictionary());  // a folder
  std::filesystem::remove_all(dir);
}

TEST_F(IdentifierTest, MetadataDatesAndDataDoNotSpoilTheRequestText) {
  pf::Value metadata = pf::Value::dictionary({
      {"itemName", "Ashenmoor"},
      {"purchaseDate", pf::Value::date(300000000)},
      {"artwork", pf::Value::data("\x89PNG")},
      {"downloadInfo", pf::Value::dictionary({{"when", pf::Value::date(1)}, {"account", "a@b.c"}})},
      {"ratings", pf::Value::array({1, pf::Value::date(2), 3})},
  });
  writeMetadata(*pf::PropertyList::write(metadata, pf::PropertyList::Format::Binary));
  // The metadata as read keeps everything; what goes out keeps what JSON can carry.
  EXPECT_EQ(GADIdentifierUtilities::sharedInstance()->iTunesMetadata(), metadata);
  pf::Value sent = params()["ios_metadata"];
  EXPECT_EQ(sent, pf::Value::dictionary({{"itemName", "Ashenmoor"},
                                         {"downloadInfo", pf::Value::dictionary({{"account", "a@b.c"}})},
                                         {"ratings", pf::Value::array({1, 3})}}));
  auto json = GADMacros::jsonify(params());
  ASSERT_TRUE(json);
  EXPECT_NE(*json, "");
  EXPECT_NE(json->find("\"itemName\":\"Ashenmoor\""), std::string::npos);
}

}  // namespace

namespace {

TEST(StoreMetadataForJson, DeeplyNestedContainersAreCutOff) {
  pf::Value deep = pf::Value::dictionary({{"leaf", 1}});
  for (int i = 0; i < 100; ++i) deep = pf::Value::dictionary({{"n", deep}, {"i", i}});
  pf::Value kept = GADIdentifierUtilities::jsonRepresentable(deep);
  int depth = 0;
  for (const pf::Value* v = &kept; v->contains("n"); v = &(*v)["n"]) ++depth;
  EXPECT_EQ(depth, GADIdentifierUtilities::kMaxMetadataDepth - 1);
  auto json = GADMacros::jsonify(pf::Value::dictionary({{"ios_metadata", kept}}));
  ASSERT_TRUE(json);
  EXPECT_NE(*json, "");
  // Shallow values keep their numbers, texts and booleans as they are.
  pf::Value flat = pf::Value::dictionary({{"a", 1}, {"b", 2.5}, {"c", true}, {"d", "x"}, {"e", pf::Value(NAN)}});
  EXPECT_EQ(GADIdentifierUtilities::jsonRepresentable(flat),
            pf::Value::dictionary({{"a", 1}, {"b", 2.5}, {"c", true}, {"d", "x"}}));
}

}  // namespace

namespace {

TEST(StoreMetadataForJson, TextThatIsNotUtf8IsLeftOut) {
  // A binary property list's 8-bit text reaches us byte for byte.
  pf::Value metadata = pf::Value::dictionary(
      {{"ok", "fine"}, {"bad", std::string("caf\xe9")}, {std::string("k\xff"), "value"}, {"list", pf::Value::array({std::string("\xc3"), "x"})}});
  EXPECT_EQ(GADIdentifierUtilities::jsonRepresentable(metadata),
            pf::Value::dictionary({{"ok", "fine"}, {"list", pf::Value::array({"x"})}}));
}

}  // namespace
