# Peers for bench_json only: RapidJSON and nlohmann-json are header-only, simdjson is linked.
find_package(simdjson REQUIRED)
find_package(nlohmann_json REQUIRED)
target_link_libraries(bench_json PRIVATE simdjson::simdjson nlohmann_json::nlohmann_json)
