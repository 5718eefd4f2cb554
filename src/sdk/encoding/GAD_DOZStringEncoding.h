#pragma once
// GAD_DOZStringEncoding: the base-N encoder under the ad layer's name, the one the rest of
// the layer uses (the location value, the browser's built-in images). Same behaviour as
// DOZStringEncoding; its failure reports name GAD_DOZStringEncoding.
#include "sdk/encoding/DOZStringEncodingFamily.h"

class GAD_DOZStringEncoding final : public DOZStringEncodingFamily<GAD_DOZStringEncoding> {
 public:
  static constexpr const char* kClassName = "GAD_DOZStringEncoding";

 private:
  GAD_DOZStringEncoding() = default;  // only the class operations make encodings
  friend class DOZStringEncodingFamily<GAD_DOZStringEncoding>;
  using DOZStringEncodingFamily::DOZStringEncodingFamily;
};
