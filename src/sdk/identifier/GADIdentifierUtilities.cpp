#include "sdk/identifier/GADIdentifierUtilities.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <filesystem>

#include "platform/base/AsciiText.h"
#include "platform/base/Crypto.h"
#include "platform/base/FileManager.h"
#include "platform/base/PropertyList.h"
#include "platform/base/Url.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "sdk/utility/GADNumberUtilities.h"

namespace {

constexpr char kJailbreakMarkerPath[] = "/Applications/Cydia.app";
constexpr char kMetadataFileName[] = "iTunesMetadata.plist";
constexpr char kBookstoreURL[] = "itms-books://";
constexpr char kKindleURL[] = "kindle://home";

std::shared_ptr<GADIdentifierUtilities>& sharedSlot() {
  static std::shared_ptr<GADIdentifierUtilities> shared;
  return shared;
}

// The leading digits of `part` as an integer; a run too long for an int stops at INT_MAX.
int leadingNumber(std::string_view part) {
  long long n = 0;
  for (char c : part) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    n = std::min<long long>(n * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(n);
}

}  // namespace

std::shared_ptr<GADIdentifierUtilities> GADIdentifierUtilities::sharedInstance() {
  auto& shared = sharedSlot();
  if (!shared) shared = std::shared_ptr<GADIdentifierUtilities>(new GADIdentifierUtilities());
  return shared;
}

void GADIdentifierUtilities::resetSharedInstance() { sharedSlot().reset(); }

GADIdentifierUtilities::GADIdentifierUtilities()
    : isPhoneIdiom_(!pf::Device::offers(pf::Capability::UserInterfaceIdiom) ||
                    pf::Device::userInterfaceIdiom() == pf::UserInterfaceIdiom::Phone),
      isJailbroken_(isJailbrokenDevice()) {}

bool GADIdentifierUtilities::isJailbrokenDevice() { return pf::Device::systemPathExists(kJailbreakMarkerPath); }

std::string GADIdentifierUtilities::deviceModel() const { return pf::Device::model(); }

std::string GADIdentifierUtilities::deviceSubmodel() {
  if (!deviceSubmodel_) deviceSubmodel_ = pf::Device::machine();
  return *deviceSubmodel_;
}

std::string GADIdentifierUtilities::osVersion() const { return pf::Device::systemVersion(); }

std::array<int, 3> GADIdentifierUtilities::parseOSVersion(std::string_view version) {
  std::array<int, 3> parts{0, 0, 0};
  for (size_t i = 0; i < parts.size(); ++i) {
    size_t dot = version.find('.');
    parts[i] = leadingNumber(version.substr(0, dot));
    if (dot == std::string_view::npos) break;
    version.remove_prefix(dot + 1);
  }
  return parts;
}

void GADIdentifierUtilities::getOSMajorMinorBugFix(int* major, int* minor, int* bugFix) {
  auto parts = parseOSVersion(sharedInstance()->osVersion());
  if (major) *major = parts[0];
  if (minor) *minor = parts[1];
  if (bugFix) *bugFix = parts[2];
}

bool GADIdentifierUtilities::isOSAtLeastMajorMinorBug(int major, int minor, int bug) {
  int have[3];
  getOSMajorMinorBugFix(&have[0], &have[1], &have[2]);
  return std::array<int, 3>{have[0], have[1], have[2]} >= std::array<int, 3>{major, minor, bug};
}

std::optional<std::string> GADIdentifierUtilities::deviceIdentifier() {
  if (!deviceIdentifier_) {
    std::string raw = pf::Device::uniqueIdentifier();
    // The digest of nothing would be one identifier shared by every such device.
    if (raw.empty()) return std::nullopt;
    std::string hex = pf::Crypto::md5Hex(raw);
    std::transform(hex.begin(), hex.end(), hex.begin(), [](unsigned char c) { return std::toupper(c); });
    deviceIdentifier_ = hex;
  }
  return deviceIdentifier_;
}

std::optional<std::string> GADIdentifierUtilities::locale() {
  if (!locale_) {
    auto languages = pf::UserDefaults::standardUserDefaults()->arrayForKey(pf::UserDefaults::kAppleLanguagesKey);
    if (!languages) return std::nullopt;
    auto first = (*languages)[0].asString();
    if (!first || first->empty()) return std::nullopt;
    locale_ = pf::toLowerAscii(*first);
  }
  return locale_;
}

const pf::Value& GADIdentifierUtilities::iTunesMetadata() {
  if (iTunesMetadata_.isNull()) {
    iTunesMetadata_ = pf::Value::dictionary();
    try {
      std::string documents = pf::FileManager::defaultManager().locations().documents;
      if (!documents.empty()) {
        auto path = (std::filesystem::path(documents) / ".." / kMetadataFileName).lexically_normal();
        iTunesMetadata_ = readITunesMetadataFileAt(path.string());
      }
    } catch (...) {
      // Whatever went wrong, the request goes out without metadata.
    }
  }
  return iTunesMetadata_;
}

pf::Value GADIdentifierUtilities::readITunesMetadataFileAt(const std::string& path) {
  auto& files = pf::FileManager::defaultManager();
  bool isDirectory = false;
  if (!files.fileExists(path, &isDirectory) || isDirectory) return pf::Value::dictionary();
  auto bytes = files.readFile(path);
  return bytes ? parseITunesMetadata(*bytes) : pf::Value::dictionary();
}

pf::Value GADIdentifierUtilities::parseITunesMetadata(std::string_view bytes) {
  auto plist = pf::PropertyList::read(bytes);
  if (!plist || !plist->isDictionary()) return pf::Value::dictionary();
  return *plist;
}

int GADIdentifierUtilities::audioRoute() const {
  auto route = pf::Device::audioRoute();
  if (!route) return kAudioRouteSpeaker;
  if (route->empty()) return kAudioRouteNone;
  if (*route == "Headphone" || *route == "Headset") return kAudioRouteHeadphones;
  if (*route == "Speaker") return kAudioRouteSpeaker;
  return kAudioRouteOther;
}

bool GADIdentifierUtilities::isOrientationLandscape() const {
  auto app = pf::Application::sharedApplication();
  return app && pf::isLandscape(app->statusBarOrientation());
}

float GADIdentifierUtilities::screenDensity() const {
  double scale = pf::Screen::scale();
  return std::isfinite(scale) && scale > 0 ? static_cast<float>(scale) : 1.0f;
}

pf::Size GADIdentifierUtilities::screenSize() const {
  pf::Rect frame = pf::Screen::applicationFrame();
  pf::Size size = frame.size;
  auto app = pf::Application::sharedApplication();
  if (!app || app->isStatusBarHidden()) return size;
  // The bar's frame is in portrait screen coordinates: along the top it is 320 wide and
  // 20 high, in landscape 20 wide and 480 high. Its thickness goes back on the side it took
  // from the application frame, so a landscape bar does not add the screen's height.
  pf::Rect bar = app->statusBarFrame();
  if (bar.isEmpty()) return size;
  if (bar.width() >= bar.height()) {
    size.height += bar.height();
  } else {
    size.width += bar.width();
  }
  return size;
}

pf::Value GADIdentifierUtilities::canOpenURLs(const std::vector<std::string>& urls) const {
  pf::Value answers = pf::Value::dictionary();
  auto app = pf::Application::sharedApplication();
  for (const std::string& text : urls) {
    auto url = pf::Url::parse(text);
    answers.set(text, pf::Value(app && url && app->canOpenURL(*url)));
  }
  return answers;
}

pf::Value GADIdentifierUtilities::jsonRepresentable(const pf::Value& value, int depth) {
  if ((value.isArray() || value.isDictionary()) && depth >= kMaxMetadataDepth) return pf::Value();
  switch (value.kind()) {
    case pf::Value::Kind::Array: {
      pf::Value out = pf::Value::array();
      for (const pf::Value& item : *value.asArray()) {
        pf::Value kept = jsonRepresentable(item, depth + 1);
        if (!kept.isNull()) out.append(std::move(kept));
      }
      return out;
    }
    case pf::Value::Kind::Dictionary: {
      pf::Value out = pf::Value::dictionary();
      for (const auto& [key, item] : *value.asDictionary()) {
        pf::Value kept = jsonRepresentable(item, depth + 1);
        if (!kept.isNull() && pf::Url::isValidUtf8(key)) out.set(key, std::move(kept));
      }
      return out;
    }
    case pf::Value::Kind::Real: return std::isfinite(*value.asReal()) ? value : pf::Value();
    // A binary property list's 8-bit text is taken byte for byte and need not be UTF-8.
    case pf::Value::Kind::String: return pf::Url::isValidUtf8(value.stringRef()) ? value : pf::Value();
    case pf::Value::Kind::Date:
    case pf::Value::Kind::Data:
    case pf::Value::Kind::Null: return pf::Value();
    default: return value;
  }
}

pf::Value GADIdentifierUtilities::parameters() {
  pf::ValueDictionary::Storage entries;
  appendParameters(entries);
  return pf::Value(pf::ValueDictionary::fromUnsorted(std::move(entries)));
}

void GADIdentifierUtilities::appendParameters(pf::ValueDictionary::Storage& entries) {
  auto add = [&entries](const char* key, pf::Value value) { entries.emplace_back(key, std::move(value)); };
  if (deviceModel() == "iPad" && isPhoneIdiom()) add(kGADParameterIPadCompatibilityMode, "1");
  if (iTunesMetadataJSON_.isNull()) iTunesMetadataJSON_ = jsonRepresentable(iTunesMetadata());  // read once
  add(kGADParameterITunesMetadata, iTunesMetadataJSON_);

  std::string appName;
  auto bundle = pf::Bundle::mainBundle();
  if (bundle) {
    if (auto version = bundle->bundleVersion()) appName = *version + ".";
  }
  appName += "iphone.";
  if (bundle) appName += bundle->bundleIdentifier().value_or("");
  add(kGADParameterApplicationName, std::move(appName));

  if (isJailbroken()) add(kGADParameterJailbroken, "1");
  if (auto isu = deviceIdentifier()) add(kGADParameterDeviceID, *isu);
  if (auto model = deviceModel(); !model.empty()) add(kGADParameterDeviceModel, model);
  if (auto submodel = deviceSubmodel(); !submodel.empty()) add(kGADParameterDeviceSubmodel, submodel);
  if (auto hl = locale()) add(kGADParameterLocale, *hl);
  add(kGADParameterAudioOutput, std::to_string(audioRoute()));
  add(kGADParameterScreenOrientation, isOrientationLandscape() ? "l" : "p");
  add(kGADParameterScreenDensity, GADNumberUtilities::stringWithFloat(screenDensity()));
  pf::Size size = screenSize();
  add(kGADParameterScreenWidth, GADNumberUtilities::stringWithFloat(static_cast<float>(size.width)));
  add(kGADParameterScreenHeight, GADNumberUtilities::stringWithFloat(static_cast<float>(size.height)));

  pf::Value bookstores = canOpenURLs({kBookstoreURL, kKindleURL});
  int64_t capabilities = (bookstores[kBookstoreURL] == pf::Value(true) ? 1 : 0) |
                         (bookstores[kKindleURL] == pf::Value(true) ? 2 : 0);
  if (capabilities != 0) add(kGADParameterCapabilitiesBookstore, pf::Value(static_cast<long long>(capabilities)));
}
