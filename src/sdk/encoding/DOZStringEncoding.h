#pragma once
// DOZStringEncoding: the base-N encoder under its own name (see DOZStringEncodingCore.h).
#include "sdk/encoding/DOZStringEncodingFamily.h"

class DOZStringEncoding final : public DOZStringEncodingFamily<DOZStringEncoding> {
 public:
  static constexpr const char* kClassName = "DOZStringEncoding";

 private:
  DOZStringEncoding() = default;  // only the class operations make encodings
  friend class DOZStringEncodingFamily<DOZStringEncoding>;
  using DOZStringEncodingFamily::DOZStringEncodingFamily;
};
