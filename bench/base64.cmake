# The OpenSSL EVP base64 calls are the peer measured beside ours.
target_link_libraries(bench_base64 PRIVATE OpenSSL::Crypto)
