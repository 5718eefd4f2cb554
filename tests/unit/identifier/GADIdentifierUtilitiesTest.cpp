#include "sdk/identifier/GADIdentifierUtilities.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "AdLayerTest.h"
#include "platform/base/AsciiText.h"
#include "platform/base/FileManager.h"
#include "platform/base/PropertyList.h"
#include "platform/base/UserDefaults.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "sdk/utility/GADMacros.h"

namespace {

// A device from a profile, a fresh install, and a main bundle with a known Info.plist.
class IdentifierTest : public AdLayerTest {
 protected:
  explicit IdentifierTest(const std::string& profile = "phone-4.0") : AdLayerTest(profile) {
    setBundle(pf::Value::dictionary({{"CFBundleIdentifier", "com.kelvarn.ashenmoor"}, {"CFBundleVersion", "1.2"}}));
  }

  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }

  void setBundle(const pf::Value& info) {
    std::string dir = sim.root() + "/Ashenmoor.app";
    files().createDirectory(dir, true);
    files().writeFileAtomically(dir + "/Info.plist", *pf::PropertyList::write(info, pf::PropertyList::Format::Xml));
    pf::Bundle::setMainBundle(pf::Bundle::bundleAtPath(dir));
  }

  void writeMetadata(std::string_view bytes) {
    EXPECT_TRUE(files().writeFileAtomically(files().locations().home + "/iTunesMetadata.plist", bytes));
  }

  void changeDevice(const std::function<void(pf::DeviceProfile&)>& change) {
    pf::DeviceProfile p = pf::Device::profile();
    change(p);
    sim.ui().setProfile(p);
    GADIdentifierUtilities::resetSharedInstance();
  }

  static pf::Value params() { return GADIdentifierUtilities::sharedInstance()->parameters(); }
};


struct Device {
  const char* profile;
  pf::Value differences;  // from an OS 4.0 phone's parameters
  bool padIdiomCounts;    // whether a tablet application is told apart (the OS reports idioms)
};

class IdentifierDeviceTest : public IdentifierTest, public testing::WithParamInterface<Device> {
 protected:
  IdentifierDeviceTest() : IdentifierTest(GetParam().profile) {}
};

TEST_P(IdentifierDeviceTest, ParametersWholeAndTheIdiom) {
  pf::Value expected = pf::Value::dictionary({
      {"ios_metadata", pf::Value::dictionary()}, {"app_name", "1.2.iphone.com.kelvarn.ashenmoor"},
      {"isu", "D549DD0D75CAFF24449D23796E27448C"}, {"platform", "iPhone"}, {"submodel", "iPhone2,1"},
      {"hl", pf::toLowerAscii(pf::UserDefaults::preferredLanguagesFromEnvironment()[0])},
      {"u_audio", "1"}, {"u_so", "p"}, {"u_sd", "1"}, {"u_w", "320"}, {"u_h", "480"}, {"cap_bs", 1},
  });
  for (const auto& [key, value] : *GetParam().differences.asDictionary()) expected.set(key, value);
  EXPECT_EQ(params(), expected) << params().description();
  EXPECT_TRUE(GADIdentifierUtilities::sharedInstance()->isPhoneIdiom());

  changeDevice([](pf::DeviceProfile& p) { p.idiom = pf::UserInterfaceIdiom::Pad; });
  EXPECT_EQ(GADIdentifierUtilities::sharedInstance()->isPhoneIdiom(), !GetParam().padIdiomCounts);
  EXPECT_FALSE(params().contains("ios_ipadc"));
}

INSTANTIATE_TEST_SUITE_P(
    ShippedProfiles, IdentifierDeviceTest,
    testing::Values(Device{"phone-4.0", pf::Value::dictionary(), true},
                    // No iBooks before 4.0, only the Kindle reader; no idiom before 3.2.
                    Device{"phone-3.1.3",
                           pf::Value::dictionary({{"isu", "3B57C84339A3B6D01104D0136B72D054"},
                                                  {"submodel", "iPhone1,2"}, {"cap_bs", 2}}),
                           false},
                    // A phone application on a tablet says so, and sees the phone's screen.
                    Device{"tablet-3.2",
                           pf::Value::dictionary({{"isu", "400D2AAF41371A75C868AD3B0C8EB884"}, {"platform", "iPad"},
                                                  {"submodel", "iPad1,1"}, {"cap_bs", 3}, {"ios_ipadc", "1"}}),
                           true}),
    [](const testing::TestParamInfo<Device>& info) {
      std::string name = info.param.profile;
      for (char& c : name) if (c == '-' || c == '.') c = '_';
      return name;
    });


TEST(OSVersionParsing, LeadingDigitsOfTheFirstThreeParts) {
  static const struct {
    const char* text;
    std::array<int, 3> parts;
  } kCases[] = {
      {"4", {4, 0, 0}},        {"3.1.3", {3, 1, 3}}, {"3.2b1.7.9", {3, 2, 7}}, {"beta.2", {0, 2, 0}},
      {"", {0, 0, 0}},         {"..5", {0, 0, 5}},
      {"99999999999999999999.1", {INT_MAX, 1, 0}},  // too long for an int: its largest value
  };
  for (const auto& c : kCases) EXPECT_EQ(GADIdentifierUtilities::parseOSVersion(c.text), c.parts) << c.text;
}

TEST_F(IdentifierTest, ComparisonIsLexicographic) {
  changeDevice([](pf::DeviceProfile& p) { p.systemVersion = "3.1.3"; });
  int minor = -1;
  GADIdentifierUtilities::getOSMajorMinorBugFix(nullptr, &minor, nullptr);  // outputs are optional
  EXPECT_EQ(minor, 1);
  static const struct {
    int major, minor, bugFix;
    bool atLeast;
  } kCases[] = {{3, 2, 0, false}, {3, 1, 3, true}, {3, 1, 4, false}, {3, 0, 9, true}, {2, 9, 9, true}, {4, 0, 0, false}};
  for (const auto& c : kCases)
    EXPECT_EQ(GADIdentifierUtilities::isOSAtLeastMajorMinorBug(c.major, c.minor, c.bugFix), c.atLeast)
        << c.major << "." << c.minor << "." << c.bugFix;
}


// The screen's size whatever the status bar does: in landscape the bar runs down a long side
// and its thickness, not its length, is added back; a hidden bar adds nothing.
TEST_F(IdentifierTest, ScreenSizeWhateverTheStatusBar) {
  using O = pf::InterfaceOrientation;
  auto app = pf::Application::sharedApplication();
  ASSERT_EQ(pf::Screen::applicationFrame().height(), 460);
  for (auto [orientation, hidden, so] : {std::tuple{O::Portrait, false, "p"}, {O::PortraitUpsideDown, false, "p"},
                                         {O::LandscapeRight, false, "l"}, {O::LandscapeLeft, false, "l"},
                                         {O::Portrait, true, "p"}}) {
    SCOPED_TRACE(std::to_string(int(orientation)) + (hidden ? " hidden" : ""));
    app->setStatusBarOrientation(orientation, false);
    app->setStatusBarHiddenAnimated(hidden, false);
    pf::Value p = params();
    EXPECT_EQ(p["u_w"], pf::Value("320"));
    EXPECT_EQ(p["u_h"], pf::Value("480"));  // in landscape not 960, the frame's height added
    EXPECT_EQ(p["u_so"], pf::Value(so));
  }
  changeDevice([](pf::DeviceProfile& p) { p.screenBounds = pf::Rect(0, 0, 640, 960); });
  app->setStatusBarHiddenAnimated(false, false);
  EXPECT_EQ(GADIdentifierUtilities::sharedInstance()->screenSize(), (pf::Size{640, 960}));
}

TEST_F(IdentifierTest, DensityIsTheScaleWhereTheDeviceOffersOne) {
  changeDevice([](pf::DeviceProfile& p) { p.screenScale = 2.0; });
  EXPECT_EQ(params()["u_sd"], pf::Value("2"));
  changeDevice([](pf::DeviceProfile& p) { p.systemVersion = "3.1.3"; });  // no scale before 4.0
  EXPECT_EQ(params()["u_sd"], pf::Value("1"));
}


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


TEST_F(IdentifierTest, AppNameWithoutABundleVersionIsJustTheIdentifier) {
  setBundle(pf::Value::dictionary({{"CFBundleIdentifier", "com.example.app"}}));
  EXPECT_EQ(params()["app_name"], pf::Value("iphone.com.example.app"));
}

TEST_F(IdentifierTest, JailbreakIsTheStoreAppOnTheDevicesOwnDisk) {
  EXPECT_FALSE(params().contains("ios_jb"));
  changeDevice([](pf::DeviceProfile& p) { p.systemPaths.insert("/Applications/Cydia.app"); });
  EXPECT_EQ(params()["ios_jb"], pf::Value("1"));
}

TEST_F(IdentifierTest, NoIdentifierMeansNoIsu) {
  changeDevice([](pf::DeviceProfile& p) { p.uniqueIdentifier.clear(); });
  EXPECT_FALSE(params().contains("isu"));
}

// The first preferred language, lower-cased; an empty list leaves "hl" out and is asked
// again, a language found is kept.
TEST_F(IdentifierTest, LanguageIsTheFirstPreferredOneLowerCased) {
  auto defaults = pf::UserDefaults::standardUserDefaults();
  defaults->setObject("AppleLanguages", pf::Value::array());
  auto ids = GADIdentifierUtilities::sharedInstance();
  EXPECT_FALSE(ids->locale());
  EXPECT_FALSE(params().contains("hl"));
  defaults->setObject("AppleLanguages", pf::Value::array({"PT-br", "fr"}));
  EXPECT_EQ(ids->locale(), "pt-br");
  defaults->setObject("AppleLanguages", pf::Value::array({"de"}));
  EXPECT_EQ(ids->locale(), "pt-br");
}


TEST_F(IdentifierTest, OnlyADictionaryReadFromTheFileIsMetadataElseAnEmptyObjectIsSent) {
  auto xml = [](const pf::Value& v) { return *pf::PropertyList::write(v, pf::PropertyList::Format::Xml); };
  static const std::string kCorrupt = "<?xml version=\"1.0\"?><plist><dict><key>itemId</key>";
  const std::string path = sim.root() + "/m.plist";
  const struct {
    std::optional<std::string> bytes;  // none: no file
    pf::Value read;
  } cases[] = {
      {std::nullopt, pf::Value::dictionary()},
      {kCorrupt, pf::Value::dictionary()},
      {xml(pf::Value::array({"a"})), pf::Value::dictionary()},
      {xml(pf::Value("text")), pf::Value::dictionary()},
      {xml(pf::Value::dictionary({{"a", 1}})), pf::Value::dictionary({{"a", 1}})},
  };
  for (const auto& c : cases) {
    files().removeItem(path);
    if (c.bytes) files().writeFileAtomically(path, *c.bytes);
    EXPECT_EQ(GADIdentifierUtilities::readITunesMetadataFileAt(path), c.read) << c.bytes.value_or("(no file)");
  }
  EXPECT_EQ(GADIdentifierUtilities::readITunesMetadataFileAt(sim.root()), pf::Value::dictionary());  // a folder
}

TEST_F(IdentifierTest, StoreMetadataBesideDocumentsIsSentWithoutDatesAndData) {
  pf::Value metadata = pf::Value::dictionary({
      {"itemName", "Ashenmoor"}, {"itemId", 381234567},
      {"purchaseDate", pf::Value::date(300000000)},
      {"artwork", pf::Value::data("\x89PNG")},
      {"downloadInfo", pf::Value::dictionary({{"when", pf::Value::date(1)}, {"account", "a@b.c"}})},
      {"ratings", pf::Value::array({1, pf::Value::date(2), 3})},
  });
  writeMetadata(*pf::PropertyList::write(metadata, pf::PropertyList::Format::Binary));
  // The metadata as read keeps everything; what goes out keeps what JSON can carry.
  EXPECT_EQ(GADIdentifierUtilities::sharedInstance()->iTunesMetadata(), metadata);
  const pf::Value sent = pf::Value::dictionary({{"itemName", "Ashenmoor"}, {"itemId", 381234567},
                                                {"downloadInfo", pf::Value::dictionary({{"account", "a@b.c"}})},
                                                {"ratings", pf::Value::array({1, 3})}});
  EXPECT_EQ(params()["ios_metadata"], sent);
  // Read once: a later change of the file is not seen.
  writeMetadata(*pf::PropertyList::write(pf::Value::dictionary({{"x", 1}}), pf::PropertyList::Format::Xml));
  EXPECT_EQ(params()["ios_metadata"], sent);
}

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
}

// Numbers, texts and booleans stay as they are; NaN goes, and so does text that is not UTF-8
// (a binary property list's 8-bit text reaches us byte for byte), as a value, key or element.
TEST(StoreMetadataForJson, OnlyWhatJSONCanCarryIsKept) {
  pf::Value metadata = pf::Value::dictionary({{"a", 1}, {"b", 2.5}, {"c", true}, {"d", "x"}, {"e", pf::Value(NAN)},
                                              {"bad", std::string("caf\xe9")}, {std::string("k\xff"), "value"},
                                              {"list", pf::Value::array({std::string("\xc3"), "x"})}});
  EXPECT_EQ(GADIdentifierUtilities::jsonRepresentable(metadata),
            pf::Value::dictionary({{"a", 1}, {"b", 2.5}, {"c", true}, {"d", "x"}, {"list", pf::Value::array({"x"})}}));
}

}  // namespace
