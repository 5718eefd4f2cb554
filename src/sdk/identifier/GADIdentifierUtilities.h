#pragma once
// GADIdentifierUtilities: what the ad layer says about the device and the hosting app — the
// identity part of every ad request (parameters()) and single facts other parts ask for
// (OS version checks, orientation, hardware name, which URLs some installed app opens).
// Every fact comes from the platform layer: pf::Device and its profile, pf::Screen,
// pf::Application, pf::Bundle, the user defaults and the app's home folder.
//
//   auto ids = GADIdentifierUtilities::sharedInstance();
//   pf::Value params = ids->parameters();                       // "isu", "u_w", "cap_bs" …
//   if (GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 2, 0)) ...
//
// The idiom and jailbreak flags are read when the instance is made; the store metadata,
// hashed device identifier, hardware name and language once, on first use. The OS version,
// audio route, screen and orientation are read afresh at each call. Main thread only.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

// Request parameters this class produces.
inline constexpr char kGADParameterIPadCompatibilityMode[] = "ios_ipadc";
inline constexpr char kGADParameterITunesMetadata[] = "ios_metadata";
inline constexpr char kGADParameterApplicationName[] = "app_name";
inline constexpr char kGADParameterJailbroken[] = "ios_jb";
inline constexpr char kGADParameterDeviceID[] = "isu";
inline constexpr char kGADParameterDeviceModel[] = "platform";
inline constexpr char kGADParameterDeviceSubmodel[] = "submodel";
inline constexpr char kGADParameterLocale[] = "hl";
inline constexpr char kGADParameterAudioOutput[] = "u_audio";
inline constexpr char kGADParameterScreenOrientation[] = "u_so";
inline constexpr char kGADParameterScreenDensity[] = "u_sd";
inline constexpr char kGADParameterScreenWidth[] = "u_w";
inline constexpr char kGADParameterScreenHeight[] = "u_h";
inline constexpr char kGADParameterCapabilitiesBookstore[] = "cap_bs";

class GADIdentifierUtilities {
 public:
  // Audio output codes ("u_audio").
  enum AudioRoute { kAudioRouteSpeaker = 1, kAudioRouteHeadphones = 2, kAudioRouteNone = 3, kAudioRouteOther = 5 };

  // Made on first call and kept for the process.
  static std::shared_ptr<GADIdentifierUtilities> sharedInstance();
  // Forgets the shared instance (tests that change the device between cases).
  static void resetSharedInstance();

  GADIdentifierUtilities(const GADIdentifierUtilities&) = delete;
  GADIdentifierUtilities& operator=(const GADIdentifierUtilities&) = delete;

  // The phone idiom, or a device that cannot report an idiom (before 3.2).
  bool isPhoneIdiom() const { return isPhoneIdiom_; }
  bool isJailbroken() const { return isJailbroken_; }
  // Whether "/Applications/Cydia.app" exists on the device.
  static bool isJailbrokenDevice();

  std::string deviceModel() const;    // "iPhone", "iPad"
  std::string deviceSubmodel();       // the hardware name, "iPhone2,1"
  std::string osVersion() const;      // "3.1.3"

  // The shared instance's OS version as (major, minor, bug fix): the leading digits of the
  // first three "."-separated parts, 0 for a part that is missing or has none.
  static void getOSMajorMinorBugFix(int* major, int* minor, int* bugFix);
  static bool isOSAtLeastMajorMinorBug(int major, int minor, int bug);
  // The same reading of any version text.
  static std::array<int, 3> parseOSVersion(std::string_view version);

  // MD5 of the platform's unique identifier, 32 upper-case hexadecimal digits; none when
  // the platform reports no identifier.
  std::optional<std::string> deviceIdentifier();
  // The first preferred language ("AppleLanguages"), lower-cased; none when there is none
  // (tried again at the next call).
  std::optional<std::string> locale();
  // The app's store metadata: iTunesMetadata.plist in the parent of the Documents folder.
  // An empty dictionary when it is missing or unreadable. Read once.
  const pf::Value& iTunesMetadata();
  // The property list at `path` when it exists, parses and is a dictionary; else empty.
  static pf::Value readITunesMetadataFileAt(const std::string& path);
  // The same for the file's bytes (XML or binary property list).
  static pf::Value parseITunesMetadata(std::string_view bytes);

  int audioRoute() const;
  bool isOrientationLandscape() const;
  float screenDensity() const;
  // The screen as the application sees it: the application frame plus the status bar's
  // thickness on the side it takes when it shows, in the screen's portrait coordinates.
  pf::Size screenSize() const;
  // Each URL text → a boolean: whether some installed app opens it (false for no URL).
  pf::Value canOpenURLs(const std::vector<std::string>& urls) const;

  // The device and app part of an ad request.
  pf::Value parameters();
  // The same entries appended, in no particular order, to a dictionary being built (a
  // request composes its parameters in one go rather than key by key).
  void appendParameters(pf::ValueDictionary::Storage& entries);

  // `value` with what JSON cannot carry (dates, data, nulls, non-finite reals, text or keys
  // that are not UTF-8) left out, at
  // every depth, and containers nested deeper than kMaxMetadataDepth left out too. The store
  // metadata goes out with every request: one date in it must not make the whole request
  // text unwritable.
  static constexpr int kMaxMetadataDepth = 32;
  static pf::Value jsonRepresentable(const pf::Value& value, int depth = 0);

 private:
  GADIdentifierUtilities();

  bool isPhoneIdiom_;
  pf::Value iTunesMetadata_;  // null until read
  pf::Value iTunesMetadataJSON_;  // its JSON form, made once
  bool isJailbroken_;
  std::optional<std::string> deviceIdentifier_;
  std::optional<std::string> deviceSubmodel_;
  std::optional<std::string> locale_;
};
