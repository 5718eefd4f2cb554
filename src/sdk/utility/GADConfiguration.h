#pragma once
// GADConfiguration: the few values that are configuration rather than code, each a compiled
// default that points at the bundled sandbox on loopback and an environment variable to
// point elsewhere. There is no configuration file.
//
//   ASHENMOOR_SCRIPT_HOST         host:port of the static host that serves the ad core script
//                                 (default 127.0.0.1:47311, the sandbox)
//   ASHENMOOR_AD_HOST             host:port of the ad server, the build page's base URL
//                                 (default 127.0.0.1:47312, the sandbox)
//   ASHENMOOR_REACHABILITY_HOST   host whose reachability GADNetworkChecker watches
//                                 (default: the sandbox's ad server host, 127.0.0.1)
//   ASHENMOOR_AD_NETWORK_DOMAIN   domain whose click-tracking URLs carry the impression
//                                 ticket GADStatistics keeps (default: the sandbox, 127.0.0.1)
//   ASHENMOOR_UULE_KEY            the AES-128 key of the "uule" location value, 32 hexadecimal
//                                 digits; it must be the key the ad server decrypts with
//                                 (default: kDefaultUuleKeyHex, the sandbox's key)
//   ASHENMOOR_SIGNALS_KEY         the AES-128 key the ad signals are sealed with, 32
//                                 hexadecimal digits; the ad server must hold the same key
//                                 (default: kDefaultSignalsKeyHex, the sandbox's key)
#include <optional>
#include <string>
#include <string_view>

class GADConfiguration {
 public:
  GADConfiguration() = delete;

  static constexpr const char* kDefaultScriptHost = "127.0.0.1:47311";
  static constexpr const char* kDefaultAdHost = "127.0.0.1:47312";
  static constexpr const char* kDefaultReachabilityHost = "127.0.0.1";
  static constexpr const char* kDefaultAdNetworkDomain = "127.0.0.1";

  // Read from the environment at each call, so a test can change it; an empty variable
  // counts as unset.
  static std::string scriptHost();
  static std::string adHost();
  static std::string reachabilityHost();
  static std::string adNetworkDomain();

  // The sandbox's "uule" key: the ASCII bytes of "AshenmoorUuleKey",
  // 41 73 68 65 6e 6d 6f 6f 72 55 75 6c 65 4b 65 79. Public knowledge, so a location sent
  // with it is readable by anyone: a deployment against a real ad server sets its own key.
  static constexpr const char* kDefaultUuleKeyHex = "417368656e6d6f6f7255756c654b6579";
  // The 16 key bytes. None when ASHENMOOR_UULE_KEY is set but is not 32 hexadecimal digits:
  // a mistyped key is not replaced by the default (the server could not read the value), so
  // the location is left out of requests instead, with a log line.
  static std::optional<std::string> uuleKey();

  // The sandbox's signals key: the ASCII bytes of "AshenmoorSignals",
  // 41 73 68 65 6e 6d 6f 6f 72 53 69 67 6e 61 6c 73. Public knowledge like the "uule" key: a
  // deployment against a real ad server sets its own.
  static constexpr const char* kDefaultSignalsKeyHex = "417368656e6d6f6f725369676e616c73";
  // The 16 key bytes. None when ASHENMOOR_SIGNALS_KEY is set but is not 32 hexadecimal digits:
  // then no signals are sent (texts the server cannot read would be garbage). Logs nothing;
  // the signals module says it once.
  static std::optional<std::string> signalsKey();
  // 32 hexadecimal digits (either case) as 16 bytes; none for anything else.
  static std::optional<std::string> keyFromHex(std::string_view hex);
};
