#pragma once
// DOZStringEncodingAvx2: 6-bit-a-symbol encoding and decoding, 24 bytes / 32 characters at a
// time with AVX2 vectors, for any 64-character alphabet (the characters are looked up in four
// 16-entry tables, the symbols of a character in eight, by the high bits of the value). Used
// by DOZStringEncodingTables when the processor has AVX2; the results are those of the
// scalar loops, to the byte.
#include <cstddef>
#include <cstdint>

class DOZStringEncodingAvx2 {
 public:
  // Whether the processor can run the functions below (checked once).
  static bool available();

  // Encodes whole 24-byte blocks; `alphabet` is the 64 characters. Returns the bytes consumed (a multiple of 24); writes
  // 32 characters per block.
  static size_t encode(const char* alphabet, const uint8_t* in, size_t len, char* out);

  // Decodes whole 32-character blocks while every character is a symbol; `reverseMap` is the
  // first 128 entries of the encoding's reverse map (symbol value, or negative), in which
  // the 16-entry rows before `firstTable` hold no symbol (Base64 starts at row 2). Returns the
  // characters consumed (a multiple of 32); writes 24 bytes per block and needs 8 bytes of
  // slack after them.
  static size_t decode(const int8_t* reverseMap, int firstTable, const char* in, size_t len, uint8_t* out);
};
