# The ad layer's CPU per load on the sim backend.
target_link_libraries(bench_ad_cpu PRIVATE pf_sim pf_ui)
