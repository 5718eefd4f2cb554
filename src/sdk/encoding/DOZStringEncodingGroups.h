#pragma once
// DOZStringEncodingGroups: the fast part of base-N encoding and decoding.
//
// With s bits a symbol, lcm(8, s) bits are a whole number of bytes and of symbols at once
// (3 bytes = 4 Base64 symbols, 5 bytes = 8 Base32 symbols, 1 byte = 2 hex digits). Such a group
// carries no state into the next one, so whole groups can be turned over in one piece and the
// bit-at-a-time loop only handles what is left, picking up where the groups stopped.
#include <cstddef>
#include <cstdint>

class DOZStringEncodingTables;

class DOZStringEncodingGroups {
 public:
  // Encodes the whole groups at the start of `in` (`len` bytes) with `alphabet`, writing
  // their symbols at `out` + `written`; `tables` (6 bits a symbol only, may be null) speed it
  // up. Returns the bytes consumed (whole groups) and adds the symbols written to `written`.
  static size_t encode(int shift, const char* alphabet, const DOZStringEncodingTables* tables,
                       const uint8_t* in, size_t len, char* out, size_t& written);

  // Decodes whole groups at the start of `in` (`len` characters) as long as every character
  // of a group decodes to a symbol (reverseMap entry ≥ 0); stops before the first group that
  // holds anything else. Writes at `out` + `written`, returns the characters consumed and
  // adds the bytes written to `written`. `out` must have room for the group bytes plus 8 bytes of slack (whole words
  // are stored).
  static size_t decode(int shift, const int8_t* reverseMap, const DOZStringEncodingTables* tables,
                       const char* in, size_t len, uint8_t* out, size_t& written);
};
