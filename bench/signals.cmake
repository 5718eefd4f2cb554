target_link_libraries(bench_signals PRIVATE OpenSSL::Crypto)
