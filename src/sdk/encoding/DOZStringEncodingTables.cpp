#include "sdk/encoding/DOZStringEncodingTables.h"

#include "sdk/encoding/DOZStringEncodingAvx2.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

// The tables store characters and bytes in memory order as little-endian words.
static_assert(std::endian::native == std::endian::little);

namespace {

uint64_t loadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

}  // namespace

DOZStringEncodingTables::DOZStringEncodingTables(std::string_view alphabet,
                                                 const std::array<int8_t, 256>& reverseMap) {
  std::memcpy(alphabet_.data(), alphabet.data(), 64);
  for (int c = 0; c < 128; ++c) reverse_[c] = reverseMap[c] < 0 ? int8_t{-1} : reverseMap[c];
  vectors_ = DOZStringEncodingAvx2::available();
  firstRow_ = 0;
  while (firstRow_ < 7 && std::all_of(&reverse_[16 * firstRow_], &reverse_[16 * firstRow_ + 16],
                                      [](int8_t v) { return v < 0; })) {
    ++firstRow_;
  }
  for (uint32_t v = 0; v < 4096; ++v) {
    pairs_[v] = static_cast<uint16_t>(static_cast<uint8_t>(alphabet[v >> 6]) |
                                      static_cast<uint8_t>(alphabet[v & 63]) << 8);
  }
  for (int c = 0; c < 256; ++c) {
    const int value = reverseMap[c];
    for (int position = 0; position < 4; ++position) {
      if (value < 0) {
        decode_[position][c] = kNotSymbol;
        continue;
      }
      // The group's 24 bits, big-endian, laid out as bytes 0, 1, 2 of a little-endian word.
      const uint32_t bits = static_cast<uint32_t>(value) << (18 - 6 * position);
      decode_[position][c] = (bits >> 16) | (bits & 0xff00) | (bits & 0xff) << 16;
    }
  }
}

std::shared_ptr<const DOZStringEncodingTables> DOZStringEncodingTables::shared(
    std::string_view alphabet, const std::array<int8_t, 256>& reverseMap) {
  // Keyed by the alphabet and the symbol part of the map; held weakly, so tables of
  // alphabets no longer in use are freed (and their entries pruned as new ones come).
  std::string key(alphabet);
  for (int8_t v : reverseMap) key += static_cast<char>(v < 0 ? -1 : v);

  static std::mutex mutex;
  static std::map<std::string, std::weak_ptr<const DOZStringEncodingTables>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto& slot = cache[key];
  if (auto tables = slot.lock()) return tables;
  auto tables = std::make_shared<const DOZStringEncodingTables>(alphabet, reverseMap);
  slot = tables;
  for (auto it = cache.begin(); it != cache.end();) {
    it = it->second.expired() ? cache.erase(it) : std::next(it);
  }
  return tables;
}

size_t DOZStringEncodingTables::encode(const uint8_t* in, size_t len, char* out) const {
  size_t i = 0;
  if (vectors_) i = DOZStringEncodingAvx2::encode(alphabet_.data(), in, len, out);
  char* o = out + i / 3 * 4;
  for (; len - i >= 8; i += 6, o += 8) {
    const uint64_t bits = loadBigEndian64(in + i);  // 6 of the 8 bytes are used
    const uint64_t chars = uint64_t{pairs_[(bits >> 52) & 0xfff]} |
                           uint64_t{pairs_[(bits >> 40) & 0xfff]} << 16 |
                           uint64_t{pairs_[(bits >> 28) & 0xfff]} << 32 |
                           uint64_t{pairs_[(bits >> 16) & 0xfff]} << 48;
    std::memcpy(o, &chars, 8);
  }
  for (; len - i >= 3; i += 3, o += 4) {  // the last groups, one at a time
    const uint32_t bits = uint32_t{in[i]} << 16 | uint32_t{in[i + 1]} << 8 | in[i + 2];
    const uint32_t chars = uint32_t{pairs_[bits >> 12]} | uint32_t{pairs_[bits & 0xfff]} << 16;
    std::memcpy(o, &chars, 4);
  }
  return i;
}

size_t DOZStringEncodingTables::decode(const char* in, size_t len, uint8_t* out, size_t& written) const {
  const auto* t = reinterpret_cast<const uint8_t*>(in);
  size_t i = 0;
  uint8_t* o = out + written;
  if (vectors_) {
    i = DOZStringEncodingAvx2::decode(reverse_.data(), firstRow_, in, len, o);
    o += i / 4 * 3;
  }
  for (; len - i >= 8; i += 8, o += 6) {
    const uint32_t first = decode_[0][t[i]] | decode_[1][t[i + 1]] | decode_[2][t[i + 2]] | decode_[3][t[i + 3]];
    const uint32_t second = decode_[0][t[i + 4]] | decode_[1][t[i + 5]] | decode_[2][t[i + 6]] | decode_[3][t[i + 7]];
    if ((first | second) >= kNotSymbol) break;
    std::memcpy(o, &first, 4);  // the fourth byte is overwritten by the next group
    std::memcpy(o + 3, &second, 4);
  }
  written = static_cast<size_t>(o - out);
  return i;
}
