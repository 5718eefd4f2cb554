// The app's store metadata file: any bytes, read as the property list the ad request sends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/base/Url.h"
#include "platform/base/Value.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/utility/GADMacros.h"

namespace {

// Nothing JSON cannot carry is left at any depth.
bool onlyJsonKinds(const pf::Value& value) {
  switch (value.kind()) {
    case pf::Value::Kind::Null:
    case pf::Value::Kind::Date:
    case pf::Value::Kind::Data: return false;
    case pf::Value::Kind::String: return pf::Url::isValidUtf8(value.stringRef());
    case pf::Value::Kind::Array:
      for (const auto& item : *value.asArray())
        if (!onlyJsonKinds(item)) return false;
      return true;
    case pf::Value::Kind::Dictionary:
      for (const auto& [key, item] : *value.asDictionary())
        if (!pf::Url::isValidUtf8(key) || !onlyJsonKinds(item)) return false;
      return true;
    default: return true;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  pf::Value metadata = GADIdentifierUtilities::parseITunesMetadata(bytes);
  if (!metadata.isDictionary()) std::abort();

  // What goes out with every ad request must always make a request text.
  pf::Value sent = GADIdentifierUtilities::jsonRepresentable(metadata);
  if (!sent.isDictionary() || !onlyJsonKinds(sent)) std::abort();
  auto json = GADMacros::jsonify(pf::Value::dictionary({{"ios_metadata", sent}}));
  if (!json || json->empty()) std::abort();
  return 0;
}
