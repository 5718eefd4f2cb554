#pragma once
// DOZStringEncodingFamily<Self>: the class operations of a named base-N encoding
// (DOZStringEncoding, GAD_DOZStringEncoding). Each returns a fresh encoding of the named
// class, so its failure reports carry that class's name (Self::kClassName).
#include <optional>
#include <string_view>

#include "sdk/encoding/DOZStringEncodingCore.h"

template <class Self>
class DOZStringEncodingFamily : public DOZStringEncodingCore {
 public:
  // An encoding with the given alphabet, or nullopt when the alphabet is not 2 to 128
  // distinct ASCII characters, a power of two of them. No padding, no synonyms.
  static std::optional<Self> create(std::string_view alphabet) {
    Self encoding;
    if (!encoding.initWithString(alphabet)) return std::nullopt;
    return encoding;
  }
  static std::optional<Self> stringEncodingWithString(std::string_view alphabet) {
    return create(alphabet);
  }

  static Self binaryStringEncoding() { return Self(Predefined::Binary); }
  // Upper-case digits; decoding also takes lower case.
  static Self hexStringEncoding() { return Self(Predefined::Hex); }
  // RFC 4648 Base32, Base32 with the extended hex alphabet, both padded with "=".
  static Self rfc4648Base32StringEncoding() { return Self(Predefined::Base32); }
  static Self rfc4648Base32HexStringEncoding() { return Self(Predefined::Base32Hex); }
  // Crockford's Base32 without check symbol or hyphens; decoding takes lower case and reads
  // O as 0 and I, L as 1.
  static Self crockfordBase32StringEncoding() { return Self(Predefined::Crockford); }
  // RFC 4648 Base64 and its URL- and file-safe form, both padded with "=".
  static Self rfc4648Base64StringEncoding() { return Self(Predefined::Base64); }
  static Self rfc4648Base64WebsafeStringEncoding() { return Self(Predefined::Base64Websafe); }

 protected:
  DOZStringEncodingFamily() : DOZStringEncodingCore(Self::kClassName) {}
  explicit DOZStringEncodingFamily(Predefined which) : DOZStringEncodingCore(Self::kClassName, which) {}
};
