#include "sdk/encoding/GAD_SBJSON.h"

#include "sdk/encoding/GAD_SBJSONReader.h"
#include "sdk/encoding/GAD_SBJSONWriter.h"

namespace {
template <typename T>
std::optional<T> failWith(pf::Error* error, long code, const char* message) {
  if (error) *error = pf::Error::withDescription(GAD_SBJSONErrorDomain, code, message);
  return std::nullopt;
}
}  // namespace

std::optional<pf::Value> GAD_SBJSON::objectWithStringError(std::optional<std::string_view> text,
                                                           pf::Error* error) const {
  return objectWithStringAllowScalarError(text, false, error);
}

std::optional<pf::Value> GAD_SBJSON::fragmentWithStringError(std::optional<std::string_view> text,
                                                             pf::Error* error) const {
  return objectWithStringAllowScalarError(text, true, error);
}

std::optional<pf::Value> GAD_SBJSON::objectWithStringAllowScalarError(
    std::optional<std::string_view> text, bool allowScalar, pf::Error* error) const {
  if (!text) return failWith<pf::Value>(error, GAD_SBJSONErrorInput, "Input was 'nil'");
  // Bytes that are not UTF-8 are not text at all, like an absent input; refusing them here
  // means every string read is valid UTF-8.
  if (!GAD_SBJSONReader::isValidUTF8(*text))
    return failWith<pf::Value>(error, GAD_SBJSONErrorInput, "Input was not valid UTF-8");
  GAD_SBJSONReader reader(*text, maxDepth_);
  auto value = reader.read(allowScalar);
  if (!value && error) *error = *reader.error();
  return value;
}

std::optional<std::string> GAD_SBJSON::stringWithObjectError(const pf::Value& value,
                                                             pf::Error* error) const {
  return stringWithObjectAllowScalarError(value, false, error);
}

std::optional<std::string> GAD_SBJSON::stringWithFragmentError(const pf::Value& value,
                                                               pf::Error* error) const {
  return stringWithObjectAllowScalarError(value, true, error);
}

std::optional<std::string> GAD_SBJSON::stringWithObjectAllowScalarError(const pf::Value& value,
                                                                        bool allowScalar,
                                                                        pf::Error* error) const {
  if (!allowScalar && !value.isDictionary() && !value.isArray())
    return failWith<std::string>(error, GAD_SBJSONErrorFragment, "Not valid type for JSON");
  GAD_SBJSONWriter writer(humanReadable_);
  if (!writer.write(value)) {
    if (error) *error = *writer.error();
    return std::nullopt;
  }
  return writer.text();
}
