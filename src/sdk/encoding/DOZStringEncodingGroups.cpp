#include "sdk/encoding/DOZStringEncodingGroups.h"

#include <cstring>
#include <numeric>

#include "sdk/encoding/DOZStringEncodingTables.h"

namespace {

template <int Shift>
struct Group {
  static constexpr int kBits = std::lcm(8, Shift);
  static constexpr int kBytes = kBits / 8;
  static constexpr int kChars = kBits / Shift;
  static constexpr uint64_t kMask = (uint64_t{1} << Shift) - 1;
};

inline uint64_t loadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

inline void storeBigEndian64(uint8_t* p, uint64_t v) {
  v = __builtin_bswap64(v);
  std::memcpy(p, &v, 8);
}

template <int Shift>
size_t encodeGroups(const char* alphabet, const uint8_t* in, size_t len, char* out, size_t& written) {
  using G = Group<Shift>;
  const size_t groups = len / G::kBytes;
  size_t g = 0;
  // Where a group is at most 7 bytes and 8 input bytes can be read, one big-endian word
  // load replaces the byte-by-byte gathering; the group's bits are its top bits.
  if constexpr (G::kBytes < 8) {
    for (; g < groups && len - g * G::kBytes >= 8; ++g) {
      const uint64_t bits = loadBigEndian64(in + g * G::kBytes) >> (64 - G::kBits);
      char* o = out + g * G::kChars;
      for (int k = 0; k < G::kChars; ++k) o[k] = alphabet[(bits >> ((G::kChars - 1 - k) * Shift)) & G::kMask];
    }
  }
  for (; g < groups; ++g) {
    uint64_t bits = 0;
    const uint8_t* i = in + g * G::kBytes;
    for (int k = 0; k < G::kBytes; ++k) bits = (bits << 8) | i[k];
    char* o = out + g * G::kChars;
    for (int k = 0; k < G::kChars; ++k) o[k] = alphabet[(bits >> ((G::kChars - 1 - k) * Shift)) & G::kMask];
  }
  written += groups * G::kChars;
  return groups * G::kBytes;
}

template <int Shift>
size_t decodeGroups(const int8_t* reverseMap, const char* in, size_t len, uint8_t* out, size_t& written) {
  using G = Group<Shift>;
  const auto* text = reinterpret_cast<const uint8_t*>(in);
  size_t i = 0;
  uint8_t* o = out + written;
  for (; len - i >= size_t(G::kChars); i += G::kChars, o += G::kBytes) {
    uint64_t bits = 0;
    int all = 0;  // ORed entries: negative when any character is not a symbol
    for (int k = 0; k < G::kChars; ++k) {
      const int v = reverseMap[text[i + k]];
      all |= v;
      bits = (bits << Shift) | uint8_t(v);
    }
    if (all < 0) break;
    // The group's bytes are the top of one word; the rest of the word lands in the slack
    // and is overwritten by the next group or cut off at the end.
    storeBigEndian64(o, bits << (64 - G::kBits));
  }
  written = size_t(o - out);
  return i;
}

}  // namespace

size_t DOZStringEncodingGroups::encode(int shift, const char* alphabet, const DOZStringEncodingTables* tables,
                                       const uint8_t* in, size_t len, char* out, size_t& written) {
  if (shift == 6 && tables) {
    const size_t done = tables->encode(in, len, out + written);
    written += done / 3 * 4;
    return done + encodeGroups<6>(alphabet, in + done, len - done, out + written, written);
  }
  switch (shift) {
    case 1: return encodeGroups<1>(alphabet, in, len, out + written, written);
    case 2: return encodeGroups<2>(alphabet, in, len, out + written, written);
    case 3: return encodeGroups<3>(alphabet, in, len, out + written, written);
    case 4: return encodeGroups<4>(alphabet, in, len, out + written, written);
    case 5: return encodeGroups<5>(alphabet, in, len, out + written, written);
    case 6: return encodeGroups<6>(alphabet, in, len, out + written, written);
    case 7: return encodeGroups<7>(alphabet, in, len, out + written, written);
    default: return 0;
  }
}

size_t DOZStringEncodingGroups::decode(int shift, const int8_t* reverseMap, const DOZStringEncodingTables* tables,
                                       const char* in, size_t len, uint8_t* out, size_t& written) {
  if (shift == 6 && tables) {
    const size_t done = tables->decode(in, len, out, written);
    return done + decodeGroups<6>(reverseMap, in + done, len - done, out, written);
  }
  switch (shift) {
    case 1: return decodeGroups<1>(reverseMap, in, len, out, written);
    case 2: return decodeGroups<2>(reverseMap, in, len, out, written);
    case 3: return decodeGroups<3>(reverseMap, in, len, out, written);
    case 4: return decodeGroups<4>(reverseMap, in, len, out, written);
    case 5: return decodeGroups<5>(reverseMap, in, len, out, written);
    case 6: return decodeGroups<6>(reverseMap, in, len, out, written);
    case 7: return decodeGroups<7>(reverseMap, in, len, out, written);
    default: return 0;
  }
}
