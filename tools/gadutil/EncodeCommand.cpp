// gadutil encode <name> [--no-pad] / gadutil decode <name>: the ad layer's base-N encodings on
// standard input, for looking at (or making) encoded values seen in ad traffic.
//
//   printf 'abcd' | gadutil encode base64url --no-pad     → YWJjZA
//   echo YWJjZA== | gadutil decode base64                  → abcd
#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

const char* const kNames = "binary, hex, base32, base32hex, crockford, base64, base64url";

std::optional<GAD_DOZStringEncoding> encodingNamed(const std::string& name) {
  if (name == "binary") return GAD_DOZStringEncoding::binaryStringEncoding();
  if (name == "hex") return GAD_DOZStringEncoding::hexStringEncoding();
  if (name == "base32") return GAD_DOZStringEncoding::rfc4648Base32StringEncoding();
  if (name == "base32hex") return GAD_DOZStringEncoding::rfc4648Base32HexStringEncoding();
  if (name == "crockford") return GAD_DOZStringEncoding::crockfordBase32StringEncoding();
  if (name == "base64") return GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  if (name == "base64url") return GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
  return std::nullopt;
}

std::string readStandardInput() {
  std::ios::sync_with_stdio(false);
  return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

void writeStandardOutput(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

// Usage mistakes go to standard error with status 2, like an unknown command.
int usageError(const std::string& message, const char* usage) {
  std::fprintf(stderr, "gadutil: %s\nusage: gadutil %s\nencodings: %s\n", message.c_str(), usage, kNames);
  return 2;
}

constexpr const char* kEncodeUsage = "encode <encoding> [--no-pad]";
constexpr const char* kDecodeUsage = "decode <encoding>";

int runEncode(const std::vector<std::string>& args) {
  bool pad = true;
  std::optional<std::string> name;
  for (const auto& arg : args) {
    if (arg == "--no-pad") {
      pad = false;
    } else if (!name && arg.rfind("--", 0) != 0) {
      name = arg;
    } else {
      return usageError("unexpected argument '" + arg + "'", kEncodeUsage);
    }
  }
  if (!name) return usageError("no encoding named", kEncodeUsage);
  auto encoding = encodingNamed(*name);
  if (!encoding) return usageError("unknown encoding '" + *name + "'", kEncodeUsage);
  if (!pad) encoding->setDoPad(false);
  writeStandardOutput(encoding->encode(readStandardInput()) + "\n");
  return 0;
}

int runDecode(const std::vector<std::string>& args) {
  if (args.size() != 1) return usageError("expected one encoding name", kDecodeUsage);
  auto encoding = encodingNamed(args[0]);
  if (!encoding) return usageError("unknown encoding '" + args[0] + "'", kDecodeUsage);
  std::string text = readStandardInput();
  if (!text.empty() && text.back() == '\n') text.pop_back();  // the line feed of `echo`
  auto bytes = encoding->decode(text);
  if (!bytes) {
    writeStandardOutput("error: cannot decode\n");
    return 1;
  }
  writeStandardOutput(*bytes);
  return 0;
}

GadutilCommand encodeCommand("encode", kEncodeUsage, runEncode);
GadutilCommand decodeCommand("decode", kDecodeUsage, runDecode);

}  // namespace
