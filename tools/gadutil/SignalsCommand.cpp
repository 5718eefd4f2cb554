// gadutil signals decode: reads an ad signal — the "ms" value of an ad URL, or the bare token
// at the end of a click URL — and prints its record, one "name: value" line per field.
//
//   gadutil signals decode AWo2x… [--key <32 hex>]
//   gadutil signals decode ms=AWo2x…        (the ad URL's parameter as it stands)
//
// The text is opened with --key, else the configured key (ASHENMOOR_SIGNALS_KEY, else the
// sandbox's). Exit 1 with the reason when it cannot be read: bad base64, too short, unknown
// format, wrong key, tampered (changed or cut), or not a record.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/signals/GADSignalsCipher.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

constexpr const char* kUsage = "signals decode <text> [--key <32 hex digits>]";

int fail(const std::string& message) {
  std::printf("%s\n", message.c_str());
  return 1;
}

int runSignals(const std::vector<std::string>& args) {
  if (args.empty() || args[0] != "decode") return fail(std::string("usage: gadutil ") + kUsage);
  std::optional<std::string> text, keyHex;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--key") {
      if (i + 1 == args.size()) return fail("--key needs a value");
      if (keyHex) return fail("--key given twice");
      keyHex = args[++i];
    } else if (!text) {
      text = args[i];
    } else {
      return fail("unexpected argument '" + args[i] + "'\nusage: gadutil " + kUsage);
    }
  }
  if (!text) return fail(std::string("no text to decode\nusage: gadutil ") + kUsage);

  if (text->rfind("ms=", 0) == 0) text->erase(0, 3);

  std::optional<std::string> key;
  if (keyHex) {
    key = GADConfiguration::keyFromHex(*keyHex);
    if (!key) return fail("--key needs 32 hexadecimal digits");
  } else {
    key = GADConfiguration::signalsKey();
    if (!key) return fail("ASHENMOOR_SIGNALS_KEY is not 32 hexadecimal digits");
  }

  auto opened = GADSignalsCipher::open(*text, *key);
  if (!opened.record) return fail(GADSignalsCipher::describe(opened.failure));
  std::fputs(opened.record->description().c_str(), stdout);
  return 0;
}

GadutilCommand signalsCommand("signals", kUsage, runSignals);

}  // namespace
