// The JSON reader on arbitrary bytes. The first byte picks the options (fragment or object
// reading, a depth limit of 0, 1, 8 or the default 512, compact or readable writing); the
// rest is the text. Whatever is read must be written back, and that text must read back to
// an equal value and write to the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sdk/encoding/GAD_SBJSON.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  GAD_SBJSON json;
  const bool fragment = options & 1;
  const unsigned depths[] = {512, 0, 1, 8};
  json.setMaxDepth(depths[(options >> 1) & 3]);
  json.setHumanReadable(options & 8);

  pf::Error error("none", 0);
  auto value = json.objectWithStringAllowScalarError(text, fragment, &error);
  if (!value) {
    if (error.domain() != GAD_SBJSONErrorDomain || error.code() < 1 || error.code() > 12) std::abort();
    return 0;
  }
  auto written = json.stringWithObjectAllowScalarError(*value, fragment, &error);
  if (!written) std::abort();
  GAD_SBJSON again;
  again.setMaxDepth(0);  // the written text is as deep as the input was allowed to be
  again.setHumanReadable(json.humanReadable());
  auto reread = again.objectWithStringAllowScalarError(*written, fragment);
  if (!reread || !(*reread == *value)) std::abort();
  auto rewritten = again.stringWithObjectAllowScalarError(*reread, fragment);
  if (!rewritten || *rewritten != *written) std::abort();
  return 0;
}
