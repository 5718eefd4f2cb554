// Base64 encoding and decoding: GAD_DOZStringEncoding against OpenSSL's EVP_EncodeBlock /
// EVP_DecodeBlock, on 1 MiB and on 48 bytes (a typical short value), with memcpy of 1 MiB as
// the ceiling. encode()/decode() return a new string each call; encodeTo()/decodeTo() reuse
// one, as the EVP calls reuse their buffer. The bit loop (the reference the fast paths are
// held to) is shown too.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

constexpr size_t kLarge = 1 << 20;
constexpr size_t kSmall = 48;

std::string randomBytes(size_t n) {
  std::mt19937 rng(1);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng() & 0xff);
  return s;
}

void ours_encode(benchmark::State& state) {
  const auto bytes = randomBytes(state.range(0));
  const auto enc = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  for (auto _ : state) {
    auto text = enc.encode(bytes);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

// The same with the result's storage reused (encodeTo), as the EVP call reuses its buffer.
void ours_encode_to(benchmark::State& state) {
  const auto bytes = randomBytes(state.range(0));
  const auto enc = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  std::string text;
  for (auto _ : state) {
    enc.encodeTo(bytes, text);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void ours_encode_bitloop(benchmark::State& state) {
  const auto bytes = randomBytes(state.range(0));
  const auto enc = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  for (auto _ : state) {
    auto text = enc.encodeWithBitLoop(bytes);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void evp_encode(benchmark::State& state) {
  const auto bytes = randomBytes(state.range(0));
  std::vector<unsigned char> out(4 * ((bytes.size() + 2) / 3) + 1);
  for (auto _ : state) {
    int n = EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()));
    benchmark::DoNotOptimize(n);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void ours_decode(benchmark::State& state) {
  const auto enc = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  const auto text = enc.encode(randomBytes(state.range(0)));
  for (auto _ : state) {
    auto bytes = enc.decode(text);
    benchmark::DoNotOptimize(bytes->data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void ours_decode_to(benchmark::State& state) {
  const auto enc = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  const auto text = enc.encode(randomBytes(state.range(0)));
  std::string bytes;
  for (auto _ : state) {
    benchmark::DoNotOptimize(enc.decodeTo(text, bytes));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void ours_decode_bitloop(benchmark::State& state) {
  const auto enc = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  const auto text = enc.encode(randomBytes(state.range(0)));
  for (auto _ : state) {
    auto bytes = enc.decodeWithBitLoop(text);
    benchmark::DoNotOptimize(bytes->data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void evp_decode(benchmark::State& state) {
  const auto text = GAD_DOZStringEncoding::rfc4648Base64StringEncoding().encode(randomBytes(state.range(0)));
  std::vector<unsigned char> out(text.size() / 4 * 3 + 3);
  for (auto _ : state) {
    int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                            static_cast<int>(text.size()));
    benchmark::DoNotOptimize(n);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void memcpy_ceiling(benchmark::State& state) {
  const auto bytes = randomBytes(state.range(0));
  std::string out(bytes.size(), '\0');
  for (auto _ : state) {
    std::memcpy(out.data(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(ours_encode)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(ours_encode_to)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(evp_encode)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(ours_encode_bitloop)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(ours_decode)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(ours_decode_to)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(evp_decode)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(ours_decode_bitloop)->Arg(kLarge)->Arg(kSmall);
BENCHMARK(memcpy_ceiling)->Arg(kLarge);

BENCHMARK_MAIN();
