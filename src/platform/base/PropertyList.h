#pragma once
// pf::PropertyList: pf::Value to and from property-list files (XML or binary), over libplist's
// C interface (the C++ wrappers of libplist++ 2.2 mishandle dates and nested arrays).
// Info.plist, the store metadata file and the user-defaults file are read and written here.
//
//   auto info = pf::PropertyList::read(*files.readFile(path));   // none: not a property list
//   auto bytes = pf::PropertyList::write(value, pf::PropertyList::Format::Binary);
//
// What a property list cannot hold, and what happens to it:
//   - null: a null dictionary entry is left out (a missing key reads as null anyway); a null
//     array element or a null at the top cannot be written (it would shift the array).
//   - strings and keys must be UTF-8 without NUL characters.
//   - dates lie between 1932-12-13 and 2069-01-19 (32-bit seconds around 2001). Binary keeps
//     them to the microsecond, XML to the second (the fraction dropped); dates before 2001
//     are kept to the second in both.
//   - XML writes reals with 17 significant digits, so both formats keep them exactly.
//   - a decimal is written as the nearest real (as decimal numbers are on the phone), so
//     it reads back as a real.
// Integers are 64-bit signed both ways; a 128-bit integer in a file reads as its low 64 bits.
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Value.h"

namespace pf {

class PropertyList {
 public:
  enum class Format { Xml, Binary };

  // Either format, told apart by the "bplist" magic. None when the bytes are no property list.
  static std::optional<Value> read(std::string_view bytes);

  // None when `value` holds something a property list cannot (see above).
  static std::optional<std::string> write(const Value& value, Format format);

  // `value` as it will be written: null dictionary entries left out, at every depth.
  // None when it cannot be written at all.
  static std::optional<Value> storable(const Value& value);
};

}  // namespace pf
