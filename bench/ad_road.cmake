# The banner road on the desktop against the raw WebKitGTK + libsoup pipeline, on the sandbox.
target_link_libraries(bench_ad_road PRIVATE pf_gtk pf_ui pf_net pf_base PkgConfig::GTK PkgConfig::WEBKIT PkgConfig::SOUP)
target_compile_definitions(bench_ad_road PRIVATE ASHENMOOR_SANDBOX_BIN="$<TARGET_FILE:ashenmoor-sandbox>")
add_dependencies(bench_ad_road ashenmoor-sandbox)
