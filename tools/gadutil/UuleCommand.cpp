// gadutil uule: the "uule" value of a location, as an ad request would carry it — to make a
// value for a test server, or to check one seen in traffic against its inputs.
//
//   gadutil uule --lat 54.4858 --lng -0.6206 --accuracy 30 --timestamp 1300000000 [--key <32 hex>]
//   gadutil uule --description 'Whitby, YO21' --timestamp 1300000000
//
// Coordinates are enciphered with --key, else the configured key (ASHENMOOR_UULE_KEY, else
// the sandbox's). Exit 1, with the reason, when the inputs make no location.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/utility/GADConfiguration.h"
#include "sdk/utility/GADLocation.h"

namespace {

constexpr const char* kUsage =
    "uule --lat <deg> --lng <deg> --accuracy <m> --timestamp <seconds since 1970> [--key <32 hex digits>]"
    " | uule --description <text> --timestamp <seconds since 1970>";

int fail(const std::string& message) {
  std::printf("%s\n", message.c_str());
  return 1;
}

// The whole word as a number; none for anything else (an overflow included).
template <typename T>
std::optional<T> number(const std::string& text, T (*parse)(const char*, char**)) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  T value = parse(begin, &end);
  if (end == begin || *end != '\0' || (errno == ERANGE && std::isinf(value))) return std::nullopt;
  return value;
}

int runUule(const std::vector<std::string>& args) {
  std::map<std::string, std::string> options;
  for (size_t i = 0; i < args.size(); i += 2) {
    const std::string& name = args[i];
    if (name != "--lat" && name != "--lng" && name != "--accuracy" && name != "--timestamp" && name != "--key" &&
        name != "--description")
      return fail("unexpected argument '" + name + "'\nusage: gadutil " + kUsage);
    if (i + 1 == args.size()) return fail(name + " needs a value");
    if (!options.emplace(name, args[i + 1]).second) return fail(name + " given twice");
  }
  auto option = [&](const char* name) -> const std::string* {
    auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
  };

  const std::string* timestampText = option("--timestamp");
  if (!timestampText) return fail("--timestamp is required\nusage: gadutil " + std::string(kUsage));
  auto timestamp = number<double>(*timestampText, std::strtod);
  if (!timestamp) return fail("not a number of seconds: " + *timestampText);

  std::shared_ptr<GADLocation> location;
  std::optional<std::string> key;
  if (const std::string* text = option("--description")) {
    if (option("--lat") || option("--lng") || option("--accuracy") || option("--key"))
      return fail("--description does not go with --lat, --lng, --accuracy or --key");
    location = GADLocation::createWithDescription(*text);
    if (!location) return fail("no location: the description is empty");
  } else {
    const std::string *lat = option("--lat"), *lng = option("--lng"), *accuracy = option("--accuracy");
    if (!lat || !lng || !accuracy) return fail("--lat, --lng and --accuracy are required\nusage: gadutil " + std::string(kUsage));
    auto latitude = number<float>(*lat, std::strtof);
    auto longitude = number<float>(*lng, std::strtof);
    auto metres = number<float>(*accuracy, std::strtof);
    if (!latitude || !longitude || !metres) return fail("not single-precision numbers: " + *lat + " " + *lng + " " + *accuracy);
    location = GADLocation::createWithLatitudeLongitudeAccuracy(*latitude, *longitude, *metres);
    if (!location) return fail("no location: the coordinates are not precise (0, NaN or out of range)");
    if (const std::string* hex = option("--key")) {
      key = GADConfiguration::keyFromHex(*hex);
      if (!key) return fail("--key needs 32 hexadecimal digits");
    } else {
      key = GADConfiguration::uuleKey();
      if (!key) return fail("ASHENMOOR_UULE_KEY is not 32 hexadecimal digits");
    }
  }
  location->setTimestamp(*timestamp);

  auto value = key ? location->oolongRepresentationWithKey(*key) : location->oolongRepresentation();
  if (!value) return fail("the location could not be encrypted");
  std::printf("%s\n", value->c_str());
  return 0;
}

GadutilCommand uuleCommand("uule", kUsage, runUule);

}  // namespace
