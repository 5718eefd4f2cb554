#include "sdk/encoding/DOZStringEncodingAvx2.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <utility>

namespace {

__attribute__((target("avx2"))) inline __m256i broadcast16(const void* p) {
  return _mm256_broadcastsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(p)));
}

}  // namespace

bool DOZStringEncodingAvx2::available() {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
}

__attribute__((target("avx2"))) size_t DOZStringEncodingAvx2::encode(const char* alphabet, const uint8_t* in,
                                                                     size_t len, char* out) {
  const __m256i table0 = broadcast16(alphabet);
  const __m256i table1 = broadcast16(alphabet + 16);
  const __m256i table2 = broadcast16(alphabet + 32);
  const __m256i table3 = broadcast16(alphabet + 48);
  // Each 3-byte group b0 b1 b2 becomes the word b1 b0 b2 b1, so the four 6-bit fields sit in
  // two 16-bit halves where one multiply each moves them into place.
  // The upper lane is loaded 8 bytes in, so its 12 bytes are at 4–15 and all 24 bytes of the
  // block are read without reading past them.
  const __m256i spread = _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10,  //
                                          5, 4, 6, 5, 8, 7, 9, 8, 11, 10, 12, 11, 14, 13, 15, 14);
  const __m256i nibble = _mm256_set1_epi8(0x0f);
  size_t i = 0;
  for (; len - i >= 24; i += 24, out += 32) {
    const __m256i bytes = _mm256_setr_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)),
                                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8)));
    const __m256i words = _mm256_shuffle_epi8(bytes, spread);
    // First and third symbols: bits 10–15 and 22–27, shifted down by 10 and 6.
    const __m256i ac = _mm256_mulhi_epu16(_mm256_and_si256(words, _mm256_set1_epi32(0x0fc0fc00)),
                                          _mm256_set1_epi32(0x04000040));
    // Second and fourth: bits 4–9 and 16–21, shifted up by 4 and 8.
    const __m256i bd = _mm256_mullo_epi16(_mm256_and_si256(words, _mm256_set1_epi32(0x003f03f0)),
                                          _mm256_set1_epi32(0x01000010));
    const __m256i symbols = _mm256_or_si256(ac, bd);  // one symbol value (0–63) per byte
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(symbols, 4), nibble);
    __m256i chars = _mm256_and_si256(_mm256_shuffle_epi8(table0, symbols), _mm256_cmpeq_epi8(high, _mm256_setzero_si256()));
    chars = _mm256_or_si256(chars, _mm256_and_si256(_mm256_shuffle_epi8(table1, symbols),
                                                    _mm256_cmpeq_epi8(high, _mm256_set1_epi8(1))));
    chars = _mm256_or_si256(chars, _mm256_and_si256(_mm256_shuffle_epi8(table2, symbols),
                                                    _mm256_cmpeq_epi8(high, _mm256_set1_epi8(2))));
    chars = _mm256_or_si256(chars, _mm256_and_si256(_mm256_shuffle_epi8(table3, symbols),
                                                    _mm256_cmpeq_epi8(high, _mm256_set1_epi8(3))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), chars);
  }
  return i;
}

namespace {

// The symbol values from the rows First…7 of the map, for the characters in `chars` whose
// high nibble (0–7) is in `high`; rows below First hold no symbol and give -1. The rows are
// a compile-time range so that the lookups unroll and the tables stay in registers.
template <int First, int... Rows>
__attribute__((target("avx2"))) inline __m256i lookUpRows(const __m256i* tables, __m256i chars, __m256i high,
                                                           std::integer_sequence<int, Rows...>) {
  __m256i values = _mm256_cmpgt_epi8(_mm256_set1_epi8(char(First)), high);
  ((values = _mm256_or_si256(values, _mm256_and_si256(_mm256_shuffle_epi8(tables[Rows], chars),
                                                      _mm256_cmpeq_epi8(high, _mm256_set1_epi8(char(First + Rows)))))),
   ...);
  return values;
}

template <int First>
__attribute__((target("avx2"))) size_t decodeFrom(const int8_t* reverseMap, const char* in, size_t len, uint8_t* out) {
  constexpr int kRows = 8 - First;
  __m256i tables[kRows];
  for (int r = 0; r < kRows; ++r) tables[r] = broadcast16(reverseMap + 16 * (First + r));
  const __m256i seven = _mm256_set1_epi8(7);
  size_t i = 0;
  for (; len - i >= 32; i += 32, out += 24) {
    const __m256i chars = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
    // A character of 128 or more shuffles to 0 in every table; its own high bit marks it.
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(chars, 4), seven);
    const __m256i values = lookUpRows<First>(tables, chars, high, std::make_integer_sequence<int, kRows>());
    if (_mm256_movemask_epi8(_mm256_or_si256(values, chars)) != 0) break;  // not all symbols
    // Four 6-bit values to 24 bits: pairs to 12 bits, pairs of those to 24.
    const __m256i pairs = _mm256_maddubs_epi16(values, _mm256_set1_epi32(0x01400140));
    const __m256i quads = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    const __m256i packed = _mm256_shuffle_epi8(
        quads, _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,  //
                                2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(packed, 1));
  }
  return i;
}

}  // namespace

size_t DOZStringEncodingAvx2::decode(const int8_t* reverseMap, int firstTable, const char* in, size_t len,
                                     uint8_t* out) {
  switch (firstTable) {
    case 0: return decodeFrom<0>(reverseMap, in, len, out);
    case 1: return decodeFrom<1>(reverseMap, in, len, out);
    case 2: return decodeFrom<2>(reverseMap, in, len, out);  // Base64: '+' and '-' are in row 2
    case 3: return decodeFrom<3>(reverseMap, in, len, out);
    case 4: return decodeFrom<4>(reverseMap, in, len, out);
    case 5: return decodeFrom<5>(reverseMap, in, len, out);
    case 6: return decodeFrom<6>(reverseMap, in, len, out);
    case 7: return decodeFrom<7>(reverseMap, in, len, out);
    default: return 0;
  }
}

#else  // no vector path elsewhere: the scalar loops do everything

bool DOZStringEncodingAvx2::available() { return false; }
size_t DOZStringEncodingAvx2::encode(const char*, const uint8_t*, size_t, char*) { return 0; }
size_t DOZStringEncodingAvx2::decode(const int8_t*, int, const char*, size_t, uint8_t*) { return 0; }

#endif
