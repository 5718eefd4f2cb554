#pragma once
// GAD_SBJSONPlainRun: finds where a run of string bytes that JSON carries unchanged ends —
// at a quote, a backslash or a control byte 0…31. The reader copies such runs in one go
// and the writer appends them in one go, so this scan is the hot loop of both.
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gad_sbjson_detail {
struct PlainRunTable {
  bool ends[256];
};
constexpr PlainRunTable makePlainRunTable() {
  PlainRunTable t{};
  for (int b = 0; b < 0x20; ++b) t.ends[b] = true;
  t.ends[static_cast<unsigned char>('"')] = true;
  t.ends[static_cast<unsigned char>('\\')] = true;
  return t;
}
inline constexpr PlainRunTable kPlainRunTable = makePlainRunTable();
}  // namespace gad_sbjson_detail

class GAD_SBJSONPlainRun {
 public:
  // Whether a byte ends a plain run; the process-wide table, filled at compile time.
  static bool endsRun(unsigned char byte) { return gad_sbjson_detail::kPlainRunTable.ends[byte]; }

  // The first byte in [p, end) that ends a run, or end.
  static const char* find(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i controlMax = _mm_set1_epi8(0x1f);
    while (end - p >= 16) {
      __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      // byte <= 0x1f (unsigned) exactly when min(byte, 0x1f) == byte.
      __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, controlMax), bytes);
      __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, quote),
                                               _mm_cmpeq_epi8(bytes, backslash)),
                                  control);
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
      if (mask) return p + __builtin_ctz(mask);
      p += 16;
    }
#endif
    while (p < end && !endsRun(static_cast<unsigned char>(*p))) ++p;
    return p;
  }
};
