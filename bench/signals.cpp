// What one enciphered ad signal costs on the main thread (a request token, as every ad request
// makes one), beside its parts done with OpenSSL's plain calls: 12 random bytes, SHA-256 of the
// key and an AES-128-GCM seal of a record-sized text, each with the algorithm looked up per call.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <string>

#include "sdk/signals/GADSignals.h"

namespace {

void BM_RequestSignalText(benchmark::State& state) {
  std::string text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(gad_gmrs(text));
  }
}
BENCHMARK(BM_RequestSignalText);

void BM_OpenSSLRandom12(benchmark::State& state) {
  unsigned char nonce[12];
  for (auto _ : state) {
    benchmark::DoNotOptimize(RAND_bytes(nonce, sizeof nonce));
  }
}
BENCHMARK(BM_OpenSSLRandom12);

void BM_OpenSSLSha256OfAKey(benchmark::State& state) {
  const unsigned char key[16] = {1, 2, 3};
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(EVP_Digest(key, sizeof key, digest, &length, EVP_sha256(), nullptr));
  }
}
BENCHMARK(BM_OpenSSLSha256OfAKey);

void BM_OpenSSLGcmSeal48(benchmark::State& state) {
  const unsigned char key[16] = {1, 2, 3}, nonce[12] = {4, 5, 6};
  unsigned char in[48] = {7}, out[64], tag[16];
  for (auto _ : state) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    int n = 0, last = 0;
    EVP_EncryptInit_ex(ctx, EVP_aes_128_gcm(), nullptr, key, nonce);
    EVP_EncryptUpdate(ctx, out, &n, in, sizeof in);
    EVP_EncryptFinal_ex(ctx, out + n, &last);
    EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_AEAD_GET_TAG, sizeof tag, tag);
    EVP_CIPHER_CTX_free(ctx);
    benchmark::DoNotOptimize(tag);
  }
}
BENCHMARK(BM_OpenSSLGcmSeal48);

}  // namespace

BENCHMARK_MAIN();
