#pragma once
// DOZStringEncodingTables: lookup tables that make Base64-sized alphabets (6 bits a symbol)
// fast: every 12-bit value to its two characters, and every character to its bits already in
// place for each of the four positions of a group. They depend only on the alphabet and on
// which characters decode to which symbols, so encodings that agree on those share one set
// (about 12 KiB), built on first use. Where the processor has AVX2 the long runs go through
// DOZStringEncodingAvx2 first.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class DOZStringEncodingTables {
 public:
  // The tables for a 64-symbol `alphabet` and a 256-entry reverse map (symbol value, or
  // negative for anything that is not a symbol).
  static std::shared_ptr<const DOZStringEncodingTables> shared(std::string_view alphabet,
                                                               const std::array<int8_t, 256>& reverseMap);

  // Like DOZStringEncodingGroups::encode for 6 bits a symbol: every whole group (3 bytes to
  // 4 characters); returns the bytes consumed (a multiple of 3).
  size_t encode(const uint8_t* in, size_t len, char* out) const;

  // Like DOZStringEncodingGroups::decode for 6 bits a symbol, 8 characters at a time; stops
  // before 8 characters that are not all symbols. Needs 8 bytes of slack after the output.
  size_t decode(const char* in, size_t len, uint8_t* out, size_t& written) const;

  DOZStringEncodingTables(std::string_view alphabet, const std::array<int8_t, 256>& reverseMap);

 private:
  // A character that is not a symbol: its bit 24 survives the OR of a group and stops it.
  static constexpr uint32_t kNotSymbol = uint32_t{1} << 24;

  std::array<char, 64> alphabet_;                      // for the vector path
  std::array<int8_t, 128> reverse_;                    // symbol value or -1, for the vector path
  int firstRow_;                                       // first 16 characters of reverse_ with a symbol
  bool vectors_;  // the processor has AVX2 (asked once here, not on every call)
  std::array<uint16_t, 4096> pairs_;                   // two characters, first in the low byte
  std::array<std::array<uint32_t, 256>, 4> decode_;    // bytes of the group, first in the low byte
};
